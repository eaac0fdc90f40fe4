#include "engine/read_ahead.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_folder.h"

namespace corvane {
namespace {

using testing::TempFolder;

// Pages of [from, to) in the page cache.
class Residency {
  public:
    Residency(int fd, int64_t size) : size_(size) {
        map_ = mmap(nullptr, static_cast<size_t>(size), PROT_READ, MAP_SHARED, fd, 0);
    }
    ~Residency() {
        if (map_ != MAP_FAILED) munmap(map_, static_cast<size_t>(size_));
    }
    bool Mapped() const { return map_ != MAP_FAILED; }
    int64_t CachedPages(int64_t from, int64_t to) const {
        const int64_t page = sysconf(_SC_PAGESIZE);
        std::vector<unsigned char> flags(static_cast<size_t>((to - from + page - 1) / page));
        if (mincore(static_cast<char*>(map_) + from, static_cast<size_t>(to - from), flags.data()) != 0)
            return -1;
        int64_t cached = 0;
        for (unsigned char f : flags) cached += f & 1;
        return cached;
    }
    int64_t Pages(int64_t from, int64_t to) const { return (to - from) / sysconf(_SC_PAGESIZE); }

  private:
    int64_t size_;
    void* map_;
};

// Polls until every page of the range is cached; false after a generous deadline.
bool BecomesCached(const Residency& residency, int64_t from, int64_t to) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (residency.CachedPages(from, to) != residency.Pages(from, to)) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// The file is read ahead of the caller's position, never more than the window beyond it: a huge file
// must not be pulled into the page cache before it is hashed.
TEST(ReadAheadTest, StaysOneWindowAheadOfTheCaller) {
    TempFolder folder;
    constexpr int64_t kSize = ReadAhead::kWindow + 4 * ReadAhead::kReport;
    std::string file = folder.Write("big", std::string(static_cast<size_t>(kSize), 'x'));
    int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(fdatasync(fd), 0);
    ASSERT_EQ(posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED), 0);
    Residency residency(fd, kSize);
    ASSERT_TRUE(residency.Mapped());
    if (residency.CachedPages(0, kSize) > residency.Pages(0, kSize) / 10) {
        close(fd);
        GTEST_SKIP() << "this file system keeps the pages of a file in memory";
    }
    {
        ReadAhead ahead(fd, kSize);
        ASSERT_TRUE(BecomesCached(residency, 0, ReadAhead::kWindow));
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_EQ(residency.CachedPages(ReadAhead::kWindow + ReadAhead::kRequest, kSize), 0);

        ahead.Consumed(ReadAhead::kReport);
        EXPECT_TRUE(BecomesCached(residency, 0, ReadAhead::kWindow + ReadAhead::kReport));
    }  // ends while the thread waits for the caller
    close(fd);
}

}  // namespace
}  // namespace corvane
