// Waiting until another thread of this process has gone to sleep on a lock or condition variable.
#pragma once

#include <sys/syscall.h>
#include <sys/types.h>

#include <fstream>
#include <string>

#include "support/wait_until.h"

namespace corvane::testing {

// Waits until thread tid is blocked in futex(), where a wait on a std::mutex or std::condition_variable
// sleeps, or has ended. False when it is still running after the hang guard.
inline bool WaitUntilAsleepOrGone(pid_t tid) {
    const std::string file = "/proc/self/task/" + std::to_string(tid) + "/syscall";
    return WaitUntil([&] {
        std::ifstream in(file);
        std::string call;  // the number of the system call it is in, or "running"
        return !in || (in >> call && call == std::to_string(SYS_futex));
    });
}

}  // namespace corvane::testing
