// Death tests fork while worker threads may exist; the thread-safe style re-runs the test in a fresh process.
#include <gtest/gtest.h>

namespace {

const bool kThreadsafeDeathTests = [] {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    return true;
}();

}  // namespace
