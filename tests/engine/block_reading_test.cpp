#include "engine/block_reading.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace corvane {
namespace {

using testing::TempFolder;

constexpr size_t kBlock = 64 * 1024;
constexpr size_t kPiece = 16 * 1024;

std::string PatternBytes(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 131 + i / 4093);
    return bytes;
}

// What FeedFileBlocks handed over: the bytes, the size of every piece, the number of stop tests and how the
// reading ended.
struct Reading {
    std::string bytes;
    std::vector<size_t> pieces;
    int stopTests = 0;
    FeedEnd end = FeedEnd::ReadError;
};

// Reads the file from its start; after every piece, afterPiece may change the world (set the stop, cut the
// file).
Reading ReadAll(const std::string& path, size_t block, size_t piece, const std::function<bool()>& stop,
                const std::function<void(const Reading&)>& afterPiece = {}) {
    Reading reading;
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    EXPECT_GE(fd, 0) << path;
    std::vector<unsigned char> buffer(std::min(block, piece));
    reading.end = FeedFileBlocks(
        fd, buffer.data(), block, piece,
        [&] {
            ++reading.stopTests;
            return stop();
        },
        [&](const unsigned char* data, size_t n) {
            EXPECT_EQ(data, buffer.data());
            reading.bytes.append(reinterpret_cast<const char*>(data), n);
            reading.pieces.push_back(n);
            if (afterPiece) afterPiece(reading);
        });
    close(fd);
    return reading;
}

// A piece never crosses into the next block, so the stop test falls exactly between blocks.
TEST(FeedFileBlocksTest, PiecesFillEachBlockExactly) {
    TempFolder folder;
    std::string content = PatternBytes(25 * 1024);
    std::string file = folder.Write("f", content);
    Reading reading = ReadAll(file, 10 * 1024, 4 * 1024, [] { return false; });
    EXPECT_EQ(reading.bytes, content);
    const std::vector<size_t> expected = {4096, 4096, 2048, 4096, 4096, 2048, 4096, 1024};
    EXPECT_EQ(reading.pieces, expected);
    EXPECT_EQ(reading.stopTests, 3);
    EXPECT_EQ(reading.end, FeedEnd::EndOfFile);
}

// A stop requested while a block is being read ends the file when that block is done: never later, and the
// block is never cut short, since the stop is tested only between blocks.
class StopBetweenPiecesTest : public ::testing::TestWithParam<size_t> {};

TEST_P(StopBetweenPiecesTest, EndsTheFileAfterThatBlock) {
    TempFolder folder;
    std::string content = PatternBytes(3 * kBlock + 5);
    std::string file = folder.Write("f", content);
    bool stop = false;
    size_t stopAfter = GetParam();
    Reading reading = ReadAll(
        file, kBlock, kPiece, [&] { return stop; },
        [&](const Reading& r) {
            if (r.pieces.size() == stopAfter) stop = true;
        });
    EXPECT_EQ(reading.bytes, content.substr(0, kBlock));
    EXPECT_EQ(reading.stopTests, 2);
    EXPECT_EQ(reading.end, FeedEnd::Stopped);
}

INSTANTIATE_TEST_SUITE_P(PieceOfTheFirstBlock, StopBetweenPiecesTest, ::testing::Values(1, 2, 3, 4));

TEST(FeedFileBlocksTest, FileCutBetweenPiecesEndsAtItsNewEnd) {
    TempFolder folder;
    std::string content = PatternBytes(3 * kBlock);
    std::string file = folder.Write("f", content);
    size_t cut = kPiece + kPiece / 2;
    Reading reading = ReadAll(
        file, kBlock, kPiece, [] { return false; },
        [&](const Reading& r) {
            if (r.pieces.size() == 1) {
                ASSERT_EQ(truncate(file.c_str(), static_cast<off_t>(cut)), 0);
            }
        });
    EXPECT_EQ(reading.bytes, content.substr(0, cut));
    EXPECT_EQ(reading.end, FeedEnd::EndOfFile);
}

// A read that fails ends the reading and is reported as a read error, after the bytes delivered before it.
// /proc/self/mem read from a mapped page into an unmapped one delivers the mapped bytes, then fails with EIO.
TEST(FeedFileBlocksTest, ReadErrorMidFileIsReportedAfterTheBytesReadBefore) {
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    auto* memory = static_cast<unsigned char*>(
        mmap(nullptr, 3 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(memory, MAP_FAILED);
    ASSERT_EQ(munmap(memory + 2 * page, page), 0);
    std::string mapped = PatternBytes(2 * page);
    std::memcpy(memory, mapped.data(), mapped.size());

    int fd = open("/proc/self/mem", O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(lseek(fd, static_cast<off_t>(reinterpret_cast<uintptr_t>(memory) + 100), SEEK_SET),
              static_cast<off_t>(reinterpret_cast<uintptr_t>(memory) + 100));
    std::vector<unsigned char> buffer(kPiece);
    std::string bytes;
    int stopTests = 0;
    FeedEnd end = FeedFileBlocks(
        fd, buffer.data(), kBlock, kPiece,
        [&] {
            ++stopTests;
            return false;
        },
        [&](const unsigned char* data, size_t n) { bytes.append(reinterpret_cast<const char*>(data), n); });
    close(fd);
    munmap(memory, 2 * page);
    EXPECT_EQ(bytes, mapped.substr(100));
    EXPECT_EQ(stopTests, 1);
    EXPECT_EQ(end, FeedEnd::ReadError);
}

}  // namespace
}  // namespace corvane
