#include "inputs/clipboard_paste.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

#include "app/event_loop.h"
#include "engine/run_state.h"
#include "inputs/exclusions.h"
#include "inputs_fixture.h"
#include "program/clipboard_state.h"
#include "program/events.h"
#include "program/ui_lock.h"

namespace corvane {
namespace {

using platform::ControlId;

class ClipboardPasteTest : public testing::InputsTest {
  protected:
    void SetUp() override {
        InputsTest::SetUp();
        BuildWindow();
    }
    // The text with every "~" replaced by the home folder.
    std::string Home(const std::string& text) const {
        std::string out;
        for (char c : text) {
            if (c == '~') {
                out += home.Path();
            } else {
                out += c;
            }
        }
        return out;
    }
    void Paste(const std::string& clipboard) {
        services.SetClipboardFromOutside(clipboard);
        PasteFromClipboard();
    }
    // The paste showed the error alert, changed nothing and left the watcher on. The watcher is off while
    // the alert is open.
    void ExpectRefused(const std::string& message) {
        ASSERT_EQ(services.alerts.size(), 1u);
        EXPECT_EQ(services.alerts[0].title, "Error!");
        EXPECT_EQ(services.alerts[0].style, platform::AlertStyle::Error);
        EXPECT_EQ(services.alerts[0].message, message);
        EXPECT_EQ(watchingDuringAlert, std::vector<bool>{false});
        EXPECT_TRUE(ClipboardWatchEnabled);
        EXPECT_EQ(FilePathList, "previous");
        EXPECT_FALSE(WorkerRunning);
        EXPECT_FALSE(ui().IsEnabled(kAbortButton));
        EXPECT_TRUE(ui().IsEnabled(kExclusionsButton));
    }
    void WatchAlerts() {
        FilePathList = "previous";
        services.onAlert = [this](const platform::AlertSpec&) {
            watchingDuringAlert.push_back(ClipboardWatchEnabled);
        };
    }

    std::vector<bool> watchingDuringAlert;
};

// Clipboards without text: an image, or only blanks.
class EmptyClipboardTest : public ClipboardPasteTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(EmptyClipboardTest, ShowsTheEmptyAlertAndTheWatcherStillWorks) {
    WatchAlerts();
    Paste(GetParam());
    ExpectRefused("Clipboard is empty or invalid.\n");

    std::string file = MakeFile("a.txt");
    services.SetClipboardFromOutside(file);
    TickClipboardTimer();
    EXPECT_EQ(FilePathList, file);
    EXPECT_TRUE(WorkerRunning);
}

INSTANTIATE_TEST_SUITE_P(Cases, EmptyClipboardTest, ::testing::Values("", "   "),
                         [](const ::testing::TestParamInfo<const char*>& paramInfo) {
                             return *paramInfo.param ? std::string("Blanks") : std::string("NoText");
                         });

// The same small tree for every case below: "~" in a text stands for the home folder.
class PastedTextTest : public ClipboardPasteTest {
  protected:
    void SetUp() override {
        ClipboardPasteTest::SetUp();
        MakeFile("a.txt", "a");
        MakeFile("b.txt", "b");
        MakeFile("with blank.txt");
        MakeFile("zero.txt", "");
        MakeFile("x.log");
        MakeFile("Prefs/p.txt");
        MakeFile("Prefs/Sub/q.txt");
        MakeFile("F/x.txt");
        MakeFile("Empty/zero.txt", "");
        MakeLink(Path("a.txt"), "link");
        ExcludedDirs = std::string(kDefaultExcludedDirs) + "|" + Path("Prefs");
    }
};

struct RejectedCase {
    const char* name;
    std::string clipboard;
};

void PrintTo(const RejectedCase& c, std::ostream* os) {
    *os << c.name;
}

class RejectedTextTest : public PastedTextTest, public ::testing::WithParamInterface<RejectedCase> {};

TEST_P(RejectedTextTest, ShowsTheNoValidFilesAlert) {
    WatchAlerts();
    Paste(Home(GetParam().clipboard));
    ExpectRefused("No valid files or directories found.\n");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RejectedTextTest,
    ::testing::Values(
        // Each line followed by CR LF keeps its carriage return and names nothing.
        RejectedCase{"CrLfLines", "~/a.txt\r\n~/b.txt\r\n"}, RejectedCase{"ZeroLengthFile", "~/zero.txt"},
        RejectedCase{"LogFile", "~/x.log"}, RejectedCase{"FileInAnExcludedDirectory", "~/Prefs/p.txt"},
        RejectedCase{"FolderInAnExcludedDirectory", "~/Prefs/Sub"},
        RejectedCase{"FolderWithoutKeptFiles", "~/Empty"}, RejectedCase{"MissingPath", "~/missing.txt"},
        RejectedCase{"OnlyEmptyLines", "\n  \n"}, RejectedCase{"TabBeforeAPath", "\t~/a.txt"},
        RejectedCase{"QuotedPath", "\"~/a.txt\""}, RejectedCase{"FileUrl", "file://~/a.txt"},
        // No file name holds a NUL byte; the part before it is another file.
        RejectedCase{"NulInsideAPath", std::string("~/a.txt\0junk", 12)}),
    [](const ::testing::TestParamInfo<RejectedCase>& paramInfo) { return paramInfo.param.name; });

struct AcceptedCase {
    const char* name;
    const char* clipboard;
    const char* fileList;  // the run's file list
};

void PrintTo(const AcceptedCase& c, std::ostream* os) {
    *os << c.name;
}

class AcceptedTextTest : public PastedTextTest, public ::testing::WithParamInterface<AcceptedCase> {};

TEST_P(AcceptedTextTest, RunsOnTheAcceptedPaths) {
    const AcceptedCase& c = GetParam();
    Paste(Home(c.clipboard));
    std::string expected = Home(c.fileList);
    EXPECT_EQ(FilePathList, expected);
    EXPECT_TRUE(services.alerts.empty());
    EXPECT_TRUE(ClipboardWatchEnabled);

    // One row for every non-empty field, in order.
    std::vector<std::string> rows;
    std::string field;
    for (char ch : expected + "\n") {
        if (ch != '\n') {
            field += ch;
        } else if (!field.empty()) {
            rows.push_back(field);
            field.clear();
        }
    }
    PumpUntilRunEnds();
    EXPECT_EQ(ListedNames(), rows);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AcceptedTextTest,
    ::testing::Values(
        AcceptedCase{"BlanksAroundPaths", "   ~/a.txt  \n ~/b.txt ", "~/a.txt\n~/b.txt"},
        AcceptedCase{"BlankInsideAPath", "~/with blank.txt", "~/with blank.txt"},
        AcceptedCase{"LastCrLfLineWithoutLineEnd", "~/a.txt\r\n~/b.txt", "~/b.txt"},
        AcceptedCase{"EmptyAndBlankLinesBetween", "\n~/a.txt\n\n   \n  ~/b.txt\n", "~/a.txt\n~/b.txt"},
        AcceptedCase{"SamePathTwice", "~/a.txt\n~/a.txt", "~/a.txt\n~/a.txt"},
        AcceptedCase{"Folder", "~/F", "~/F/x.txt\n"},
        AcceptedCase{"FolderThenFile", "~/F\n~/a.txt", "~/F/x.txt\n\n~/a.txt"},
        AcceptedCase{"InvalidLinesAmongValid",
                     "~/zero.txt\n~/x.log\n~/Prefs/p.txt\n~/missing\n~/Empty\n~/b.txt\n~/a.txt\r", "~/b.txt"},
        AcceptedCase{"LinkToAFile", "~/link", "~/link"}),
    [](const ::testing::TestParamInfo<AcceptedCase>& paramInfo) { return paramInfo.param.name; });

TEST_F(ClipboardPasteTest, PastePreparesTheControlsForTheRun) {
    std::string file = MakeFile("a.txt");
    for (ControlId id : {kChecksumList, kExportButton, kClearFilesButton, kSearchField, kSearchHelpIcon}) {
        ui().SetEnabled(id, true);
    }
    {
        // Holding the lock keeps the worker from ending the run while the states are read.
        std::lock_guard lock(UiMutex);
        Paste(file);
        EXPECT_TRUE(WorkerRunning);
        ExpectRunStartControls();
    }
    PumpUntilRunEnds();
    EXPECT_EQ(ListedNames(), std::vector<std::string>{file});
}

TEST_F(ClipboardPasteTest, PasteDuringARunReplacesTheFileListButStartsNoSecondRun) {
    for (int i = 0; i < 200; ++i) MakeFile("Many/f" + std::to_string(i) + ".txt");
    std::string next = MakeFile("next.txt");
    Paste(Path("Many"));
    {
        // The first run cannot end while the lock is held.
        std::lock_guard lock(UiMutex);
        ASSERT_TRUE(WorkerRunning);
        Paste(next);
        EXPECT_EQ(FilePathList, next);
        EXPECT_EQ(services.sounds, std::vector<int>{platform::kAlertSound});
        EXPECT_TRUE(ClipboardWatchEnabled);
        EXPECT_TRUE(ui().IsEnabled(kAbortButton));
        EXPECT_FALSE(ui().IsEnabled(kExclusionsButton));
    }
    PumpUntilRunEnds();
    std::vector<std::string> names = ListedNames();
    EXPECT_EQ(names.size(), 200u);
    EXPECT_EQ(std::count(names.begin(), names.end(), next), 0);
    EXPECT_TRUE(services.alerts.empty());
}

TEST_F(ClipboardPasteTest, CtrlVPastesAlsoWhileTheSearchFieldIsInUse) {
    std::string file = MakeFile("a.txt");
    ui().SetEnabled(kSearchField, true);
    ui().UserSetText(kSearchField, "abc");
    services.SetClipboardFromOutside(file);
    DispatchEvent(MenuEvent(kPasteItem));
    EXPECT_EQ(FilePathList, file);
    EXPECT_EQ(ui().Text(kSearchField), "abc");
    PumpUntilRunEnds();
    EXPECT_EQ(ListedNames(), std::vector<std::string>{file});
}

}  // namespace
}  // namespace corvane
