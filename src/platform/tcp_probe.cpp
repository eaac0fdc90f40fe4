#include "platform/tcp_probe.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace corvane::platform {

namespace {

bool ConnectWithin(const addrinfo& address, int timeoutMs) {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    bool connected = connect(fd, address.ai_addr, address.ai_addrlen) == 0;
    if (!connected && errno == EINPROGRESS) {
        pollfd waiter{fd, POLLOUT, 0};
        int error = 0;
        socklen_t length = sizeof error;
        connected = poll(&waiter, 1, timeoutMs) == 1 && (waiter.revents & POLLOUT) &&
                    getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
    }
    close(fd);
    return connected;
}

}  // namespace

bool CanConnectTcp(const std::string& host, int port, int timeoutMs) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0 || !found) return false;
    bool connected = ConnectWithin(*found, timeoutMs);
    freeaddrinfo(found);
    return connected;
}

}  // namespace corvane::platform
