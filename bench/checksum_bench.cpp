// ComputeChecksum on a 1 GiB file in the page cache against `openssl dgst` on the same file; the read loop
// at several piece sizes; ComputeChecksum's CRC32 against a plain reader with 1 MiB reads and libdeflate;
// reading alone into buffers at several offsets from a page boundary; our CRC-32 against zlib's over the
// same bytes in memory.
//
//   build/bench/checksum_bench [--benchmark_filter=...] [--benchmark_repetitions=5
//       --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true]
//
// The file is CORVANE_BENCH_FILE, else /tmp/corvane-bench-1g.bin (created with pseudo-random bytes when
// missing). It is read once before the timings so that it sits in the page cache.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <libdeflate.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "engine/block_reading.h"
#include "engine/file_checksum.h"
#include "platform/digest.h"
#include "platform/files.h"

namespace {

constexpr int64_t kFileSize = int64_t{1} << 30;

std::string BenchFile() {
    const char* env = std::getenv("CORVANE_BENCH_FILE");
    std::string path = env && *env ? env : "/tmp/corvane-bench-1g.bin";
    if (corvane::platform::QueryPath(path).kind != corvane::platform::PathStatus::Sized) {
        std::ofstream out(path, std::ios::binary);
        std::mt19937_64 generator(42);
        std::vector<uint64_t> chunk(1 << 17);
        for (int64_t written = 0; written < kFileSize; written += static_cast<int64_t>(chunk.size() * 8)) {
            for (auto& word : chunk) word = generator();
            out.write(reinterpret_cast<const char*>(chunk.data()),
                      static_cast<std::streamsize>(chunk.size() * 8));
        }
    }
    // Into the page cache.
    std::ifstream in(path, std::ios::binary);
    std::vector<char> buffer(1 << 20);
    while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()))) {
    }
    return path;
}

const std::string& File() {
    static const std::string path = BenchFile();
    return path;
}

int64_t FileBytes() {
    return corvane::platform::QueryPath(File()).size;
}

void BM_ComputeChecksum(benchmark::State& state, corvane::ChecksumAlgorithm algorithm) {
    for (auto _ : state) benchmark::DoNotOptimize(corvane::ComputeChecksum(File(), algorithm));
    state.SetBytesProcessed(state.iterations() * FileBytes());
}

void BM_OpensslDgst(benchmark::State& state, const char* option) {
    std::string command = std::string("openssl dgst -") + option + " '" + File() + "' >/dev/null";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) state.SkipWithError("openssl dgst failed");
    }
    state.SetBytesProcessed(state.iterations() * FileBytes());
}

// A page-aligned buffer, as ComputeChecksum reads into.
std::unique_ptr<unsigned char, decltype(&std::free)> AlignedBuffer(size_t size) {
    return {static_cast<unsigned char*>(std::aligned_alloc(4096, size)), &std::free};
}

// The read loop over the whole file with 16 MiB blocks (the block of a 1 GiB file), read in pieces of
// state.range(0) bytes, fed to SHA-256 or the CRC-32.
void BM_PieceSize(benchmark::State& state, const char* algorithm) {
    constexpr size_t kBlock = 16 << 20;
    auto buffer = AlignedBuffer(kBlock);
    auto piece = static_cast<size_t>(state.range(0));
    bool crc = std::string(algorithm) == "CRC32";
    for (auto _ : state) {
        int fd = open(File().c_str(), O_RDONLY | O_CLOEXEC);
        uint32_t value = 0;
        auto digest = corvane::platform::Digest::Start(corvane::platform::DigestKind::SHA256);
        corvane::FeedFileBlocks(fd, buffer.get(), kBlock, piece, {},
                                [&](const unsigned char* data, size_t n) {
                                    if (crc) {
                                        value = corvane::platform::Crc32(value, data, n);
                                    } else {
                                        digest->Update(data, n);
                                    }
                                });
        benchmark::DoNotOptimize(crc ? std::to_string(value) : digest->FinishHex());
        close(fd);
    }
    state.SetBytesProcessed(state.iterations() * FileBytes());
}

// Reading alone, 256 KiB at a time, into a buffer state.range(0) bytes past a page boundary: the kernel's
// copy from the page cache is much slower for a few offsets (16 is where new[] puts a large buffer).
void BM_ReadAtOffset(benchmark::State& state) {
    constexpr size_t kRead = 256 << 10;
    auto buffer = AlignedBuffer(kRead + 4096);
    unsigned char* start = buffer.get() + state.range(0);
    for (auto _ : state) {
        int fd = open(File().c_str(), O_RDONLY | O_CLOEXEC);
        while (read(fd, start, kRead) > 0) {
        }
        close(fd);
    }
    state.SetBytesProcessed(state.iterations() * FileBytes());
}

// The simplest fast reader: 1 MiB reads into one page-aligned buffer, libdeflate's crc32 after each.
void BM_PlainCrc32Reader(benchmark::State& state) {
    constexpr size_t kRead = 1 << 20;
    auto buffer = AlignedBuffer(kRead);
    for (auto _ : state) {
        int fd = open(File().c_str(), O_RDONLY | O_CLOEXEC);
        uint32_t crc = 0;
        for (ssize_t n; (n = read(fd, buffer.get(), kRead)) > 0;)
            crc = libdeflate_crc32(crc, buffer.get(), static_cast<size_t>(n));
        benchmark::DoNotOptimize(crc);
        close(fd);
    }
    state.SetBytesProcessed(state.iterations() * FileBytes());
}

const std::vector<unsigned char>& MemoryBytes() {
    static const std::vector<unsigned char> bytes = [] {
        std::vector<unsigned char> b(256 << 20);
        std::mt19937 generator(7);
        for (auto& c : b) c = static_cast<unsigned char>(generator());
        return b;
    }();
    return bytes;
}

// One call per 32 MiB block.
void BM_Crc32Ours(benchmark::State& state) {
    const auto& bytes = MemoryBytes();
    constexpr size_t kBlock = 32 << 20;
    for (auto _ : state) {
        uint32_t crc = corvane::platform::Crc32(0, nullptr, 0);
        for (size_t at = 0; at < bytes.size(); at += kBlock)
            crc = corvane::platform::Crc32(crc, &bytes[at], kBlock);
        benchmark::DoNotOptimize(crc);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}

void BM_Crc32Zlib(benchmark::State& state) {
    const auto& bytes = MemoryBytes();
    for (auto _ : state) benchmark::DoNotOptimize(crc32_z(0, bytes.data(), bytes.size()));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}

}  // namespace

BENCHMARK_CAPTURE(BM_ComputeChecksum, MD5, corvane::ChecksumAlgorithm::MD5)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_OpensslDgst, MD5, "md5")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_ComputeChecksum, SHA1, corvane::ChecksumAlgorithm::SHA1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_OpensslDgst, SHA1, "sha1")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_ComputeChecksum, SHA256, corvane::ChecksumAlgorithm::SHA256)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_OpensslDgst, SHA256, "sha256")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_ComputeChecksum, SHA512, corvane::ChecksumAlgorithm::SHA512)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_OpensslDgst, SHA512, "sha512")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_ComputeChecksum, CRC32, corvane::ChecksumAlgorithm::CRC32)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_PlainCrc32Reader)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadAtOffset)
    ->Arg(0)
    ->Arg(8)
    ->Arg(16)
    ->Arg(32)
    ->Arg(64)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_PieceSize, SHA256, "SHA256")
    ->RangeMultiplier(4)
    ->Range(64 << 10, 16 << 20)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_PieceSize, CRC32, "CRC32")
    ->RangeMultiplier(4)
    ->Range(64 << 10, 16 << 20)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_Crc32Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Crc32Zlib)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
