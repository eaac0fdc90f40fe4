#include "engine/block_reading.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>

namespace corvane {

namespace {

// Reads up to size bytes: the count delivered (0 at the end of the file), or -1 after a read error.
ssize_t ReadPiece(int fd, unsigned char* buffer, size_t size) {
    for (;;) {
        ssize_t n = read(fd, buffer, size);
        if (n >= 0 || errno != EINTR) return n;
    }
}

// One block: pieces until blockSize bytes are fed. How the reading ended, or nothing when the block is full.
std::optional<FeedEnd> FeedBlock(int fd, unsigned char* buffer, size_t blockSize, size_t pieceSize,
                                 const std::function<void(const unsigned char*, size_t)>& feed) {
    for (size_t done = 0; done < blockSize;) {
        ssize_t n = ReadPiece(fd, buffer, std::min(pieceSize, blockSize - done));
        if (n < 0) return FeedEnd::ReadError;
        if (n == 0) return FeedEnd::EndOfFile;
        feed(buffer, static_cast<size_t>(n));
        done += static_cast<size_t>(n);
    }
    return std::nullopt;
}

}  // namespace

FeedEnd FeedFileBlocks(int fd, unsigned char* buffer, size_t blockSize, size_t pieceSize,
                       const std::function<bool()>& shouldStop,
                       const std::function<void(const unsigned char*, size_t)>& feed) {
    for (;;) {
        if (shouldStop && shouldStop()) return FeedEnd::Stopped;
        if (std::optional<FeedEnd> end = FeedBlock(fd, buffer, blockSize, pieceSize, feed)) return *end;
    }
}

}  // namespace corvane
