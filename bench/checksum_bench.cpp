// ComputeChecksum on a 1 GiB file in the page cache against `openssl dgst` on the same file, and our CRC-32
// against zlib's over the same bytes in memory.
//
//   build/bench/checksum_bench [--benchmark_filter=...]
//
// The file is CORVANE_BENCH_FILE, else /tmp/corvane-bench-1g.bin (created with pseudo-random bytes when
// missing). It is read once before the timings so that it sits in the page cache.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

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

int64_t FileBytes() { return corvane::platform::QueryPath(File()).size; }

void BM_ComputeChecksum(benchmark::State& state, const char* algorithm) {
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

const std::vector<unsigned char>& MemoryBytes() {
    static const std::vector<unsigned char> bytes = [] {
        std::vector<unsigned char> b(256 << 20);
        std::mt19937 generator(7);
        for (auto& c : b) c = static_cast<unsigned char>(generator());
        return b;
    }();
    return bytes;
}

// One call per 32 MiB block, as the largest files are read.
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

BENCHMARK_CAPTURE(BM_ComputeChecksum, MD5, "MD5")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_OpensslDgst, MD5, "md5")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_ComputeChecksum, SHA1, "SHA1")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_OpensslDgst, SHA1, "sha1")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_ComputeChecksum, SHA256, "SHA256")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_OpensslDgst, SHA256, "sha256")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_ComputeChecksum, SHA512, "SHA512")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_OpensslDgst, SHA512, "sha512")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_ComputeChecksum, CRC32, "CRC32")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Crc32Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Crc32Zlib)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
