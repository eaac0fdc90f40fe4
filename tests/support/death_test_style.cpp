// Death tests fork while worker threads may exist; the thread-safe style re-runs the test in a fresh process.
// The flag is set from a global environment, which runs after GoogleTest has constructed its flags and read
// the command line: an assignment at static initialisation could run before the flag's own construction,
// which then put back the default (and leaked the assigned text).
#include <gtest/gtest.h>

namespace {

class ThreadsafeDeathTests : public ::testing::Environment {
  public:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

// GoogleTest owns the environment from here on.
[[maybe_unused]] ::testing::Environment* const kThreadsafeDeathTests =
    ::testing::AddGlobalTestEnvironment(new ThreadsafeDeathTests);

}  // namespace
