#include "engine/file_checksum.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <new>
#include <optional>

#include "engine/run_state.h"
#include "platform/digest.h"
#include "platform/files.h"

namespace corvane {

namespace {

constexpr int64_t kMiB = 1024 * 1024;

// Closes the descriptor when the call returns, whichever way.
struct FileCloser {
    int fd;
    ~FileCloser() { close(fd); }
};

// Only a regular file is opened: opening a pipe would wake its blocked writer, opening a device node may
// act on the device, so the type (of a link's target) is tested first. The opened descriptor is tested
// again for a file swapped in between; O_NONBLOCK keeps such a pipe from blocking the open and changes
// nothing for regular files.
int OpenRegularFile(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return -1;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return -1;
    }
    posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    return fd;
}

std::optional<platform::DigestKind> DigestFor(const std::string& algorithm) {
    if (algorithm == "MD5") return platform::DigestKind::MD5;
    if (algorithm == "SHA1") return platform::DigestKind::SHA1;
    if (algorithm == "SHA256") return platform::DigestKind::SHA256;
    if (algorithm == "SHA512") return platform::DigestKind::SHA512;
    return std::nullopt;
}

// Reads one block into the buffer; the count delivered, 0 at the end of the file or after a read error
// (which ends the file as the end would).
size_t ReadBlock(int fd, unsigned char* buffer, size_t size) {
    for (;;) {
        ssize_t n = read(fd, buffer, size);
        if (n >= 0) return static_cast<size_t>(n);
        if (errno != EINTR) return 0;
    }
}

// Feeds every block of the file to feed until the end, a read error or a stop.
template <typename Feed>
void ReadBlocks(int fd, unsigned char* buffer, size_t blockSize, const std::function<bool()>& shouldStop,
                Feed feed) {
    for (;;) {
        if (shouldStop && shouldStop()) return;
        size_t n = ReadBlock(fd, buffer, blockSize);
        if (n == 0) return;
        feed(buffer, n);
    }
}

}  // namespace

size_t ChecksumBlockSize(int64_t fileSize) {
    if (fileSize <= 10 * kMiB) return 1 * kMiB;
    if (fileSize <= 500 * kMiB) return 8 * kMiB;
    if (fileSize <= 2048 * kMiB) return 16 * kMiB;
    return 32 * kMiB;
}

std::string ComputeChecksum(const std::string& path, const std::string& algorithm,
                            const std::function<bool()>& shouldStop) {
    // The steps run in this order and the first failure decides the text: a missing file with an unknown
    // algorithm reports the file.
    platform::PathStatus status = platform::QueryPath(path);
    if (status.kind == platform::PathStatus::Unavailable) return kFileNotFoundError;
    size_t blockSize = ChecksumBlockSize(status.size);

    int fd = OpenRegularFile(path);
    if (fd < 0) return kCannotOpenError;
    FileCloser closer{fd};

    // One buffer per file, reused for every block; never the whole file.
    std::unique_ptr<unsigned char[]> buffer(new (std::nothrow) unsigned char[blockSize]);
    if (!buffer) return kMemoryError;

    if (algorithm == "CRC32") {
        uint32_t crc = platform::Crc32(0, nullptr, 0);
        ReadBlocks(fd, buffer.get(), blockSize, shouldStop,
                   [&](const unsigned char* data, size_t n) { crc = platform::Crc32(crc, data, n); });
        unsigned char bytes[4] = {static_cast<unsigned char>(crc >> 24),
                                  static_cast<unsigned char>(crc >> 16), static_cast<unsigned char>(crc >> 8),
                                  static_cast<unsigned char>(crc)};
        return platform::HexText(bytes, sizeof bytes);
    }
    std::optional<platform::DigestKind> kind = DigestFor(algorithm);
    if (!kind) return kUnsupportedAlgorithmError;
    std::unique_ptr<platform::Digest> digest = platform::Digest::Start(*kind);
    if (!digest) return kMemoryError;
    ReadBlocks(fd, buffer.get(), blockSize, shouldStop,
               [&](const unsigned char* data, size_t n) { digest->Update(data, n); });
    std::string text = digest->FinishHex();
    return text.empty() ? kMemoryError : text;
}

std::string ComputeChecksum(const std::string& path, const std::string& algorithm) {
    return ComputeChecksum(path, algorithm, [] { return AbortRequested.load(); });
}

}  // namespace corvane
