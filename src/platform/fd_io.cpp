#include "platform/fd_io.h"

#include <unistd.h>

#include <cerrno>

namespace corvane::platform {

bool ReadToEnd(int fd, std::string& text) {
    text.clear();
    char buffer[65536];
    for (;;) {
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n == 0) return true;
        if (n < 0) break;
        text.append(buffer, static_cast<size_t>(n));
    }
    text.clear();
    return false;
}

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        ssize_t n = write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

}  // namespace corvane::platform
