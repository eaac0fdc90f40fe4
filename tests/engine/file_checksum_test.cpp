#include "engine/file_checksum.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <map>
#include <optional>
#include <random>
#include <vector>

#include "engine/block_reading.h"
#include "engine/run_state.h"
#include "engine_fixture.h"
#include "support/read_faults.h"

namespace corvane {
namespace {

using testing::TempFolder;

constexpr const char* kAlgorithms[] = {"MD5", "SHA1", "SHA256", "SHA512", "CRC32"};

struct Vector {
    const char* algorithm;
    const char* abc;
    const char* empty;
};

const Vector kVectors[] = {
    {"MD5", "900150983cd24fb0d6963f7d28e17f72", "d41d8cd98f00b204e9800998ecf8427e"},
    {"SHA1", "a9993e364706816aba3e25717850c26c9cd0d89d", "da39a3ee5e6b4b0d3255bfef95601890afd80709"},
    {"SHA256", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad",
     "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
    {"SHA512",
     "ddaf35a193617abacc417349ae20413112e6fa4e89a97ea20a9eeee64b55d39a2192992a274fc1a836ba3c23a3feebbd454d442"
     "3643ce80e2a9"
     "ac94fa54ca49f",
     "cf83e1357eefb8bdf1542850d66d8007d620e4050b5715dc83f4a921d36ce9ce47d0d13c5d85f2b0ff8318d2877eec2f63b931b"
     "d47417a81a5"
     "38327af927da3e"},
    {"CRC32", "352441c2", "00000000"},
};

// The checksum column's text for the file, with the algorithm's name read as a run reads the list's choice.
std::string ChecksumOf(const std::string& path, const std::string& algorithm,
                       const std::function<bool()>& shouldStop) {
    return ChecksumText(ComputeChecksum(path, ParseChecksumAlgorithm(algorithm), shouldStop));
}

std::string ChecksumOf(const std::string& path, const std::string& algorithm) {
    return ChecksumText(ComputeChecksum(path, ParseChecksumAlgorithm(algorithm)));
}

std::string RandomBytes(size_t size, unsigned seed) {
    std::mt19937 generator(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(generator());
    return bytes;
}

// The first word a command prints for the file.
std::string ToolDigest(const std::string& command) {
    std::array<char, 256> line{};
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return {};
    std::string out = fgets(line.data(), line.size(), pipe) ? line.data() : "";
    pclose(pipe);
    return out.substr(0, out.find_first_of(" \n"));
}

std::string ZlibCrc(const std::string& bytes) {
    char text[9];
    snprintf(text, sizeof text, "%08lx",
             crc32_z(0, reinterpret_cast<const Bytef*>(bytes.data()), bytes.size()));
    return text;
}

TEST(ComputeChecksumTest, KnownVectors) {
    TempFolder folder;
    std::string abc = folder.Write("abc", "abc");
    std::string empty = folder.Write("empty", "");
    for (const Vector& v : kVectors) {
        EXPECT_EQ(ChecksumOf(abc, v.algorithm), v.abc) << v.algorithm;
        EXPECT_EQ(ChecksumOf(empty, v.algorithm), v.empty) << v.algorithm;
    }
}

// Over 10 MiB the file is read in 8 MiB blocks; the result must be that of the whole content.
TEST(ComputeChecksumTest, LargeFileMatchesTheStandardTools) {
    TempFolder folder;
    std::string content = RandomBytes(10 * 1024 * 1024 + 12345, 7);
    std::string file = folder.Write("large.bin", content);
    EXPECT_EQ(ChecksumOf(file, "SHA256"), ToolDigest("sha256sum '" + file + "'"));
    EXPECT_EQ(ChecksumOf(file, "MD5"), ToolDigest("openssl dgst -md5 -r '" + file + "'"));
    EXPECT_EQ(ChecksumOf(file, "SHA1"), ToolDigest("openssl dgst -sha1 -r '" + file + "'"));
    EXPECT_EQ(ChecksumOf(file, "SHA512"), ToolDigest("openssl dgst -sha512 -r '" + file + "'"));
    EXPECT_EQ(ChecksumOf(file, "CRC32"), ZlibCrc(content));
}

// The digests of coreutils and zlib's crc32 over the same file.
std::map<std::string, std::string> ReferenceSums(const std::string& file, const std::string& content) {
    return {{"MD5", ToolDigest("md5sum '" + file + "'")},
            {"SHA1", ToolDigest("sha1sum '" + file + "'")},
            {"SHA256", ToolDigest("sha256sum '" + file + "'")},
            {"SHA512", ToolDigest("sha512sum '" + file + "'")},
            {"CRC32", ZlibCrc(content)}};
}

struct BoundaryCase {
    const char* name;
    size_t size;
};

constexpr size_t kMiB = 1024 * 1024;
constexpr size_t kPiece = kReadPieceSize;

// Blocks (1 MiB up to 10 MiB, 8 MiB above) and the pieces they are read in chain like one pass over the
// bytes, whatever boundary the file ends on.
class BoundaryTest : public ::testing::TestWithParam<BoundaryCase> {};

TEST_P(BoundaryTest, DigestsMatchCoreutilsAndZlib) {
    TempFolder folder;
    std::string content = RandomBytes(GetParam().size, static_cast<unsigned>(GetParam().size));
    std::string file = folder.Write("f.bin", content);
    for (const auto& [algorithm, expected] : ReferenceSums(file, content)) {
        ASSERT_FALSE(expected.empty()) << algorithm;
        EXPECT_EQ(ChecksumOf(file, algorithm), expected) << algorithm;
    }
}

const BoundaryCase kBoundaries[] = {
    {"one_byte", 1},
    {"piece_less_one", kPiece - 1},
    {"one_piece", kPiece},
    {"piece_and_one", kPiece + 1},
    {"block_less_one", kMiB - 1},
    {"one_block", kMiB},
    {"block_and_one", kMiB + 1},
    {"three_blocks_and_one", 3 * kMiB + 1},
    {"three_blocks_and_a_piece", 3 * kMiB + kPiece},
    {"largest_with_1_MiB_blocks", 10 * kMiB},
    {"smallest_with_8_MiB_blocks", 10 * kMiB + 1},
    {"two_8_MiB_blocks", 16 * kMiB},
    {"two_8_MiB_blocks_a_piece_and_one", 16 * kMiB + kPiece + 1},
};

INSTANTIATE_TEST_SUITE_P(Sizes, BoundaryTest, ::testing::ValuesIn(kBoundaries),
                         [](const auto& paramInfo) { return std::string(paramInfo.param.name); });

// zlib's crc32 of a file of zeros with the given bytes written at their offsets (in order, apart).
std::string ZlibCrcOfSparse(int64_t size, const std::vector<std::pair<int64_t, std::string>>& writes) {
    static const std::vector<unsigned char> zeros(8 * kMiB);
    uLong crc = crc32_z(0, nullptr, 0);
    auto addZeros = [&](int64_t count) {
        for (; count > 0; count -= static_cast<int64_t>(zeros.size()))
            crc = crc32_z(crc, zeros.data(),
                          static_cast<size_t>(std::min(count, static_cast<int64_t>(zeros.size()))));
    };
    int64_t at = 0;
    for (const auto& [offset, bytes] : writes) {
        addZeros(offset - at);
        crc = crc32_z(crc, reinterpret_cast<const Bytef*>(bytes.data()), bytes.size());
        at = offset + static_cast<int64_t>(bytes.size());
    }
    addZeros(size - at);
    char text[9];
    snprintf(text, sizeof text, "%08lx", crc);
    return text;
}

struct SparseCase {
    const char* name;
    int64_t size;
    bool sha256sum;  // coreutils takes 16 s for 4 GiB here, so the largest file is checked by zlib only
};

// Sparse files large enough for 16 and 32 MiB blocks, with bytes written across the block and piece
// boundaries and at the end, so that a lost or doubled piece changes the sums.
class LargeSparseFileTest : public ::testing::TestWithParam<SparseCase> {};

TEST_P(LargeSparseFileTest, MatchesZlibAndSha256sum) {
    // tmpfs reads a hole without filling the page cache: 4 GiB in half a second instead of ten. /dev/shm
    // may be missing or closed to this user, so the temporary directory stands in when no folder can be made.
    std::optional<TempFolder> folder;
    folder.emplace("/dev/shm");
    if (folder->path().empty()) folder.emplace(std::filesystem::temp_directory_path());
    ASSERT_FALSE(folder->path().empty());
    std::string file = folder->path() + "/sparse.bin";
    int64_t size = GetParam().size;
    auto block = static_cast<int64_t>(ChecksumBlockSize(size));
    int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, size), 0);
    // 64 bytes around each boundary; the last ones end the file.
    std::vector<std::pair<int64_t, std::string>> writes;
    for (int64_t at : {block, 2 * block + static_cast<int64_t>(kPiece), 3 * block - 1, size - 32}) {
        writes.emplace_back(at - 32, RandomBytes(64, static_cast<unsigned>(at)));
        ASSERT_EQ(pwrite(fd, writes.back().second.data(), 64, at - 32), 64) << at;
    }
    close(fd);
    EXPECT_EQ(ChecksumOf(file, "CRC32"), ZlibCrcOfSparse(size, writes));
    if (GetParam().sha256sum) {
        EXPECT_EQ(ChecksumOf(file, "SHA256"), ToolDigest("sha256sum '" + file + "'"));
    }
}

INSTANTIATE_TEST_SUITE_P(Blocks, LargeSparseFileTest,
                         ::testing::Values(SparseCase{"of_16_MiB", 524'288'001, true},
                                           SparseCase{"of_32_MiB_over_4_GiB", (int64_t{4} << 30) + 1, false}),
                         [](const auto& paramInfo) { return std::string(paramInfo.param.name); });

TEST(ComputeChecksumTest, LengthsAndLowerCase) {
    TempFolder folder;
    std::string file = folder.Write("data", RandomBytes(1000, 3));
    const std::pair<const char*, size_t> lengths[] = {
        {"MD5", 32}, {"SHA1", 40}, {"SHA256", 64}, {"SHA512", 128}, {"CRC32", 8}};
    for (const auto& [algorithm, length] : lengths) {
        std::string sum = ChecksumOf(file, algorithm);
        EXPECT_EQ(sum.size(), length) << algorithm;
        EXPECT_EQ(sum.find_first_not_of("0123456789abcdef"), std::string::npos) << sum;
    }
}

TEST(ChecksumBlockSizeTest, BoundariesAreInclusive) {
    const std::pair<int64_t, size_t> cases[] = {
        {0, 1 * kMiB},
        {10'485'760, 1 * kMiB},
        {10'485'761, 8 * kMiB},
        {524'288'000, 8 * kMiB},
        {524'288'001, 16 * kMiB},
        {2'147'483'648, 16 * kMiB},
        {2'147'483'649, 32 * kMiB},
        {int64_t{1} << 40, 32 * kMiB},
    };
    for (const auto& [size, block] : cases) EXPECT_EQ(ChecksumBlockSize(size), block) << size;
}

struct ErrorCase {
    const char* name;
    std::string path;
    const char* algorithm;
    const char* expected;
};

// Each step's failure decides the text in step order: examine, open, buffer, algorithm name.
TEST(ComputeChecksumTest, ErrorTextsAndTheirPrecedence) {
    TempFolder folder;
    std::string file = folder.Write("file.txt", "content");
    std::string missing = folder.path() + "/missing";
    std::string fifo = folder.path() + "/fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::string dirLink = folder.path() + "/dir-link";
    ASSERT_EQ(symlink(folder.path().c_str(), dirLink.c_str()), 0);
    std::string dangling = folder.path() + "/dangling";
    ASSERT_EQ(symlink(missing.c_str(), dangling.c_str()), 0);

    const ErrorCase cases[] = {
        {"missing file", missing, "MD5", kFileNotFoundError},
        {"empty path", "", "MD5", kFileNotFoundError},
        {"file used as a folder", file + "/x", "MD5", kFileNotFoundError},
        {"dangling link", dangling, "MD5", kFileNotFoundError},
        {"missing file, unknown name", missing, "sha256", kFileNotFoundError},
        {"folder", folder.path(), "MD5", kCannotOpenError},
        {"link to a folder", dirLink, "SHA256", kCannotOpenError},
        {"pipe", fifo, "MD5", kCannotOpenError},
        {"folder, unknown name", folder.path(), "SHA-256", kCannotOpenError},
        {"lower-case name", file, "sha256", kUnsupportedAlgorithmError},
        {"dashed name", file, "SHA-256", kUnsupportedAlgorithmError},
        {"empty name", file, "", kUnsupportedAlgorithmError},
    };
    for (const ErrorCase& c : cases) EXPECT_EQ(ChecksumOf(c.path, c.algorithm), c.expected) << c.name;
}

// Opening a pipe would wake a writer blocked in its own open (which then dies of SIGPIPE), and opening a
// device node may act on the device: neither is opened, also through a link. The file system's notice of
// every open of the pipe shows whether it was opened.
TEST(ComputeChecksumTest, NonRegularFileIsNeverOpened) {
    TempFolder folder;
    std::string fifo = folder.path() + "/fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::string link = folder.path() + "/link-to-fifo";
    ASSERT_EQ(symlink(fifo.c_str(), link.c_str()), 0);
    int notices = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(notices, 0);
    ASSERT_GE(inotify_add_watch(notices, fifo.c_str(), IN_OPEN), 0);
    for (const std::string& path : {fifo, link}) {
        EXPECT_EQ(ChecksumOf(path, "MD5"), kCannotOpenError) << path;
        alignas(inotify_event) char buffer[4096];
        EXPECT_LT(read(notices, buffer, sizeof buffer), 0) << path << " was opened";
    }
    close(notices);
}

TEST(ComputeChecksumTest, WithoutPermission) {
    if (geteuid() == 0) GTEST_SKIP() << "root reads and searches anything";
    TempFolder folder;
    std::string file = folder.Write("secret", "content");
    ASSERT_EQ(chmod(file.c_str(), 0), 0);
    EXPECT_EQ(ChecksumOf(file, "MD5"), kCannotOpenError);
    std::string inner = folder.Write("closed/inner", "content");
    ASSERT_EQ(chmod((folder.path() + "/closed").c_str(), 0), 0);
    EXPECT_EQ(ChecksumOf(inner, "MD5"), kFileNotFoundError);
    chmod((folder.path() + "/closed").c_str(), 0700);
}

TEST(ComputeChecksumTest, SymbolicLinkIsHashedAsItsTarget) {
    TempFolder folder;
    std::string file = folder.Write("target", "abc");
    std::string link = folder.path() + "/link";
    ASSERT_EQ(symlink(file.c_str(), link.c_str()), 0);
    for (const char* algorithm : kAlgorithms) {
        EXPECT_EQ(ChecksumOf(link, algorithm), ChecksumOf(file, algorithm)) << algorithm;
    }
}

// The stop is asked before every block; a stop ends the reading as the end of the file would.
TEST(ComputeChecksumTest, StopIsTestedBeforeEveryBlock) {
    TempFolder folder;
    constexpr size_t kBlock = 1024 * 1024;
    std::string content = RandomBytes(3 * kBlock + 1, 11);
    std::string file = folder.Write("blocks", content);
    std::string firstBlock = folder.Write("first", content.substr(0, kBlock));

    int tests = 0;
    std::string whole = ChecksumOf(file, "SHA256", [&] { return ++tests > 99; });
    EXPECT_EQ(whole, ChecksumOf(file, "SHA256", [] { return false; }));
    EXPECT_GE(tests, 4);  // one before each of the four blocks

    tests = 0;
    EXPECT_EQ(ChecksumOf(file, "SHA256", [&] { return ++tests > 1; }), ChecksumOf(firstBlock, "SHA256"));
    EXPECT_EQ(tests, 2);
    tests = 0;
    EXPECT_EQ(ChecksumOf(file, "CRC32", [&] { return ++tests > 1; }), ZlibCrc(content.substr(0, kBlock)));
}

struct ChangeCase {
    const char* name;
    size_t before;  // bytes when the size is asked
    size_t after;   // bytes once the reading has begun
};

// A file that grows or shrinks after its size was asked is hashed as read, up to its end at the time of
// reading, still in the blocks chosen from the first size.
class ChangingFileTest : public ::testing::TestWithParam<ChangeCase> {};

TEST_P(ChangingFileTest, IsHashedAsRead) {
    TempFolder folder;
    const ChangeCase& c = GetParam();
    std::string content = RandomBytes(std::max(c.before, c.after), 17);
    std::string file = folder.Write("changing", content.substr(0, c.before));
    std::string read = content.substr(0, c.after);
    std::string asRead = folder.Write("as-read", read);
    for (const char* algorithm : {"SHA256", "CRC32"}) {
        folder.Write("changing", content.substr(0, c.before));
        int tests = 0;
        // The first stop test comes after the size test and the open, before the first block.
        std::string sum = ChecksumOf(file, algorithm, [&] {
            if (++tests == 1) folder.Write("changing", read);
            return false;
        });
        EXPECT_EQ(sum, ChecksumOf(asRead, algorithm)) << algorithm;
        EXPECT_EQ(tests, static_cast<int>(c.after / kMiB) + 1) << algorithm << ": one test per 1 MiB block";
    }
}

INSTANTIATE_TEST_SUITE_P(Files, ChangingFileTest,
                         ::testing::Values(ChangeCase{"grows", 10 * kMiB, 15 * kMiB + 3},
                                           ChangeCase{"shrinks", 3 * kMiB + 1, kMiB + kPiece + 7},
                                           ChangeCase{"empties", 2 * kMiB, 0}),
                         [](const auto& paramInfo) { return std::string(paramInfo.param.name); });

struct ReadFaultCase {
    const char* name;
    size_t size;
    int64_t failAt;  // the offset from which reads fail
};

void PrintTo(const ReadFaultCase& c, std::ostream* os) {
    *os << c.name;
}

// A read that fails after the open (a failing disk, a stick pulled out) is an error, never the checksum of
// the bytes read before it, which would pass for the file's. A read that crosses the failing offset
// delivers the bytes before it first, as a failing disk does.
class ReadErrorTest : public ::testing::TestWithParam<ReadFaultCase> {
  protected:
    void TearDown() override { testing::StopFailingReads(); }
};

TEST_P(ReadErrorTest, IsAnErrorTextWithEveryAlgorithm) {
    const ReadFaultCase& c = GetParam();
    TempFolder folder;
    std::string file = folder.Write("failing", RandomBytes(c.size, 29));
    for (const char* algorithm : kAlgorithms) {
        ASSERT_TRUE(testing::FailReadsOf(file, c.failAt, EIO));
        EXPECT_EQ(ChecksumOf(file, algorithm), kReadError) << algorithm;
        EXPECT_EQ(testing::FailedReads(), 1) << algorithm << ": the failed read is not repeated";
    }
}

INSTANTIATE_TEST_SUITE_P(Offsets, ReadErrorTest,
                         ::testing::Values(ReadFaultCase{"at_the_first_byte", 3'000'000, 0},
                                           ReadFaultCase{"after_1_MiB", 3'000'000, 1 << 20},
                                           ReadFaultCase{"inside_a_piece", 3'000'000, (1 << 20) + 1000},
                                           ReadFaultCase{"at_the_last_byte", 3'000'000, 2'999'999},
                                           ReadFaultCase{"in_a_file_read_ahead", 12 * kMiB, 9 * kMiB + 7}),
                         [](const auto& paramInfo) { return std::string(paramInfo.param.name); });

// The kernel's own refusal: /proc/self/mem is a regular file whose first bytes (the unmapped page at
// address 0) cannot be read.
TEST(ComputeChecksumTest, FileTheKernelCannotReadIsAnError) {
    for (const char* algorithm : kAlgorithms) {
        EXPECT_EQ(ChecksumOf("/proc/self/mem", algorithm), kReadError) << algorithm;
    }
}

// A read interrupted by a signal is made again: the file is hashed whole.
TEST(ComputeChecksumTest, InterruptedReadIsRepeated) {
    TempFolder folder;
    std::string content = RandomBytes(3'000'000, 31);
    std::string file = folder.Write("interrupted", content);
    std::string whole = folder.Write("whole", content);
    for (const char* algorithm : kAlgorithms) {
        ASSERT_TRUE(testing::FailReadsOf(file, kMiB + 5, EINTR, 3));
        EXPECT_EQ(ChecksumOf(file, algorithm), ChecksumOf(whole, algorithm)) << algorithm;
        EXPECT_EQ(testing::FailedReads(), 3) << algorithm;
    }
    testing::StopFailingReads();
}

// Above 10 MiB the file is also read ahead from a second thread; a stop still ends the file after the
// block, and the call returns.
TEST(ComputeChecksumTest, StopEndsAFileThatIsReadAhead) {
    TempFolder folder;
    std::string content = RandomBytes(10 * kMiB + 1, 23);
    std::string file = folder.Write("large", content);
    std::string firstBlock = folder.Write("first", content.substr(0, 8 * kMiB));
    for (const char* algorithm : {"SHA256", "CRC32"}) {
        int tests = 0;
        EXPECT_EQ(ChecksumOf(file, algorithm, [&] { return ++tests > 1; }), ChecksumOf(firstBlock, algorithm))
            << algorithm;
    }
}

TEST(ComputeChecksumTest, AbortRequestedStopsBeforeTheFirstBlock) {
    TempFolder folder;
    std::string file = folder.Write("abc", "abc");
    AbortRequested = true;
    EXPECT_EQ(ChecksumOf(file, "MD5"), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(ChecksumOf(file, "CRC32"), "00000000");
    AbortRequested = false;
    EXPECT_EQ(ChecksumOf(file, "CRC32"), "352441c2");
}

}  // namespace
}  // namespace corvane
