// Asks the kernel for a file's next bytes from a thread of its own while the caller reads and hashes.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <thread>

namespace corvane {

// A file that is not in the page cache otherwise arrives on the hashing thread's time: the kernel's work of
// reading it runs in the reader's context and, measured here, made a cold read up to a third slower than
// the hashing alone. With the requests made from this thread, the hashing thread finds the bytes cached.
// It never changes what is read: the caller reads every byte itself.
class ReadAhead {
  public:
    // Requests of this size (the kernel cuts larger ones to the device's read-ahead size, which is rarely
    // below it), at most kWindow bytes ahead of the caller's position, which the thread hears of every
    // kReport bytes.
    static constexpr int64_t kRequest = 256 << 10;
    static constexpr int64_t kWindow = 64 << 20;
    static constexpr int64_t kReport = 8 << 20;

    // Starts reading ahead of offset 0 up to size bytes. When no thread can be started, it does nothing.
    ReadAhead(int fd, int64_t size);
    // Ends the thread and waits for it (one request at most).
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // The caller has read n more bytes.
    void Consumed(size_t n);

  private:
    void Run();

    const int fd_;
    const int64_t size_;
    int64_t consumed_ = 0;    // the caller's own count
    int64_t nextReport_ = 0;  // the count at which the thread hears of it next
    std::mutex mutex_;
    std::condition_variable advanced_;
    int64_t reported_ = 0;  // under mutex_
    bool done_ = false;     // under mutex_
    std::thread thread_;    // last, so that it starts with every member ready
};

}  // namespace corvane
