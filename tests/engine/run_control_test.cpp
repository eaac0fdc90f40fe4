#include "engine/run_control.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <condition_variable>
#include <map>
#include <mutex>

#include "app/main_window.h"
#include "engine/malware_lookup.h"
#include "engine/progress_display.h"
#include "engine/progress_notice.h"
#include "engine_fixture.h"
#include "malwaredb/database.h"
#include "program/events.h"
#include "program/ids.h"

namespace corvane {
namespace {

using platform::ControlId;
using platform::TheUi;
using testing::EngineTest;
using testing::StatusLineRecorder;
using testing::WaitUntil;

enum Expect { On, Off, Same };

const ControlId kRunControls[] = {
    kChecksumList,     kAlgorithmPopup,   kShortPathsCheckbox, kDockTimeCheckbox, kExportButton,
    kClearFilesButton, kExclusionsButton, kAbortButton,        kSearchField,      kSearchHelpIcon,
};

// One column of the control-state table, in the order of kRunControls.
using Column = std::array<Expect, std::size(kRunControls)>;
//                               list  algo  short dock  export clear excl  abort search help
const Column kRerunColumn = {Off, Off, Off, Same, Off, Off, Off, On, Off, Same};
const Column kStartColumn = {Same, Same, Same, Same, Same, Same, Same, Same, Off, Same};
const Column kCompletedColumn = {On, On, On, On, On, On, On, Off, On, On};
const Column kAbortColumn = {Same, On, On, On, Off, On, On, Off, Off, Off};
const Column kClearColumn = {Off, Same, Same, Same, Off, Off, Same, Off, Off, Off};

class RunControlTest : public EngineTest {
  protected:
    void SetAllControls(bool enabled) {
        for (ControlId id : kRunControls) TheUi().SetEnabled(id, enabled);
    }
    void ExpectColumn(const Column& column, bool before, const char* moment) {
        for (size_t i = 0; i < std::size(kRunControls); ++i) {
            bool expected = column[i] == Same ? before : column[i] == On;
            EXPECT_EQ(TheUi().IsEnabled(kRunControls[i]), expected)
                << moment << ": control " << static_cast<int>(kRunControls[i]) << " from " << before;
        }
    }
    // A run long enough to be stopped: the same small file many times.
    std::string LongList(int count = 5000) {
        std::string a = files_.Write("a", "abc");
        std::string list = a;
        for (int i = 1; i < count; ++i) list += "\n" + a;
        return list;
    }
    void WaitForRows(size_t rows) {
        ASSERT_TRUE(WaitUntil([&] { return TheUi().RowCount(kChecksumList) >= rows; }));
    }
};

// Held on the main thread, the lock keeps the worker from changing anything until the test has looked.
TEST_F(RunControlTest, ReRunAndStartColumns) {
    for (bool before : {true, false}) {
        SetAllControls(before);
        FilePathList = files_.Write("a", "abc");
        {
            std::lock_guard lock(UiMutex);
            RerunChecksums();
            ExpectColumn(kRerunColumn, before, "re-run");
        }
        PumpUntilRunEnds();

        SetAllControls(before);
        {
            std::lock_guard lock(UiMutex);
            StartChecksumRun();
            ExpectColumn(kStartColumn, before, "start");
        }
        PumpUntilRunEnds();
    }
}

TEST_F(RunControlTest, CompletedColumn) {
    for (bool before : {true, false}) {
        SetAllControls(before);
        StartRun(files_.Write("a", "abc"));
        PumpUntilRunEnds();
        ExpectColumn(kCompletedColumn, before, "completed");
    }
}

TEST_F(RunControlTest, AbortAndClearColumnsWithoutARun) {
    for (bool before : {true, false}) {
        SetAllControls(before);
        AbortRun();
        ExpectColumn(kAbortColumn, before, "abort");
        SetAllControls(before);
        ClearFiles();
        ExpectColumn(kClearColumn, before, "clear");
    }
}

TEST_F(RunControlTest, StartShowsTheRunAndPausesTheClipboardWatcher) {
    TheUi().AppendRow(kChecksumList, {});
    TheUi().SetValue(kRunProgressBar, 40);
    TheUi().SetText(kEtaLine, "old counts");
    std::lock_guard lock(UiMutex);
    StartRun(files_.Write("a", "abc"));
    EXPECT_TRUE(WorkerRunning);
    EXPECT_TRUE(HasWorkerThread());
    EXPECT_FALSE(ClipboardTimerActive());
    EXPECT_EQ(TheUi().Text(kStatusLine), "Processing file checksums...");
    EXPECT_EQ(TheUi().Value(kRunProgressBar), 0);
    EXPECT_EQ(TheUi().RowCount(kChecksumList), 0u);
    EXPECT_EQ(TheUi().Text(kEtaLine), "old counts");
}

TEST_F(RunControlTest, StartWithoutFilesOnlyShowsTheError) {
    TheUi().AppendRow(kChecksumList, {});
    TheUi().SetValue(kRunProgressBar, 40);
    AbortRequested = true;
    StartRun("");
    EXPECT_EQ(TheUi().Text(kStatusLine), "Error: No files selected for processing!");
    EXPECT_EQ(TheUi().RowCount(kChecksumList), 1u);
    EXPECT_EQ(TheUi().Value(kRunProgressBar), 40);
    EXPECT_TRUE(ClipboardTimerActive());
    EXPECT_FALSE(WorkerRunning);
    EXPECT_FALSE(AbortRequested);
}

TEST_F(RunControlTest, SecondStartDuringARunOnlySounds) {
    StartRun(LongList(300));
    WaitForRows(1);
    uint64_t run = CurrentRunNumber;
    FilePathList = files_.Write("other", "x");
    StartChecksumRun();
    EXPECT_EQ(services.sounds, (std::vector<int>{platform::kAlertSound}));
    EXPECT_EQ(CurrentRunNumber, run);
    PumpUntilRunEnds();
    EXPECT_EQ(TheUi().RowCount(kChecksumList), 300u);
    EXPECT_EQ(services.sounds, (std::vector<int>{platform::kAlertSound, platform::kCompletionSound}));
}

TEST_F(RunControlTest, AbortDuringARun) {
    StatusLineRecorder statusLine;
    TheUi().SetBadgeLabel("12%");
    StartRun(LongList());
    WaitForRows(3);
    AbortRun();
    EXPECT_EQ(LiveWorkers, 0);

    auto texts = statusLine.Texts();
    auto cancelling = std::find(texts.begin(), texts.end(), "Cancelling...");
    ASSERT_NE(cancelling, texts.end());
    EXPECT_NE(std::find(cancelling, texts.end(), "Cancelled."), texts.end());
    EXPECT_EQ(texts.back(), "File processing aborted.");
    EXPECT_EQ(services.sounds, (std::vector<int>{platform::kAlertSound}));
    EXPECT_TRUE(FilePathList.empty());
    EXPECT_EQ(TotalFiles, 0);
    EXPECT_FALSE(WorkerRunning);
    EXPECT_FALSE(AbortRequested);
    EXPECT_FALSE(HasWorkerThread());
    EXPECT_TRUE(ClipboardTimerActive());
    EXPECT_EQ(TheUi().BadgeLabel(), "");

    // The notices the run posted before it stopped change nothing any more.
    DrainQueue();
    EXPECT_FALSE(notices.empty());
    EXPECT_EQ(TheUi().Text(kStatusLine), "File processing aborted.");
    EXPECT_EQ(TheUi().Text(kEtaLine), "");
    EXPECT_EQ(TheUi().Value(kRunProgressBar), 0);
    EXPECT_EQ(TheUi().RowCount(kChecksumList), 0u);
    EXPECT_EQ(TheUi().BadgeLabel(), "");

    // Nothing is left to run again.
    RerunChecksums();
    EXPECT_FALSE(WorkerRunning);
}

TEST_F(RunControlTest, AbortWithoutARunResetsWithoutWaiting) {
    StatusLineRecorder statusLine;
    FilePathList = "/x";
    TotalFiles = 4;
    TheUi().AppendRow(kChecksumList, {});
    platform::Events().RemoveTimer(kMainWindow, ClipboardTimer);
    AbortRun();
    // "Cancelling..." comes before the wait for a worker; without it there was no wait.
    auto texts = statusLine.Texts();
    EXPECT_EQ(std::find(texts.begin(), texts.end(), "Cancelling..."), texts.end());
    EXPECT_EQ(TheUi().Text(kStatusLine), "File processing aborted.");
    EXPECT_EQ(StatusText, "File processing aborted.");
    EXPECT_EQ(services.sounds, (std::vector<int>{platform::kAlertSound}));
    EXPECT_TRUE(FilePathList.empty());
    EXPECT_EQ(TotalFiles, 0);
    EXPECT_EQ(TheUi().RowCount(kChecksumList), 0u);
    EXPECT_TRUE(ClipboardTimerActive());
}

TEST_F(RunControlTest, ClearAfterACompletedRun) {
    StartRun(files_.Write("a", "abc"));
    PumpUntilRunEnds();
    services.sounds.clear();
    TheUi().SetBadgeLabel("0:05");
    ClearFiles();
    EXPECT_EQ(TheUi().Text(kStatusLine), kReadyText);
    EXPECT_EQ(StatusText, kReadyText);
    EXPECT_EQ(TheUi().Text(kEtaLine), "");
    EXPECT_EQ(TheUi().Value(kRunProgressBar), 0);
    EXPECT_EQ(TheUi().RowCount(kChecksumList), 0u);
    EXPECT_EQ(TheUi().BadgeLabel(), "");
    EXPECT_TRUE(FilePathList.empty());
    EXPECT_EQ(TotalFiles, 0);
    EXPECT_TRUE(services.sounds.empty());
    EXPECT_TRUE(ClipboardTimerActive());
    RerunChecksums();
    EXPECT_FALSE(WorkerRunning);
}

// Clear Files stops the run; the clipboard watcher stays paused until a later run completes.
TEST_F(RunControlTest, ClearDuringARun) {
    StartRun(LongList());
    WaitForRows(2);
    ClearFiles();
    EXPECT_EQ(LiveWorkers, 0);
    EXPECT_FALSE(WorkerRunning);
    EXPECT_FALSE(AbortRequested);
    EXPECT_FALSE(ClipboardTimerActive());
    DrainQueue();
    EXPECT_EQ(TheUi().Text(kStatusLine), kReadyText);
    EXPECT_EQ(TheUi().RowCount(kChecksumList), 0u);
    EXPECT_EQ(TheUi().Text(kEtaLine), "");
}

// The stop used before a new drop: the worker ends within the wait and the next run starts afresh.
TEST_F(RunControlTest, StopThenANewRun) {
    StopChecksumRun();  // no run: nothing happens
    EXPECT_FALSE(AbortRequested);
    StartRun(LongList());
    WaitForRows(1);
    StopChecksumRun();
    EXPECT_EQ(TheUi().Text(kStatusLine), "Cancelled.");
    EXPECT_FALSE(WorkerRunning);
    EXPECT_FALSE(HasWorkerThread());
    EXPECT_EQ(LiveWorkers, 0);
    // The next run starts clear and shows only its own progress.
    StartRun(files_.Write("b", "b"));
    PumpUntilRunEnds();
    EXPECT_EQ(TheUi().RowCount(kChecksumList), 1u);
    EXPECT_EQ(TheUi().Text(kStatusLine), kCompletionText);
    EXPECT_EQ(TheUi().Text(kEtaLine), "1 total files, 0 remaining, (100%), 0:00 estimated remaining");
}

TEST_F(RunControlTest, ReRunWithAnotherAlgorithmRefillsTheList) {
    StartRun(files_.Write("a", "abc"));
    PumpUntilRunEnds();
    EXPECT_EQ(TheUi().Row(kChecksumList, 0)->cells[1], "900150983cd24fb0d6963f7d28e17f72");
    TheUi().SelectItemWithTitle(kAlgorithmPopup, "CRC32");
    RerunChecksums();
    PumpUntilRunEnds();
    ASSERT_EQ(TheUi().RowCount(kChecksumList), 1u);
    EXPECT_EQ(TheUi().Row(kChecksumList, 0)->cells[1], "352441c2");
}

// The run takes the popup's text when it starts; a later change does not reach it.
TEST_F(RunControlTest, RunKeepsTheAlgorithmItStartedWith) {
    std::string a = files_.Write("a", "abc");
    {
        std::lock_guard lock(UiMutex);
        StartRun(a + "\n" + a, "CRC32");
        TheUi().SelectItemWithTitle(kAlgorithmPopup, "MD5");
    }
    PumpUntilRunEnds();
    for (const auto& row : TheUi().Rows(kChecksumList)) EXPECT_EQ(row.cells[1], "352441c2");
}

struct Snapshot {
    std::vector<platform::ListRow> rows;
    std::string status, statusText, eta, badge;
    int progress;
    bool timer, running, abort;
    std::vector<int> sounds;
    std::map<ControlId, bool> enabled;
    int64_t total;

    static Snapshot Take(const platform::HeadlessServices& services) {
        Snapshot s;
        auto& ui = TheUi();
        s.rows = ui.Rows(kChecksumList);
        s.status = ui.Text(kStatusLine);
        {
            std::lock_guard lock(UiMutex);
            s.statusText = StatusText;
        }
        s.eta = ui.Text(kEtaLine);
        s.badge = ui.BadgeLabel();
        s.progress = ui.Value(kRunProgressBar);
        s.timer = platform::Events().HasTimer(kMainWindow, ClipboardTimer);
        s.running = WorkerRunning;
        s.abort = AbortRequested;
        s.sounds = services.sounds;
        for (ControlId id : kRunControls) s.enabled[id] = ui.IsEnabled(id);
        s.total = TotalFiles;
        return s;
    }
    void ExpectSame(const Snapshot& o) const {
        EXPECT_EQ(rows.size(), o.rows.size());
        for (size_t i = 0; i < std::min(rows.size(), o.rows.size()); ++i) {
            EXPECT_EQ(rows[i].cells, o.rows[i].cells);
        }
        EXPECT_EQ(status, o.status);
        EXPECT_EQ(statusText, o.statusText);
        EXPECT_EQ(eta, o.eta);
        EXPECT_EQ(badge, o.badge);
        EXPECT_EQ(progress, o.progress);
        EXPECT_EQ(timer, o.timer);
        EXPECT_EQ(running, o.running);
        EXPECT_EQ(abort, o.abort);
        EXPECT_EQ(sounds, o.sounds);
        EXPECT_EQ(enabled, o.enabled);
        EXPECT_EQ(total, o.total);
    }
};

// Holds look-ups in SQLite's busy handler: MalwareDb is a fresh database file that another connection keeps
// locked, and the handler, called on the looking-up thread while it holds DatabaseMutex, waits for Release.
class HeldLookUp {
  public:
    explicit HeldLookUp(const std::string& path) {
        CloseMalwareDatabase();  // the fixture's empty database, which this one replaces
        sqlite3_open(path.c_str(), &MalwareDb);
        sqlite3_exec(MalwareDb, kCreateTableStatement, nullptr, nullptr, nullptr);
        FindMalwareHash("0");  // prepares the look-up while the file is free
        sqlite3_open(path.c_str(), &locker_);
        sqlite3_exec(locker_, "BEGIN EXCLUSIVE;", nullptr, nullptr, nullptr);
        sqlite3_busy_handler(MalwareDb, &HeldLookUp::Busy, this);
    }
    ~HeldLookUp() {
        Release();
        CloseMalwareDatabase();
    }
    HeldLookUp(const HeldLookUp&) = delete;
    HeldLookUp& operator=(const HeldLookUp&) = delete;

    // True once a look-up waits in the handler; false only when none came for a minute.
    bool WaitUntilReached() {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::minutes(1), [this] { return reached_; });
    }
    void Release() {
        std::lock_guard lock(mutex_);
        if (released_) return;
        sqlite3_exec(locker_, "COMMIT;", nullptr, nullptr, nullptr);
        sqlite3_close(locker_);
        released_ = true;
        changed_.notify_all();
    }

  private:
    static int Busy(void* self, int) {
        auto* held = static_cast<HeldLookUp*>(self);
        std::unique_lock lock(held->mutex_);
        held->reached_ = true;
        held->changed_.notify_all();
        held->changed_.wait(lock, [held] { return held->released_; });
        return 1;  // tries again, now that the file is free
    }

    sqlite3* locker_ = nullptr;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool reached_ = false;
    bool released_ = false;
};

// A worker held up in its look-up outlives the wait. After the wait it changes nothing shared, not even
// the state of the run that started after it, and its notices are dropped.
class OutlivedWorkerTest : public RunControlTest, public ::testing::WithParamInterface<bool> {};

TEST_P(OutlivedWorkerTest, ChangesNothingAfterTheWait) {
    bool useAbort = GetParam();
    std::string a = files_.Write("a", "abc");
    HeldLookUp held(files_.path() + "/signatures.db");
    StartRun(a + "\n" + a + "\n" + a);
    uint64_t lateRun = CurrentRunNumber;
    ASSERT_TRUE(held.WaitUntilReached());

    auto start = std::chrono::steady_clock::now();
    if (useAbort) {
        AbortRun();
    } else {
        StopChecksumRun();
    }
    auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(useAbort ? 600 : 1000));
    EXPECT_EQ(LiveWorkers, 1);
    EXPECT_FALSE(WorkerRunning);
    EXPECT_FALSE(HasWorkerThread());

    // A new run of files whose errors need no look-up completes while the old worker still waits.
    StartRun(files_.path() + "/missing\n" + files_.path() + "/missing2");
    ASSERT_TRUE(WaitUntil([] { return LiveWorkers == 1 && !WorkerRunning; }));
    DrainQueue();
    Snapshot before = Snapshot::Take(services);
    EXPECT_EQ(before.rows.size(), 2u);

    held.Release();
    ASSERT_TRUE(WaitUntil([] { return LiveWorkers == 0; }));
    for (const auto& event : platform::Events().PendingEvents()) EXPECT_NE(event.serial, lateRun);
    DrainQueue();
    Snapshot::Take(services).ExpectSame(before);

    // Its notices, had they come, would be dropped as well.
    HandleWorkerProgress(kStatusLine, 0, lateRun);
    HandleWorkerProgress(kRunProgressBar, 5, lateRun);
    HandleWorkerProgress(kEtaLine, PackEtaNotice(7, 30), lateRun);
    Snapshot::Take(services).ExpectSame(before);
}

INSTANTIATE_TEST_SUITE_P(AbortOrStop, OutlivedWorkerTest, ::testing::Bool());

// The buttons and the algorithm choice reach run control through the event loop's dispatch.
TEST_F(RunControlTest, EventLoopDispatchesTheRunControls) {
    StartRun(files_.Write("a", "abc"));
    PumpUntilRunEnds();

    TheUi().SelectItemWithTitle(kAlgorithmPopup, "CRC32");
    DispatchEvent(ControlEvent(kAlgorithmPopup, platform::kSelectionChange));
    EXPECT_TRUE(WorkerRunning || LiveWorkers > 0);
    PumpUntilRunEnds();
    EXPECT_EQ(TheUi().Row(kChecksumList, 0)->cells[1], "352441c2");

    DispatchEvent(ControlEvent(kClearFilesButton, platform::kLeftClick));
    EXPECT_EQ(TheUi().Text(kStatusLine), kReadyText);
    EXPECT_TRUE(FilePathList.empty());

    services.sounds.clear();
    DispatchEvent(ControlEvent(kAbortButton, platform::kLeftClick));
    EXPECT_EQ(TheUi().Text(kStatusLine), "File processing aborted.");
    EXPECT_EQ(services.sounds, (std::vector<int>{platform::kAlertSound}));
}

}  // namespace
}  // namespace corvane
