#include "support/read_faults.h"

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace corvane::testing {

namespace {

std::atomic<bool> armed{false};
std::atomic<dev_t> failingDevice{0};
std::atomic<ino_t> failingInode{0};
std::atomic<int64_t> failingFrom{0};
std::atomic<int> failingError{EIO};
std::atomic<int> failuresLeft{-1};
std::atomic<int> failures{0};

using ReadFunction = ssize_t (*)(int, void*, size_t);

// The definition that comes after this library's: the C library's read.
ReadFunction NextRead() {
    static const auto next = reinterpret_cast<ReadFunction>(dlsym(RTLD_NEXT, "read"));
    return next;
}

bool IsFailingFile(int fd) {
    struct stat st {};
    return fstat(fd, &st) == 0 && st.st_dev == failingDevice && st.st_ino == failingInode;
}

}  // namespace

bool FailReadsOf(const std::string& path, int64_t failAt, int error, int times) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return false;
    failingDevice = st.st_dev;
    failingInode = st.st_ino;
    failingFrom = failAt;
    failingError = error;
    failuresLeft = times;
    failures = 0;
    armed = true;
    return true;
}

void StopFailingReads() {
    armed = false;
}

int FailedReads() {
    return failures;
}

}  // namespace corvane::testing

using namespace corvane::testing;

extern "C" ssize_t read(int fd, void* buffer, size_t count) {
    if (armed && failuresLeft != 0 && IsFailingFile(fd)) {
        off_t offset = lseek(fd, 0, SEEK_CUR);
        if (offset >= failingFrom) {
            if (failuresLeft > 0) --failuresLeft;
            ++failures;
            errno = failingError;
            return -1;
        }
        if (offset >= 0 && static_cast<int64_t>(count) > failingFrom - offset) {
            count = static_cast<size_t>(failingFrom - offset);
        }
    }
    return NextRead()(fd, buffer, count);
}
