#include "app/startup.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "program/events.h"
#include "support/app_fixture.h"
#include "support/export_server.h"

namespace corvane {
namespace {

class StartupDeathTest : public testing::AppTest {
  protected:
    // Runs the whole program; once its main window exists the user opens About, and any alert is followed
    // by Quit. Every alert is written to stderr so the parent can see how far the program came. The
    // choice waits for the main window because the update window's loop drops every other event.
    void RunAndOpenAbout() {
        services.onAlert = [](const platform::AlertSpec& alert) {
            std::fprintf(stderr, "alert: %s\n", alert.message.c_str());
            platform::Events().Post(MenuEvent(kQuitItem));
        };
        std::thread([] {
            auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
            while (!platform::TheUi().WindowExists(kMainWindow) &&
                   std::chrono::steady_clock::now() < deadline) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
            platform::Events().Post(MenuEvent(kAppAboutItem));
        }).detach();
        RunProgram();
    }
};

TEST_F(StartupDeathTest, TheProgramStartsShowsItsWindowAndQuitsWithStatusZero) {
    testing::ExportServer server({"--hashes", "3"});
    ASSERT_NE(server.port(), 0);
    server.Use();
    // The About box opens only from the running event loop, after the main window was built.
    EXPECT_EXIT(RunAndOpenAbout(), ::testing::ExitedWithCode(0), "alert: Corvane v1.12 Beta");
}

TEST_F(StartupDeathTest, ANarrowDisplayEndsStartUpWithStatusZero) {
    services.displays = {{0, 0, 800, 600}};
    EXPECT_EXIT(RunAndOpenAbout(), ::testing::ExitedWithCode(0),
                "alert: Sorry, the minimum screen resolution");
}

TEST_F(StartupDeathTest, ANewDatabaseWithoutAConnectionEndsStartUpWithStatusZero) {
    EXPECT_EXIT(RunAndOpenAbout(), ::testing::ExitedWithCode(0),
                "alert: No Internet connection is detected!");
}

TEST_F(StartupDeathTest, StartUpWritesNoSettingsOfItsOwn) {
    testing::ExportServer server({"--last-modified", ""});
    ASSERT_NE(server.port(), 0);
    server.Use();
    EXPECT_EXIT(RunAndOpenAbout(), ::testing::ExitedWithCode(0), "");
    EXPECT_FALSE(std::filesystem::exists(home.PreferencesFile()));
}

}  // namespace
}  // namespace corvane
