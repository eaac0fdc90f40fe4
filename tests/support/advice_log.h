// The posix_fadvise() requests made on one file, for tests. Linked into a test executable as a shared
// library, its posix_fadvise() stands before the C library's and passes every call on to it, so the code
// under test keeps its effect; the test sees what was asked for, whether or not the kernel acted on it.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <vector>

namespace corvane::testing {

struct Advice {
    int64_t offset;
    int64_t length;
    pid_t thread;  // the thread that asked
};

// From now on records the POSIX_FADV_WILLNEED requests on any descriptor of fd's file (the same device and
// inode). Forgets what was recorded before.
void WatchAdviceOn(int fd);
// Waits until a request has reached end; false when none has after the hang guard.
bool WaitForAdviceUpTo(int64_t end);
// The requests recorded so far, in the order they were made.
std::vector<Advice> AdviceSoFar();
// Stops recording and returns the requests.
std::vector<Advice> StopWatchingAdvice();

}  // namespace corvane::testing
