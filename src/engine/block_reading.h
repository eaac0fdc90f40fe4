// Reading a file block by block, each block in pieces small enough to stay in the processor's caches.
#pragma once

#include <cstddef>
#include <functional>

namespace corvane {

// Bytes read and hashed at a time. A block of many MiB read in one call has left the caches before the
// digest reaches its first bytes, so every byte travels to memory and back; a piece this size is still in
// the cache when it is hashed (measured here against 64 KiB to 16 MiB: see bench/README.md).
inline constexpr size_t kReadPieceSize = 256 * 1024;

// How the reading of a file ended.
enum class FeedEnd { EndOfFile, Stopped, ReadError };

// Feeds the file's bytes from its current offset to feed, piece by piece, until the end of the file, a read
// error (a read interrupted by a signal is repeated) or a stop. shouldStop (may be empty) is asked before
// every block of blockSize bytes, never between the pieces of one block. Every piece is read into the start
// of buffer, which holds at least min(pieceSize, blockSize) bytes, and fed before the next one is read.
FeedEnd FeedFileBlocks(int fd, unsigned char* buffer, size_t blockSize, size_t pieceSize,
                       const std::function<bool()>& shouldStop,
                       const std::function<void(const unsigned char*, size_t)>& feed);

}  // namespace corvane
