#include "platform/tcp_probe.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <memory>
#include <string>

#include "platform/owned.h"
#include "platform/unique_fd.h"

namespace corvane::platform {

namespace {

using Addresses = Owned<addrinfo, freeaddrinfo>;

bool ConnectWithin(const addrinfo& address, int timeoutMs) {
    UniqueFd fd(socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!fd) return false;
    bool connected = connect(fd.Get(), address.ai_addr, address.ai_addrlen) == 0;
    if (!connected && errno == EINPROGRESS) {
        pollfd waiter{fd.Get(), POLLOUT, 0};
        int error = 0;
        socklen_t length = sizeof error;
        connected = poll(&waiter, 1, timeoutMs) == 1 && (waiter.revents & POLLOUT) &&
                    getsockopt(fd.Get(), SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
    }
    return connected;
}

}  // namespace

bool CanConnectTcp(const std::string& host, int port, int timeoutMs) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &list) != 0) return false;
    Addresses found(list);
    return found && ConnectWithin(*found, timeoutMs);
}

}  // namespace corvane::platform
