#include "engine/read_ahead.h"

#include <fcntl.h>

#include <system_error>

namespace corvane {

ReadAhead::ReadAhead(int fd, int64_t size) : fd_(fd), size_(size) {
    try {
        thread_ = std::thread(&ReadAhead::Run, this);
    } catch (const std::system_error&) {
        // Without the thread the kernel's own read-ahead still works, only on the caller's time.
    }
}

ReadAhead::~ReadAhead() {
    {
        std::lock_guard lock(mutex_);
        done_ = true;
    }
    advanced_.notify_one();
    if (thread_.joinable()) thread_.join();
}

void ReadAhead::Consumed(size_t n) {
    consumed_ += static_cast<int64_t>(n);
    if (consumed_ < nextReport_) return;
    // Now and then, so that the thread wakes a few times per window rather than for every piece.
    nextReport_ = consumed_ + kReport;
    {
        std::lock_guard lock(mutex_);
        reported_ = consumed_;
    }
    advanced_.notify_one();
}

void ReadAhead::Run() {
    int64_t requested = 0;
    std::unique_lock lock(mutex_);
    while (!done_ && requested < size_) {
        if (requested >= reported_ + kWindow) {
            advanced_.wait(lock);
            continue;
        }
        lock.unlock();
        // Starts the reads and returns; the pages arrive in the page cache meanwhile.
        posix_fadvise(fd_, requested, kRequest, POSIX_FADV_WILLNEED);
        requested += kRequest;
        lock.lock();
    }
}

}  // namespace corvane
