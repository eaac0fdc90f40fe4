// A FIFO planted at a path, with a guard for the test that reads it: a reader that opens it the blocking
// way would wait for a writer for ever. Should a read still be waiting after a generous time, the guard
// opens the FIFO for writing, which lets that read end, and remembers that it had to.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace corvane::testing {

class PlantedFifo {
  public:
    explicit PlantedFifo(std::string path) : path_(std::move(path)) {
        made_ = mkfifo(path_.c_str(), 0600) == 0;
        guard_ = std::thread([this] { Guard(); });
    }
    ~PlantedFifo() {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        changed_.notify_all();
        guard_.join();
    }
    PlantedFifo(const PlantedFifo&) = delete;
    PlantedFifo& operator=(const PlantedFifo&) = delete;

    bool made() const { return made_; }
    // True when a reader was found waiting on the FIFO and had to be let go.
    bool HadToUnblock() const { return unblocked_; }

  private:
    void Guard() {
        std::unique_lock lock(mutex_);
        if (changed_.wait_for(lock, std::chrono::seconds(20), [this] { return done_; })) return;
        // A writer's open without blocking succeeds only while a reader waits.
        while (!changed_.wait_for(lock, std::chrono::milliseconds(100), [this] { return done_; })) {
            int fd = open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) {
                unblocked_ = true;
                close(fd);
            }
        }
    }

    std::string path_;
    bool made_ = false;
    std::atomic<bool> unblocked_{false};
    std::mutex mutex_;
    std::condition_variable changed_;
    bool done_ = false;
    std::thread guard_;
};

}  // namespace corvane::testing
