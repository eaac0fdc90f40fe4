#include "app/event_loop.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/startup.h"
#include "engine/run_state.h"
#include "platform/user_defaults.h"
#include "program/events.h"
#include "support/app_fixture.h"

namespace corvane {
namespace {

using platform::Event;
using platform::Events;
using platform::WindowId;

class EventLoopTest : public testing::AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        BuildWindow();
    }
    void ChooseAlgorithm(int index) {
        ui().UserSelectItem(kAlgorithmPopup, index);
        DispatchEvent(ControlEvent(kAlgorithmPopup, platform::kSelectionChange));
    }
    int Activations() { return ui().Window(kMainWindow)->activations; }
};

TEST_F(EventLoopTest, ChoosingSha256TurnsShortPathsOffInMemoryAndExplains) {
    ToggleShortPaths();  // stores HideDir 1
    ASSERT_EQ(UseShortPaths, 1);
    ChooseAlgorithm(3);
    EXPECT_EQ(SelectedAlgorithm, "SHA256");
    EXPECT_EQ(UseShortPaths, 0);
    EXPECT_FALSE(ui().IsEnabled(kShortPathsCheckbox));
    EXPECT_TRUE(ui().IsChecked(kShortPathsCheckbox));
    EXPECT_EQ(platform::UserDefaults(home.PreferencesFile()).IntegerForKey(kHideDirKey), 1);
    ASSERT_EQ(services.alerts.size(), 1u);
    EXPECT_EQ(services.alerts[0].style, platform::AlertStyle::Informational);
    EXPECT_EQ(services.alerts[0].message, "Malware Scanning Enabled");
    EXPECT_EQ(services.alerts[0].informative,
              "Malware scanning is only possible when the 'SHA256' checksum is selected.\n");

    // Another algorithm enables the box again; a click then turns short paths on with the tick kept.
    ChooseAlgorithm(1);
    EXPECT_TRUE(ui().IsEnabled(kShortPathsCheckbox));
    EXPECT_EQ(UseShortPaths, 0);
    DispatchEvent(ControlEvent(kShortPathsCheckbox, platform::kLeftClick));
    EXPECT_EQ(UseShortPaths, 1);
    EXPECT_TRUE(ui().IsChecked(kShortPathsCheckbox));
    EXPECT_EQ(services.alerts.size(), 1u);
}

// What the user sees around a SHA256 choice with short names on: full names and a grey box during the run,
// the box usable again after it, and one click then lists short names under SHA256 as well.
TEST_F(EventLoopTest, AfterTheSha256RunOneClickListsShortNamesUnderSha256) {
    std::string file = home.Path() + "/Documents/a.txt";
    std::filesystem::create_directories(home.Path() + "/Documents");
    std::ofstream(file) << "abc";
    ToggleShortPaths();
    FilePathList = file;
    ChooseAlgorithm(3);
    EXPECT_FALSE(ui().IsEnabled(kShortPathsCheckbox));
    PumpUntilRunEnds();
    EXPECT_EQ(ListedNames(), std::vector<std::string>{file});
    EXPECT_TRUE(ui().IsEnabled(kShortPathsCheckbox));
    EXPECT_TRUE(ui().IsChecked(kShortPathsCheckbox));

    DispatchEvent(ControlEvent(kShortPathsCheckbox, platform::kLeftClick));
    PumpUntilRunEnds();
    EXPECT_EQ(SelectedAlgorithm, "SHA256");
    EXPECT_TRUE(ui().IsChecked(kShortPathsCheckbox));
    EXPECT_EQ(ListedNames(), std::vector<std::string>{"Documents/a.txt"});
}

TEST_F(EventLoopTest, ControlEventsReachOnlyTheirHandlers) {
    // The popup reacts only to a choice; the check boxes to any event; icons and the label to none.
    DispatchEvent(ControlEvent(kAlgorithmPopup, platform::kLeftClick));
    DispatchEvent(ControlEvent(kAlgorithmHelpIcon, platform::kSelectionChange));
    DispatchEvent(ControlEvent(kAlgorithmLabel, platform::kLeftClick));
    EXPECT_TRUE(services.alerts.empty());
    EXPECT_FALSE(std::filesystem::exists(home.PreferencesFile()));

    DispatchEvent(ControlEvent(kDockTimeCheckbox, platform::kRightClick));
    EXPECT_EQ(ShowDockTime, 1);
    DispatchEvent(ControlEvent(kShortPathsCheckbox, platform::kLeftClick));
    EXPECT_EQ(UseShortPaths, 1);
}

TEST_F(EventLoopTest, AboutOpensFromTheQueueOnlyWhileNoRunIsActive) {
    WorkerRunning = true;
    DispatchEvent(MenuEvent(kAppAboutItem));
    EXPECT_EQ(Events().PendingCount(), 0u);

    WorkerRunning = false;
    DispatchEvent(MenuEvent(kAppAboutItem));
    EXPECT_TRUE(services.alerts.empty());  // not directly
    auto pending = Events().PendingEvents();
    ASSERT_EQ(pending.size(), 1u);
    EXPECT_EQ(pending[0].kind, platform::kMenuEvent);
    EXPECT_EQ(pending[0].object, kAboutItem);

    DispatchEvent(Events().Wait());
    ASSERT_EQ(services.alerts.size(), 1u);
    EXPECT_EQ(services.alerts[0].message, "Corvane v1.12 Beta\n(Intel)");
    EXPECT_TRUE(services.alerts[0].informative.starts_with(
        "\nA file hash calculator for macOS\nmade with great angst\n\n"));
    EXPECT_EQ(services.alerts[0].buttons, (std::vector<std::string>{"Ok", "See My Other Apps"}));
    EXPECT_TRUE(services.openedUrls.empty());
}

TEST_F(EventLoopTest, TheAboutBoxsSecondButtonOpensTheMakersPage) {
    services.alertAnswers = {platform::kSecondButton};
    int before = Activations();
    DispatchEvent(MenuEvent(kAboutItem));
    ASSERT_EQ(services.openedUrls.size(), 1u);
    EXPECT_TRUE(services.openedUrls[0].starts_with("https://"));
    EXPECT_EQ(Activations(), before + 1);
}

TEST_F(EventLoopTest, ResetLayoutRestoresTheMinimumSizeWithoutActivating) {
    ui().SetContentSize(kMainWindow, {1200, 900});
    int before = Activations();
    DispatchEvent(MenuEvent(kResetLayoutItem));
    EXPECT_EQ(ui().ContentSize(kMainWindow), (platform::Size{800, 500}));
    EXPECT_EQ(ui().Frame(kEtaLine), (platform::Rect{10, 425, 780, 25}));
    EXPECT_EQ(Activations(), before);
}

TEST_F(EventLoopTest, SizeAndRestoreLayOutAndActivate) {
    ui().UserSetContentSize(kMainWindow, {1000, 450});
    int before = Activations();
    DispatchEvent(platform::WindowEvent(platform::kSizeEvent, kMainWindow));
    EXPECT_EQ(ui().ContentSize(kMainWindow), (platform::Size{1000, 500}));
    EXPECT_EQ(ui().Frame(kClearFilesButton), (platform::Rect{880, 465, 100, 25}));
    EXPECT_EQ(Activations(), before + 1);

    ui().UserSetContentSize(kMainWindow, {1400, 1000});
    DispatchEvent(platform::WindowEvent(platform::kRestoreEvent, kMainWindow));
    EXPECT_EQ(ui().ContentSize(kMainWindow), (platform::Size{800, 500}));
    EXPECT_EQ(ui().Frame(kClearFilesButton), (platform::Rect{680, 465, 100, 25}));
    EXPECT_EQ(Activations(), before + 2);
}

TEST_F(EventLoopTest, UnknownMenuItemsTimersAndUpdateEventsAreIgnored) {
    DispatchEvent(MenuEvent(99));
    DispatchEvent(Event{platform::kTimerEvent, kMainWindow, 1234, 0, 0, {}});
    DispatchEvent(platform::WindowEvent(kUpdateProgressEvent, WindowId::None));
    EXPECT_TRUE(services.alerts.empty());
    EXPECT_EQ(ui().ContentSize(kMainWindow), (platform::Size{800, 500}));
}

TEST_F(EventLoopTest, AnAppearanceChangeKeepsTheStatusLineColours) {
    ui().SetColors(kStatusLine, 0x000000, 0xFFFFFF);
    DispatchEvent(platform::WindowEvent(kAppearanceChangedEvent, WindowId::None));
    auto status = std::get<platform::FieldState>(ui().Control(kStatusLine).fields);
    EXPECT_EQ(status.background, 0xDFFEFFu);
    EXPECT_EQ(status.foreground, 0u);
}

using EventLoopDeathTest = EventLoopTest;

TEST_F(EventLoopDeathTest, QuitAndCloseEndTheProgramWithStatusZero) {
    EXPECT_EXIT(DispatchEvent(MenuEvent(kQuitItem)), ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(DispatchEvent(platform::WindowEvent(platform::kCloseRequestEvent, kMainWindow)),
                ::testing::ExitedWithCode(0), "");
}

TEST_F(EventLoopDeathTest, TheLoopRunsUntilQuit) {
    EXPECT_EXIT(
        {
            Events().Post(MenuEvent(kResetLayoutItem));
            Events().Post(MenuEvent(kQuitItem));
            RunEventLoop();
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace corvane
