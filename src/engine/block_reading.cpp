#include "engine/block_reading.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace corvane {

namespace {

// Reads up to size bytes; the count delivered, 0 at the end of the file or after a read error.
size_t ReadPiece(int fd, unsigned char* buffer, size_t size) {
    for (;;) {
        ssize_t n = read(fd, buffer, size);
        if (n >= 0) return static_cast<size_t>(n);
        if (errno != EINTR) return 0;
    }
}

// One block: pieces until blockSize bytes are fed. False once the file has ended.
bool FeedBlock(int fd, unsigned char* buffer, size_t blockSize, size_t pieceSize,
               const std::function<void(const unsigned char*, size_t)>& feed) {
    for (size_t done = 0; done < blockSize;) {
        size_t n = ReadPiece(fd, buffer, std::min(pieceSize, blockSize - done));
        if (n == 0) return false;
        feed(buffer, n);
        done += n;
    }
    return true;
}

}  // namespace

void FeedFileBlocks(int fd, unsigned char* buffer, size_t blockSize, size_t pieceSize,
                    const std::function<bool()>& shouldStop,
                    const std::function<void(const unsigned char*, size_t)>& feed) {
    for (;;) {
        if (shouldStop && shouldStop()) return;
        if (!FeedBlock(fd, buffer, blockSize, pieceSize, feed)) return;
    }
}

}  // namespace corvane
