#include "platform/unique_fd.h"

#include <unistd.h>

#include <utility>

namespace corvane::platform {

int UniqueFd::Release() {
    return std::exchange(fd_, -1);
}

void UniqueFd::Reset(int fd) {
    if (fd_ >= 0) close(fd_);
    fd_ = fd;
}

bool UniqueFd::Close() {
    if (fd_ < 0) return false;
    // Linux releases the descriptor even when close reports an error, so it is never closed again.
    return close(std::exchange(fd_, -1)) == 0;
}

UniqueDir OpenDirectory(UniqueFd fd) {
    if (!fd) return {};
    UniqueDir dir(fdopendir(fd.Get()));
    if (dir) fd.Release();
    return dir;
}

}  // namespace corvane::platform
