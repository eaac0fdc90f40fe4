// A headless main window for driving runs: the handlers are called directly and the event queue is pumped
// through the event loop's dispatch until the run has ended.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/event_loop.h"
#include "app/main_window.h"
#include "app/startup.h"
#include "engine/checksum_worker.h"
#include "engine/run_control.h"
#include "engine/run_state.h"
#include "malwaredb/database.h"
#include "platform/events.h"
#include "platform/headless/headless.h"
#include "platform/ui.h"
#include "program/clipboard_state.h"
#include "program/events.h"
#include "program/ui_lock.h"
#include "support/temp_folder.h"
#include "support/wait_until.h"

namespace corvane::testing {

// Records what the status line showed, in order, including changes the worker made.
class StatusLineRecorder : public platform::UiObserver {
  public:
    StatusLineRecorder() { platform::TheUi().SetObserver(this); }
    ~StatusLineRecorder() override { platform::TheUi().SetObserver(nullptr); }
    void OnUiChange(const platform::UiChange& change) override {
        if (change.control != kStatusLine) return;
        std::lock_guard lock(mutex_);
        texts_.push_back(platform::TheUi().Text(kStatusLine));
    }
    std::vector<std::string> Texts() {
        std::lock_guard lock(mutex_);
        return texts_;
    }

  private:
    std::mutex mutex_;
    std::vector<std::string> texts_;
};

class EngineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("HOME", home_.path().c_str(), 1);
        InitializeSharedState();
        BuildMainWindow();
        // The program always has its malware database open; an empty one lists nothing.
        sqlite3_open(":memory:", &MalwareDb);
        RunDatabaseRequest(kCreateTableStatement);
    }

    void TearDown() override {
        // A worker left behind must not outlive the state it reads.
        WaitUntil([] { return LiveWorkers == 0; });
        CloseMalwareDatabase();
    }

    // Dispatches events until the run's worker has ended and the queue holds no more notices.
    void PumpUntilRunEnds() {
        auto deadline = std::chrono::steady_clock::now() + kHangGuard;
        while (LiveWorkers > 0 && std::chrono::steady_clock::now() < deadline) {
            if (auto event = platform::Events().Wait(5)) Dispatch(*event);
        }
        ASSERT_EQ(LiveWorkers, 0) << "the run did not end";
        DrainQueue();
    }

    void DrainQueue() {
        while (auto event = platform::Events().Wait(0)) Dispatch(*event);
    }

    void Dispatch(const platform::Event& event) {
        if (event.kind == platform::kControlEvent && event.type == kWorkerProgress) {
            notices.push_back(event);
        }
        DispatchEvent(event);
    }

    void StartRun(const std::string& files, const std::string& algorithm = "MD5") {
        FilePathList = files;
        platform::TheUi().SelectItemWithTitle(kAlgorithmPopup, algorithm);
        StartChecksumRun();
    }

    std::vector<platform::Event> NoticesFor(platform::ControlId control) const {
        std::vector<platform::Event> out;
        for (const auto& e : notices) {
            if (e.object == static_cast<int>(control)) out.push_back(e);
        }
        return out;
    }

    static bool ClipboardTimerActive() { return platform::Events().HasTimer(kMainWindow, ClipboardTimer); }

    platform::HeadlessServices services;
    TempFolder home_;
    TempFolder files_;
    std::vector<platform::Event> notices;  // every worker notice dispatched, in order
};

}  // namespace corvane::testing
