#include "platform/tcp_probe.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace corvane::platform {
namespace {

// A listening loopback socket; its port, or 0.
int Listen(int& fd) {
    fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd, 4) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        return 0;
    }
    return ntohs(address.sin_port);
}

TEST(CanConnectTcpTest, ConnectsToAListeningPort) {
    int fd = -1;
    int port = Listen(fd);
    ASSERT_NE(port, 0);
    EXPECT_TRUE(CanConnectTcp("127.0.0.1", port, 500));
    EXPECT_TRUE(CanConnectTcp("localhost", port, 500));
    close(fd);
}

TEST(CanConnectTcpTest, ARefusedConnectionIsNoConnection) {
    int fd = -1;
    int port = Listen(fd);
    ASSERT_NE(port, 0);
    close(fd);  // nothing listens there any more
    EXPECT_FALSE(CanConnectTcp("127.0.0.1", port, 500));
}

}  // namespace
}  // namespace corvane::platform
