#include "engine/file_checksum.h"

#include <fcntl.h>

#include <memory>
#include <new>
#include <optional>

#include "engine/block_reading.h"
#include "engine/read_ahead.h"
#include "engine/run_state.h"
#include "platform/digest.h"
#include "platform/files.h"
#include "platform/unique_fd.h"

namespace corvane {

namespace {

constexpr int64_t kMiB = 1024 * 1024;
constexpr int64_t kReadAheadFrom = 10 * kMiB;

// The digest of an algorithm; none for CRC32, which is computed without one, and for no algorithm.
std::optional<platform::DigestKind> DigestFor(std::optional<ChecksumAlgorithm> algorithm) {
    if (algorithm == ChecksumAlgorithm::MD5) return platform::DigestKind::MD5;
    if (algorithm == ChecksumAlgorithm::SHA1) return platform::DigestKind::SHA1;
    if (algorithm == ChecksumAlgorithm::SHA256) return platform::DigestKind::SHA256;
    if (algorithm == ChecksumAlgorithm::SHA512) return platform::DigestKind::SHA512;
    return std::nullopt;
}

ChecksumResult Failed(ChecksumFailure failure) {
    return {{}, failure};
}

// The read buffer: blockSize bytes from a page boundary. The kernel's copy from the page cache into a
// buffer that starts 16 bytes past one (where new[] puts it) measured four times slower here. A page more
// is taken from the heap rather than from aligned_alloc, which glibc maps afresh for every small file.
struct ReadBuffer {
    std::unique_ptr<unsigned char[]> storage;
    unsigned char* start = nullptr;
};

ReadBuffer AllocateReadBuffer(size_t blockSize) {
    constexpr size_t kPage = 4096;
    ReadBuffer buffer{std::unique_ptr<unsigned char[]>(new (std::nothrow) unsigned char[blockSize + kPage])};
    void* start = buffer.storage.get();
    size_t space = blockSize + kPage;
    if (start) buffer.start = static_cast<unsigned char*>(std::align(kPage, blockSize, start, space));
    return buffer;
}

// Feeds the file's blocks until its end, a read error or a stop; a large file is read ahead from a thread of
// its own.
FeedEnd FeedFile(int fd, int64_t size, const ReadBuffer& buffer, size_t blockSize,
                 const std::function<bool()>& shouldStop,
                 const std::function<void(const unsigned char*, size_t)>& feed) {
    // Reading ahead costs a thread; it pays from files that take milliseconds to read.
    std::optional<ReadAhead> ahead;
    if (size > kReadAheadFrom) ahead.emplace(fd, size);
    return FeedFileBlocks(fd, buffer.start, blockSize, kReadPieceSize, shouldStop,
                          [&](const unsigned char* data, size_t n) {
                              if (ahead) ahead->Consumed(n);
                              feed(data, n);
                          });
}

}  // namespace

size_t ChecksumBlockSize(int64_t fileSize) {
    if (fileSize <= 10 * kMiB) return 1 * kMiB;
    if (fileSize <= 500 * kMiB) return 8 * kMiB;
    if (fileSize <= 2048 * kMiB) return 16 * kMiB;
    return 32 * kMiB;
}

std::string ChecksumText(const ChecksumResult& result) {
    if (!result.failure) return result.hex;
    switch (*result.failure) {
        case ChecksumFailure::FileNotFound:
            return kFileNotFoundError;
        case ChecksumFailure::CannotOpen:
            return kCannotOpenError;
        case ChecksumFailure::Memory:
            return kMemoryError;
        case ChecksumFailure::UnsupportedAlgorithm:
            return kUnsupportedAlgorithmError;
        case ChecksumFailure::CannotRead:
            return kReadError;
    }
    return kMemoryError;
}

ChecksumResult ComputeChecksum(const std::string& path, std::optional<ChecksumAlgorithm> algorithm,
                               const std::function<bool()>& shouldStop) {
    // The steps run in this order and the first failure decides: a missing file with an unknown algorithm
    // reports the file.
    platform::PathStatus status = platform::QueryPath(path);
    if (status.kind == platform::PathStatus::Unavailable) return Failed(ChecksumFailure::FileNotFound);
    size_t blockSize = ChecksumBlockSize(status.size);

    platform::UniqueFd file = platform::OpenRegularFile(path);  // closed when the call returns
    if (!file) return Failed(ChecksumFailure::CannotOpen);
    const int fd = file.Get();
    posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);

    // One buffer of the block size per file, reused for every block; never the whole file.
    ReadBuffer buffer = AllocateReadBuffer(blockSize);
    if (!buffer.start) return Failed(ChecksumFailure::Memory);

    if (algorithm == ChecksumAlgorithm::CRC32) {
        uint32_t crc = platform::Crc32(0, nullptr, 0);
        // The bytes before a failed read are only part of the file: their checksum would pass for the file's.
        FeedEnd end =
            FeedFile(fd, status.size, buffer, blockSize, shouldStop,
                     [&](const unsigned char* data, size_t n) { crc = platform::Crc32(crc, data, n); });
        if (end == FeedEnd::ReadError) return Failed(ChecksumFailure::CannotRead);
        unsigned char bytes[4] = {static_cast<unsigned char>(crc >> 24),
                                  static_cast<unsigned char>(crc >> 16), static_cast<unsigned char>(crc >> 8),
                                  static_cast<unsigned char>(crc)};
        return {platform::HexText(bytes, sizeof bytes), std::nullopt};
    }
    std::optional<platform::DigestKind> kind = DigestFor(algorithm);
    if (!kind) return Failed(ChecksumFailure::UnsupportedAlgorithm);
    std::unique_ptr<platform::Digest> digest = platform::Digest::Start(*kind);
    if (!digest) return Failed(ChecksumFailure::Memory);
    FeedEnd end = FeedFile(fd, status.size, buffer, blockSize, shouldStop,
                           [&](const unsigned char* data, size_t n) { digest->Update(data, n); });
    if (end == FeedEnd::ReadError) return Failed(ChecksumFailure::CannotRead);
    std::string hex = digest->FinishHex();
    if (hex.empty()) return Failed(ChecksumFailure::Memory);
    return {hex, std::nullopt};
}

ChecksumResult ComputeChecksum(const std::string& path, std::optional<ChecksumAlgorithm> algorithm) {
    return ComputeChecksum(path, algorithm, [] { return AbortRequested.load(); });
}

}  // namespace corvane
