#include "app/startup.h"

#include <gtest/gtest.h>

#include "support/app_fixture.h"

namespace corvane {
namespace {

using StartupDeathTest = testing::AppTest;

TEST_F(StartupDeathTest, TheWholeProgramStartsAndQuitsWithStatusZero) {
    EXPECT_EXIT(
        {
            platform::Events().Post(platform::MenuEvent(platform::kQuitItem));
            RunProgram();
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(StartupDeathTest, ANarrowDisplayEndsStartUpWithStatusZero) {
    services.displays = {{0, 0, 800, 600}};
    EXPECT_EXIT(RunProgram(), ::testing::ExitedWithCode(0), "");
}

TEST_F(StartupDeathTest, StartUpLeavesNoPreferencesFileBehind) {
    EXPECT_EXIT(
        {
            platform::Events().Post(platform::MenuEvent(platform::kQuitItem));
            RunProgram();
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_FALSE(std::filesystem::exists(home.PreferencesFile()));
}

}  // namespace
}  // namespace corvane
