#include "platform/digest.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <string>
#include <vector>

namespace corvane::platform {
namespace {

uint32_t Zlib(const unsigned char* data, size_t size) {
    return static_cast<uint32_t>(crc32_z(0, data, size));
}

TEST(Crc32Test, KnownValues) {
    const std::pair<std::string, uint32_t> cases[] = {
        {"", 0x00000000},
        {"a", 0xe8b7be43},
        {"abc", 0x352441c2},
        {"123456789", 0xcbf43926},
        {"The quick brown fox jumps over the lazy dog", 0x414fa339},
        {std::string(32, '\0'), 0x190a55ad},
        {std::string(32, '\xff'), 0xff6cab0b},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(Crc32(0, text.data(), text.size()), expected) << text;
}

std::vector<unsigned char> RandomBytes(size_t size) {
    std::mt19937 generator(99);
    std::vector<unsigned char> bytes(size);
    for (auto& b : bytes) b = static_cast<unsigned char>(generator());
    return bytes;
}

// Carry-less-multiply code takes separate paths for short inputs, unaligned starts and the tail of its wide
// strides: every length up to 2 KiB, from every start within 64 bytes, equals zlib.
TEST(Crc32Test, EqualsZlibForEveryLengthAndStart) {
    std::vector<unsigned char> bytes = RandomBytes(2048 + 64);
    for (size_t start = 0; start < 64; ++start) {
        for (size_t length = 0; length <= 2048; ++length) {
            ASSERT_EQ(Crc32(0, &bytes[start], length), Zlib(&bytes[start], length))
                << "start " << start << ", length " << length;
        }
    }
}

// Chained over any split, the value is that of one call over the whole, as zlib's.
TEST(Crc32Test, ChainsOverEverySplit) {
    std::vector<unsigned char> bytes = RandomBytes(1 << 20);
    uint32_t whole = Zlib(bytes.data(), bytes.size());
    for (size_t split : {size_t{0}, size_t{1}, size_t{15}, size_t{16}, size_t{255}, size_t{4096},
                         size_t{(1 << 20) - 1}, size_t{1 << 20}}) {
        uint32_t first = Crc32(0, bytes.data(), split);
        EXPECT_EQ(first, Zlib(bytes.data(), split)) << split;
        EXPECT_EQ(Crc32(first, bytes.data() + split, bytes.size() - split), whole) << split;
    }
}

}  // namespace
}  // namespace corvane::platform
