#include "app/clipboard_watcher.h"

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "app/event_loop.h"
#include "engine/run_state.h"
#include "inputs/inputs_fixture.h"
#include "program/clipboard_state.h"
#include "program/events.h"
#include "program/ui_lock.h"

namespace corvane {
namespace {

using testing::WaitUntil;

using KeyPresses = std::vector<std::pair<int, uint64_t>>;

// The key presses of one detected change: Ctrl+V, then the Ctrl key alone.
const KeyPresses kOneChange{{platform::kKeyCodeV, platform::kCommandFlag}, {platform::kKeyCodeCommand, 0}};

class ClipboardWatcherTest : public testing::InputsTest {
  protected:
    void SetUp() override {
        InputsTest::SetUp();
        BuildWindow();
    }
    KeyPresses PostedKeys() const {
        KeyPresses keys;
        for (const auto& press : services.keyPresses) keys.emplace_back(press.keyCode, press.flags);
        return keys;
    }
    static KeyPresses Changes(int count) {
        KeyPresses keys;
        for (int i = 0; i < count; ++i) keys.insert(keys.end(), kOneChange.begin(), kOneChange.end());
        return keys;
    }
    // A left click on a row of the list, which copies its checksum.
    void CopyChecksumOfARow() {
        ui().AppendRow(kChecksumList, {{"/home/u/a.txt", "900150983cd24fb0d6963f7d28e17f72", "3 bytes",
                                        "12/08/26", "\xE2\x9C\x85"},
                                       false,
                                       "/home/u/a.txt"});
        ui().UserSelectRow(kChecksumList, 0);
        DispatchEvent(ControlEvent(kChecksumList, platform::kLeftClick));
        ASSERT_TRUE(SkipNextPaste);
    }
};

TEST_F(ClipboardWatcherTest, ACopiedPathIsPastedOnTheNextTick) {
    TickClipboardTimer();  // nothing has changed since the window was shown
    EXPECT_TRUE(PostedKeys().empty());

    std::string file = MakeFile("a.txt");
    services.SetClipboardFromOutside("  " + file + " ");
    TickClipboardTimer();
    EXPECT_EQ(PostedKeys(), kOneChange);
    EXPECT_EQ(PasteboardChangeCount, services.ClipboardChangeCount());
    EXPECT_EQ(FilePathList, file);
    EXPECT_TRUE(services.launchedApplications.empty());
    PumpUntilRunEnds();
    EXPECT_EQ(ListedNames(), std::vector<std::string>{file});

    TickClipboardTimer();
    EXPECT_EQ(PostedKeys(), kOneChange);
}

// Texts without a "/": the key presses go out, but nothing is pasted and nothing is shown.
struct TextCase {
    const char* name;
    const char* text;
};

void PrintTo(const TextCase& c, std::ostream* os) {
    *os << c.name;
}

class TextWithoutSlashTest : public ClipboardWatcherTest, public ::testing::WithParamInterface<TextCase> {};

TEST_P(TextWithoutSlashTest, PostsTheKeyPressesOnly) {
    MakeFile("a.txt");
    services.SetClipboardFromOutside(GetParam().text);
    TickClipboardTimer();
    EXPECT_EQ(PostedKeys(), kOneChange);
    EXPECT_EQ(FilePathList, "");
    EXPECT_FALSE(WorkerRunning);
    EXPECT_TRUE(services.alerts.empty());
    EXPECT_TRUE(platform::Events().HasTimer(kMainWindow, ClipboardTimer));
}

INSTANTIATE_TEST_SUITE_P(Cases, TextWithoutSlashTest,
                         ::testing::Values(TextCase{"FileName", "a.txt"},
                                           TextCase{"Checksum", "900150983cd24fb0d6963f7d28e17f72"},
                                           TextCase{"Blanks", "   "}, TextCase{"NoText", ""}),
                         [](const ::testing::TestParamInfo<TextCase>& paramInfo) {
                             return paramInfo.param.name;
                         });

TEST_F(ClipboardWatcherTest, TwoChangesBetweenTicksAreHandledOnce) {
    std::string first = MakeFile("first.txt");
    std::string second = MakeFile("second.txt");
    services.SetClipboardFromOutside(first);
    services.SetClipboardFromOutside(second);
    TickClipboardTimer();
    EXPECT_EQ(PostedKeys(), kOneChange);
    EXPECT_EQ(FilePathList, second);
    PumpUntilRunEnds();
    TickClipboardTimer();
    EXPECT_EQ(PostedKeys(), kOneChange);
    EXPECT_EQ(ListedNames(), std::vector<std::string>{second});
}

TEST_F(ClipboardWatcherTest, OurOwnCopyIsNoChange) {
    CopyChecksumOfARow();
    TickClipboardTimer();
    EXPECT_TRUE(PostedKeys().empty());
    EXPECT_TRUE(SkipNextPaste);
}

// After a copy from the list the next paste does nothing, whoever makes it; the one after that works.
class PasteAfterCopyTest : public ClipboardWatcherTest, public ::testing::WithParamInterface<bool> {
  protected:
    void PasteByTheSameWay() {
        if (GetParam()) {
            TickClipboardTimer();
        } else {
            DispatchEvent(MenuEvent(kPasteItem));
        }
    }
};

TEST_P(PasteAfterCopyTest, TheFirstPasteIsSkipped) {
    std::string skipped = MakeFile("skipped.txt");
    std::string pasted = MakeFile("pasted.txt");
    CopyChecksumOfARow();

    services.SetClipboardFromOutside(skipped);
    PasteByTheSameWay();
    EXPECT_FALSE(SkipNextPaste);
    EXPECT_EQ(FilePathList, "");
    EXPECT_FALSE(WorkerRunning);
    EXPECT_TRUE(services.alerts.empty());
    EXPECT_TRUE(services.sounds.empty());
    EXPECT_TRUE(ClipboardWatchEnabled);

    services.SetClipboardFromOutside(pasted);
    PasteByTheSameWay();
    EXPECT_EQ(FilePathList, pasted);
    PumpUntilRunEnds();
    EXPECT_EQ(ListedNames(), std::vector<std::string>{pasted});
}

INSTANTIATE_TEST_SUITE_P(Ways, PasteAfterCopyTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& paramInfo) {
                             return paramInfo.param ? "ByTheWatcher" : "ByCtrlV";
                         });

// A paste takes the clipboard's change along with its text, whoever pastes: the watcher, re-armed when the
// run ends or is aborted, sees no new copy and runs nothing again.
enum class PasteEnd { Completed, Aborted, Refused };

struct PasteCase {
    const char* name;
    bool byCtrlV;
    PasteEnd end;
};

void PrintTo(const PasteCase& c, std::ostream* os) {
    *os << c.name;
}

class PastedTextTest : public ClipboardWatcherTest, public ::testing::WithParamInterface<PasteCase> {};

TEST_P(PastedTextTest, IsNoNewCopyForTheWatcher) {
    for (int i = 0; i < 20; ++i) MakeFile("Copied/f" + std::to_string(i) + ".txt");
    std::string copied = GetParam().end == PasteEnd::Refused ? Path("Copied/missing") : Path("Copied");
    services.SetClipboardFromOutside(copied);
    if (GetParam().byCtrlV) {
        DispatchEvent(MenuEvent(kPasteItem));
    } else {
        TickClipboardTimer();
    }
    EXPECT_EQ(PasteboardChangeCount, services.ClipboardChangeCount());
    if (GetParam().end == PasteEnd::Aborted) {
        DispatchEvent(ControlEvent(kAbortButton, platform::kLeftClick));
    }
    PumpUntilRunEnds();
    size_t keysBefore = services.keyPresses.size();
    size_t alertsBefore = services.alerts.size();
    std::vector<std::string> listed = ListedNames();
    ASSERT_TRUE(platform::Events().HasTimer(kMainWindow, ClipboardTimer));

    TickClipboardTimer();
    EXPECT_EQ(services.keyPresses.size(), keysBefore);
    EXPECT_EQ(services.alerts.size(), alertsBefore);
    EXPECT_FALSE(WorkerRunning);
    PumpUntilRunEnds();
    EXPECT_EQ(ListedNames(), listed);

    // A later copy is still a change.
    std::string next = MakeFile("next.txt");
    services.SetClipboardFromOutside(next);
    TickClipboardTimer();
    EXPECT_EQ(FilePathList, next);
    PumpUntilRunEnds();
    EXPECT_EQ(ListedNames(), std::vector<std::string>{next});
}

INSTANTIATE_TEST_SUITE_P(Cases, PastedTextTest,
                         ::testing::Values(PasteCase{"CtrlVThenCompleted", true, PasteEnd::Completed},
                                           PasteCase{"CtrlVThenAborted", true, PasteEnd::Aborted},
                                           PasteCase{"CtrlVRefused", true, PasteEnd::Refused},
                                           PasteCase{"WatcherThenCompleted", false, PasteEnd::Completed},
                                           PasteCase{"WatcherThenAborted", false, PasteEnd::Aborted}),
                         [](const ::testing::TestParamInfo<PasteCase>& paramInfo) {
                             return paramInfo.param.name;
                         });

TEST_F(ClipboardWatcherTest, IdleDuringARunAndPicksUpAChangeMadeMeanwhileAfterIt) {
    for (int i = 0; i < 100; ++i) MakeFile("Many/f" + std::to_string(i) + ".txt");
    std::string next = MakeFile("next.txt");
    services.SetClipboardFromOutside(Path("Many"));
    TickClipboardTimer();
    {
        // The run cannot end while the lock is held.
        std::lock_guard lock(UiMutex);
        ASSERT_TRUE(WorkerRunning);
        EXPECT_FALSE(platform::Events().HasTimer(kMainWindow, ClipboardTimer));
        services.SetClipboardFromOutside(next);
    }
    PumpUntilRunEnds();
    EXPECT_EQ(PostedKeys(), Changes(1));
    EXPECT_EQ(ListedNames().size(), 100u);
    EXPECT_EQ(services.sounds, std::vector<int>{platform::kCompletionSound});

    // The completed run added the timer again; its first event sees the change.
    ASSERT_TRUE(platform::Events().HasTimer(kMainWindow, ClipboardTimer));
    ASSERT_TRUE(WaitUntil([&] {
        if (auto event = platform::Events().Wait(5)) DispatchEvent(*event);
        return services.keyPresses.size() > 2;
    }));
    EXPECT_EQ(PostedKeys(), Changes(2));
    EXPECT_EQ(FilePathList, next);
    PumpUntilRunEnds();
    EXPECT_EQ(ListedNames(), std::vector<std::string>{next});
}

TEST_F(ClipboardWatcherTest, NothingHappensWhileTheWatcherIsSwitchedOff) {
    std::string file = MakeFile("a.txt");
    services.SetClipboardFromOutside(file);
    ClipboardWatchEnabled = false;
    TickClipboardTimer();
    EXPECT_TRUE(PostedKeys().empty());
    // The change is still seen at the first tick handled afterwards.
    ClipboardWatchEnabled = true;
    TickClipboardTimer();
    EXPECT_EQ(PostedKeys(), kOneChange);
    EXPECT_EQ(FilePathList, file);
}

struct LaunchCase {
    const char* name;
    std::vector<std::string> running;
    bool launched;
};

void PrintTo(const LaunchCase& c, std::ostream* os) {
    *os << c.name;
}

class LaunchTest : public ClipboardWatcherTest, public ::testing::WithParamInterface<LaunchCase> {};

TEST_P(LaunchTest, LaunchesTheProgramOnlyWhenItIsNotRunning) {
    services.runningApplications = GetParam().running;
    services.SetClipboardFromOutside("checksum");
    TickClipboardTimer();
    std::vector<std::string> expected;
    if (GetParam().launched) expected.push_back("Corvane");
    EXPECT_EQ(services.launchedApplications, expected);
    EXPECT_EQ(PostedKeys(), kOneChange);
}

INSTANTIATE_TEST_SUITE_P(Cases, LaunchTest,
                         ::testing::Values(LaunchCase{"Running", {"Other", "Corvane"}, false},
                                           LaunchCase{"NothingRunning", {}, true},
                                           LaunchCase{"OnlyNamesThatDiffer", {"corvane", "Corvane "}, true}),
                         [](const ::testing::TestParamInfo<LaunchCase>& paramInfo) {
                             return paramInfo.param.name;
                         });

}  // namespace
}  // namespace corvane
