#include "engine/read_ahead.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/unique_fd.h"
#include "support/advice_log.h"
#include "support/temp_folder.h"
#include "support/thread_wait.h"

namespace corvane {
namespace {

using testing::Advice;
using testing::TempFolder;

// Where the requests end once the read-ahead thread waits: they must run from offset 0 in order, without
// gaps. -1 when the thread did not come to rest.
int64_t RequestedEndAtRest() {
    std::vector<Advice> requests = testing::AdviceSoFar();
    if (requests.empty() || !testing::WaitUntilAsleepOrGone(requests.front().thread)) return -1;
    int64_t end = 0;
    for (const Advice& advice : testing::AdviceSoFar()) {
        EXPECT_EQ(advice.offset, end) << "the file is requested in order, without gaps";
        end = advice.offset + advice.length;
    }
    return end;
}

class ReadAheadTest : public ::testing::Test {
  protected:
    // A file of size bytes whose read-ahead requests are recorded.
    void Watch(int64_t size) {
        std::string file = folder_.Write("file", "");
        fd_ = platform::UniqueFd(open(file.c_str(), O_RDWR | O_CLOEXEC));
        ASSERT_TRUE(fd_);
        ASSERT_EQ(ftruncate(fd_.Get(), size), 0);
        testing::WatchAdviceOn(fd_.Get());
    }
    void TearDown() override { testing::StopWatchingAdvice(); }

    TempFolder folder_;
    platform::UniqueFd fd_;
};

// The file is requested ahead of the caller's position, never more than the window beyond it: a huge file
// must not be pulled into the page cache before it is hashed. What is checked is what the read-ahead asks
// the kernel for; whether the kernel acts on that advice at once is its own affair.
TEST_F(ReadAheadTest, StaysOneWindowAheadOfTheCaller) {
    Watch(ReadAhead::kWindow + 4 * ReadAhead::kReport);
    ReadAhead ahead(fd_.Get(), ReadAhead::kWindow + 4 * ReadAhead::kReport);
    ASSERT_TRUE(testing::WaitForAdviceUpTo(ReadAhead::kWindow));
    EXPECT_EQ(RequestedEndAtRest(), ReadAhead::kWindow);

    ahead.Consumed(ReadAhead::kReport);
    ASSERT_TRUE(testing::WaitForAdviceUpTo(ReadAhead::kWindow + ReadAhead::kReport));
    EXPECT_EQ(RequestedEndAtRest(), ReadAhead::kWindow + ReadAhead::kReport);
}  // ends while the thread waits for the caller

// The last request reaches the end of the file, and the thread ends there.
TEST_F(ReadAheadTest, StopsAtTheEndOfTheFile) {
    constexpr int64_t kSize = 3 * ReadAhead::kRequest + 1;
    Watch(kSize);
    ReadAhead ahead(fd_.Get(), kSize);
    ASSERT_TRUE(testing::WaitForAdviceUpTo(kSize));
    EXPECT_EQ(RequestedEndAtRest(), 4 * ReadAhead::kRequest);
}

}  // namespace
}  // namespace corvane
