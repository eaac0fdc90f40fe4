#include "inputs/file_drop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "app/event_loop.h"
#include "engine/checksum_worker.h"
#include "engine/run_control.h"
#include "engine/run_state.h"
#include "inputs/exclusions.h"
#include "inputs_fixture.h"
#include "program/ids.h"
#include "program/ui_lock.h"

namespace corvane {
namespace {

using testing::WaitUntil;

constexpr const char* kStartUpAlert =
    "Corvane will exclude the following directories: \n\r/Applications, /System, /Volumes, /Library, "
    "/Trash\n\rHowever, you still may be able to process individual files from these directories.";

class FileDropTest : public testing::InputsTest {
  protected:
    void SetUp() override {
        InputsTest::SetUp();
        BuildWindow();
    }
    static platform::Event Drop(const std::string& paths, int64_t carriesFileNames = 1) {
        return platform::Event{platform::kDropEvent, kMainWindow, 0, 0, carriesFileNames, paths};
    }
    void ExpectRefusedWithAlert(const std::string& text = kStartUpAlert) {
        EXPECT_EQ(FilePathList, "");
        ASSERT_EQ(services.alerts.size(), 1u);
        EXPECT_EQ(services.alerts[0].title, "Error!");
        EXPECT_EQ(services.alerts[0].style, platform::AlertStyle::Error);
        EXPECT_EQ(services.alerts[0].message, text);
        // No run was prepared.
        EXPECT_FALSE(ui().IsEnabled(kAbortButton));
        EXPECT_TRUE(ui().IsEnabled(kExclusionsButton));
    }
    static std::string Upper(std::string text) {
        std::transform(text.begin(), text.end(), text.begin(),
                       [](unsigned char c) { return std::toupper(c); });
        return text;
    }
};

TEST_F(FileDropTest, FolderEqualToAnExcludedEntryIsRefused) {
    MakeFile("Apps/a.txt");
    ExcludedDirs = "/Applications|" + Upper(Path("Apps"));
    HandleFileDrop(Drop(Path("Apps")));
    ExpectRefusedWithAlert(
        "Corvane will exclude the following directories: \n\r/Applications, " + Upper(Path("Apps")) +
        "\n\rHowever, you still may be able to process individual files from these directories.");
}

struct RefusedCase {
    const char* name;
    const char* file;  // made with content unless empty is set
    bool empty;
    const char* dropped;  // relative to the home folder
};

void PrintTo(const RefusedCase& c, std::ostream* os) {
    *os << c.dropped;
}

class RefusedDropTest : public FileDropTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedDropTest, ShowsTheExclusionsAlert) {
    const RefusedCase& c = GetParam();
    if (*c.file) MakeFile(c.file, c.empty ? "" : "data");
    ExcludedDirs = std::string(kDefaultExcludedDirs) + "|" + Path("Prefs");
    HandleFileDrop(Drop(Path(c.dropped)));
    ExpectRefusedWithAlert(
        "Corvane will exclude the following directories: \n\r/Applications, /System, /Volumes, /Library, "
        "/Trash, " +
        Path("Prefs") +
        "\n\rHowever, you still may be able to process individual files from these directories.");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedDropTest,
    ::testing::Values(RefusedCase{"ZeroLengthFile", "zero.txt", true, "zero.txt"},
                      RefusedCase{"LogFile", "x.log", false, "x.log"},
                      RefusedCase{"FileInExcludedDirectory", "Prefs/a.plist", false, "Prefs/a.plist"},
                      RefusedCase{"FolderUnderAnExcludedDirectory", "Prefs/Caches/a.txt", false,
                                  "Prefs/Caches"},
                      RefusedCase{"EmptyFolder", "Empty/zero", true, "Empty"},
                      RefusedCase{"MissingPath", "", false, "missing.txt"}),
    [](const ::testing::TestParamInfo<RefusedCase>& paramInfo) { return paramInfo.param.name; });

TEST_F(FileDropTest, StartUpListIsShownInTheAlert) {
    HandleFileDrop(Drop(Path("missing")));
    ExpectRefusedWithAlert();
}

TEST_F(FileDropTest, AlertShowsTheListAsStored) {
    ExcludedDirs = " /A|/b ";
    HandleFileDrop(Drop(Path("missing")));
    ExpectRefusedWithAlert(
        "Corvane will exclude the following directories: \n\r /A, /b \n\rHowever, you still may be able to "
        "process "
        "individual files from these directories.");
}

TEST_F(FileDropTest, FolderThenFileLeaveAnEmptyFieldBetween) {
    std::string folder = MakeFolder("F");
    MakeFile("F/a.txt");
    std::string file = MakeFile("single.txt");
    HandleFileDrop(Drop(folder + "\n" + file));
    EXPECT_EQ(FilePathList, folder + "/a.txt\n\n" + file);
    EXPECT_TRUE(services.alerts.empty());
}

TEST_F(FileDropTest, TwoFoldersEndWithAnEmptyField) {
    MakeFile("A/x.txt");
    MakeFile("B/y.txt");
    HandleFileDrop(Drop(Path("A") + "\n" + Path("B")));
    EXPECT_EQ(FilePathList, Path("A/x.txt") + "\n\n" + Path("B/y.txt") + "\n");
}

TEST_F(FileDropTest, ExcludedAndEmptyItemsArePassedOverAmongOthers) {
    MakeFile("Apps/a.txt");
    MakeFile("zero.txt", "");
    MakeFile("x.log");
    std::string kept = MakeFile("kept.txt");
    ExcludedDirs = Path("Apps");
    HandleFileDrop(Drop(Path("Apps") + "\n" + Path("zero.txt") + "\n" + Path("x.log") + "\n" + kept + "\n"));
    EXPECT_EQ(FilePathList, kept);
    EXPECT_TRUE(services.alerts.empty());
}

TEST_F(FileDropTest, EmptyListSkipsTheFolderTest) {
    MakeFile("Apps/a.txt");
    ExcludedDirs = "  ";
    HandleFileDrop(Drop(Path("Apps")));
    EXPECT_EQ(FilePathList, Path("Apps/a.txt") + "\n");
}

TEST_F(FileDropTest, LinkToAFolderIsScannedUnderTheLinksPath) {
    MakeFile("Target/a.txt");
    std::string link = MakeLink(Path("Target"), "link");
    HandleFileDrop(Drop(link));
    EXPECT_EQ(FilePathList, link + "/a.txt\n");
    PumpUntilRunEnds();
    EXPECT_EQ(ListedNames(), std::vector<std::string>{link + "/a.txt"});
}

TEST_F(FileDropTest, SuccessfulDropPreparesTheControlsAndStartsTheRun) {
    MakeFile("a.txt");
    ui().SetEnabled(kChecksumList, true);
    ui().SetEnabled(kExportButton, true);
    ui().SetEnabled(kClearFilesButton, true);
    ui().SetEnabled(kSearchField, true);
    ui().SetEnabled(kSearchHelpIcon, true);
    {
        // Holding the lock keeps the worker from adding rows or ending the run while the states are read.
        std::lock_guard lock(UiMutex);
        HandleFileDrop(Drop(Path("a.txt")));
        EXPECT_TRUE(WorkerRunning);
        ExpectRunStartControls();
    }
    PumpUntilRunEnds();
    EXPECT_EQ(ListedNames(), std::vector<std::string>{Path("a.txt")});
}

TEST_F(FileDropTest, RunCountsTheEmptyFieldsButListsOnlyFiles) {
    MakeFile("F/a.txt");
    std::string file = MakeFile("single.txt");
    HandleFileDrop(Drop(Path("F") + "\n" + file));
    PumpUntilRunEnds();
    EXPECT_EQ(TotalFiles, 3);
    EXPECT_EQ(ListedNames(), (std::vector<std::string>{Path("F/a.txt"), file}));
    EXPECT_FALSE(WorkerRunning);
}

TEST_F(FileDropTest, DropDuringARunStopsItAndStartsTheNewOne) {
    for (int i = 0; i < 1500; ++i) MakeFile("Many/f" + std::to_string(i) + ".txt");
    std::string file = MakeFile("next.txt");
    HandleFileDrop(Drop(Path("Many")));
    ASSERT_TRUE(WorkerRunning);
    ASSERT_TRUE(WaitUntil([] { return platform::TheUi().RowCount(kChecksumList) > 0; }));

    HandleFileDrop(Drop(file));
    EXPECT_EQ(FilePathList, file);
    EXPECT_TRUE(WorkerRunning);

    PumpUntilRunEnds();
    EXPECT_EQ(ListedNames(), std::vector<std::string>{file});
    EXPECT_TRUE(services.alerts.empty());
}

TEST_F(FileDropTest, RefusedDropDuringARunStillStopsItAndClearsTheList) {
    for (int i = 0; i < 1500; ++i) MakeFile("Many/f" + std::to_string(i) + ".txt");
    HandleFileDrop(Drop(Path("Many")));
    ASSERT_TRUE(WorkerRunning);
    HandleFileDrop(Drop(Path("missing.txt")));
    EXPECT_FALSE(WorkerRunning);
    EXPECT_EQ(services.alerts.size(), 1u);
    // Rows the stopped worker was still adding are dropped; the list stays empty.
    ASSERT_TRUE(WaitUntil([] { return LiveWorkers == 0; }));
    EXPECT_EQ(ui().RowCount(kChecksumList), 0u);
}

TEST_F(FileDropTest, DropWithoutFileNamesOnlySounds) {
    ui().AppendRow(kChecksumList, {});
    FilePathList = "previous";
    HandleFileDrop(Drop(Path("a.txt"), 0));
    EXPECT_EQ(services.sounds, std::vector<int>{platform::kAlertSound});
    EXPECT_TRUE(services.alerts.empty());
    EXPECT_EQ(FilePathList, "previous");
    EXPECT_EQ(ui().RowCount(kChecksumList), 0u);
}

TEST_F(FileDropTest, EveryDropClearsTheList) {
    ui().AppendRow(kChecksumList, {});
    HandleFileDrop(Drop(Path("missing")));
    EXPECT_EQ(ui().RowCount(kChecksumList), 0u);
}

TEST_F(FileDropTest, EventLoopHandsMainWindowDropsOver) {
    std::string file = MakeFile("a.txt");
    DispatchEvent(platform::Event{platform::kDropEvent, kUpdateWindow, 0, 0, 1, file});
    EXPECT_EQ(FilePathList, "");
    DispatchEvent(Drop(file));
    EXPECT_EQ(FilePathList, file);
}

}  // namespace
}  // namespace corvane
