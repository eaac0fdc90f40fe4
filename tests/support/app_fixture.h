// A headless program with a fresh home folder and the shared state at its start-up values.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "app/event_loop.h"
#include "app/main_window.h"
#include "app/startup.h"
#include "engine/checksum_worker.h"
#include "engine/run_control.h"
#include "platform/events.h"
#include "platform/headless/headless.h"
#include "platform/ui.h"
#include "program/clipboard_state.h"
#include "program/ids.h"
#include "program/settings.h"
#include "support/temp_home.h"
#include "support/wait_until.h"

namespace corvane::testing {

class AppTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // No test reaches past the loopback: unless a test starts its own export server, the export and the
        // connection probe point at a closed local port.
        setenv("CORVANE_EXPORT_URL", "http://127.0.0.1:9/export/txt/sha256/full/", 1);
        setenv("CORVANE_PROBE_HOST", "127.0.0.1:9", 1);
        InitializeSharedState();
    }

    void TearDown() override {
        StopChecksumRun();
        // A worker left behind must not outlive the state it reads.
        WaitUntil([] { return LiveWorkers == 0; });
    }

    // Handles events as the event loop would until the run's worker has ended and the queue is empty.
    void PumpUntilRunEnds() {
        auto deadline = std::chrono::steady_clock::now() + kHangGuard;
        while (LiveWorkers > 0 && std::chrono::steady_clock::now() < deadline) {
            if (auto event = platform::Events().Wait(5)) DispatchEvent(*event);
        }
        ASSERT_EQ(LiveWorkers, 0) << "the run did not end";
        while (auto event = platform::Events().Wait(0)) DispatchEvent(*event);
    }

    std::vector<std::string> ListedNames() {
        std::vector<std::string> names;
        for (const auto& row : ui().Rows(kChecksumList)) names.push_back(row.cells[0]);
        return names;
    }

    // One event of the clipboard watcher's timer, handled as the event loop handles it.
    static void TickClipboardTimer() {
        DispatchEvent(platform::Event{platform::kTimerEvent, kMainWindow, ClipboardTimer, 0, 0, {}});
    }

    void BuildWindow() {
        ReadSettings();
        BuildMainWindow();
    }

    platform::Ui& ui() { return platform::TheUi(); }

    TempHome home;
    platform::HeadlessServices services;
};

}  // namespace corvane::testing
