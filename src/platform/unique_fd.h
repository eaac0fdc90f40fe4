// Owners of open file descriptors and directory streams: each closes what it holds when it goes.
#pragma once

#include <dirent.h>

#include "platform/owned.h"

namespace corvane::platform {

class UniqueFd {
  public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd() { Reset(); }
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        Reset(other.Release());
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    explicit operator bool() const { return fd_ >= 0; }
    int Get() const { return fd_; }
    // Hands the descriptor over; this owner then holds none.
    int Release();
    // Closes the one held (its result unheard) and holds the given one.
    void Reset(int fd = -1);
    // Closes the one held now; false when the close reports an error. A file system may report a failed
    // write only there, so a file written in full is known to be whole only after this.
    bool Close();

  private:
    int fd_ = -1;
};

using UniqueDir = Owned<DIR, closedir>;

// The directory stream on the descriptor, which it then owns; empty (the descriptor closed) on failure.
UniqueDir OpenDirectory(UniqueFd fd);

}  // namespace corvane::platform
