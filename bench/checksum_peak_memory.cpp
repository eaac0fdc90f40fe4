// Peak resident memory while ComputeChecksum hashes a 4 GiB file (a sparse file, so that it needs no disk
// space), compared with the resident memory just before.
//
//   build/bench/checksum_peak_memory [path] [algorithm]
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>

#include "engine/file_checksum.h"

namespace {

// A field of /proc/self/status in KiB.
long StatusKiB(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field + ":", 0) == 0) return std::stol(line.substr(field.size() + 1));
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    std::string path = argc > 1 ? argv[1] : "/tmp/corvane-bench-sparse-4g.bin";
    std::string algorithm = argc > 2 ? argv[2] : "SHA256";
    int fd = open(path.c_str(), O_WRONLY | O_CREAT, 0600);
    if (fd < 0 || ftruncate(fd, int64_t{4} << 30) != 0) {
        std::perror(path.c_str());
        return 1;
    }
    close(fd);

    // Warm the library up first so that its own one-time allocations do not count.
    std::optional<corvane::ChecksumAlgorithm> parsed = corvane::ParseChecksumAlgorithm(algorithm);
    corvane::ComputeChecksum("/proc/self/exe", parsed);
    std::ofstream("/proc/self/clear_refs") << "5";  // resets the high-water mark
    long idle = StatusKiB("VmRSS");
    auto start = std::chrono::steady_clock::now();
    std::string sum = corvane::ChecksumText(corvane::ComputeChecksum(path, parsed));
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    long peak = StatusKiB("VmHWM");
    std::printf("%s %s of 4 GiB in %.2f s\nidle RSS %ld KiB, peak RSS %ld KiB, peak above idle %.1f MiB\n",
                algorithm.c_str(), sum.c_str(), seconds, idle, peak,
                static_cast<double>(peak - idle) / 1024.0);
    return 0;
}
