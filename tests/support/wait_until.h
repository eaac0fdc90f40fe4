// Waiting in a test for what must come, with a limit that only guards against a hang.
#pragma once

#include <chrono>
#include <thread>

namespace corvane::testing {

// How long a test waits for what must come before it gives up.
inline constexpr std::chrono::seconds kHangGuard{60};

// Polls done() until it holds; false when it still does not after the hang guard.
template <typename Done>
bool WaitUntil(Done done) {
    const auto deadline = std::chrono::steady_clock::now() + kHangGuard;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

}  // namespace corvane::testing
