// The death tests of every test program run in the thread-safe style (tests/support/death_test_style.cpp).
#include <gtest/gtest.h>

namespace {

TEST(DeathTestStyle, IsThreadsafeWhenTheTestsRun) {
    EXPECT_EQ(GTEST_FLAG_GET(death_test_style), "threadsafe");
}

}  // namespace
