#include "support/advice_log.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "support/wait_until.h"

namespace corvane::testing {

namespace {

std::mutex mutex;
std::condition_variable requested;
bool watching = false;         // under mutex
dev_t watchedDevice = 0;       // under mutex
ino_t watchedInode = 0;        // under mutex
std::vector<Advice> requests;  // under mutex

using AdviseFunction = int (*)(int, off_t, off_t, int);

// The definition that comes after this library's: the C library's posix_fadvise.
AdviseFunction NextAdvise() {
    static const auto next = reinterpret_cast<AdviseFunction>(dlsym(RTLD_NEXT, "posix_fadvise"));
    return next;
}

bool Reached(int64_t end) {
    for (const Advice& advice : requests) {
        if (advice.offset + advice.length >= end) return true;
    }
    return false;
}

}  // namespace

void Record(int fd, off_t offset, off_t length, int advice) {
    if (advice != POSIX_FADV_WILLNEED) return;
    struct stat st {};
    if (fstat(fd, &st) != 0) return;
    std::lock_guard lock(mutex);
    if (!watching || st.st_dev != watchedDevice || st.st_ino != watchedInode) return;
    requests.push_back({offset, length, gettid()});
    requested.notify_all();
}

void WatchAdviceOn(int fd) {
    struct stat st {};
    fstat(fd, &st);
    std::lock_guard lock(mutex);
    watching = true;
    watchedDevice = st.st_dev;
    watchedInode = st.st_ino;
    requests.clear();
}

bool WaitForAdviceUpTo(int64_t end) {
    std::unique_lock lock(mutex);
    return requested.wait_for(lock, kHangGuard, [end] { return Reached(end); });
}

std::vector<Advice> AdviceSoFar() {
    std::lock_guard lock(mutex);
    return requests;
}

std::vector<Advice> StopWatchingAdvice() {
    std::lock_guard lock(mutex);
    watching = false;
    std::vector<Advice> recorded;
    recorded.swap(requests);
    return recorded;
}

}  // namespace corvane::testing

// On 64-bit Linux posix_fadvise64 is the same function; both names lead here.
extern "C" int posix_fadvise(int fd, off_t offset, off_t length, int advice) {
    corvane::testing::Record(fd, offset, length, advice);
    return corvane::testing::NextAdvise()(fd, offset, length, advice);
}

extern "C" int posix_fadvise64(int fd, off_t offset, off_t length, int advice) {
    return posix_fadvise(fd, offset, length, advice);
}
