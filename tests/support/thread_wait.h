// Waiting until another thread of this process has gone to sleep on a lock or condition variable.
#pragma once

#include <sys/syscall.h>
#include <sys/types.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

namespace corvane::testing {

// Waits until thread tid is blocked in futex(), where a wait on a std::mutex or std::condition_variable
// sleeps, or has ended. False when it is still running after a minute (a hang guard).
inline bool WaitUntilAsleepOrGone(pid_t tid) {
    const std::string file = "/proc/self/task/" + std::to_string(tid) + "/syscall";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (std::chrono::steady_clock::now() < deadline) {
        std::ifstream in(file);
        std::string call;  // the number of the system call it is in, or "running"
        if (!in) return true;
        if (in >> call && call == std::to_string(SYS_futex)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

}  // namespace corvane::testing
