// A plain TCP connection test.
#pragma once

#include <string>

namespace corvane::platform {

// Resolves the host (IPv4, not bounded by the time-out) and tries a non-blocking TCP connection to the
// port. True only when the connection is made within timeoutMs without a pending error; nothing is sent
// and the connection is closed at once.
bool CanConnectTcp(const std::string& host, int port, int timeoutMs);

}  // namespace corvane::platform
