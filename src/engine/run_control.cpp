#include "engine/run_control.h"

#include <chrono>
#include <system_error>
#include <thread>

#include "engine/checksum_algorithm.h"
#include "engine/checksum_worker.h"
#include "engine/run_phase.h"
#include "engine/run_state.h"
#include "platform/events.h"
#include "platform/sounds.h"
#include "platform/ui.h"
#include "program/clipboard_state.h"
#include "program/ids.h"
#include "program/ui_lock.h"

namespace corvane {

namespace {

using platform::TheUi;

// How often a wait for the worker looks whether it has ended.
constexpr auto kWorkerPollInterval = std::chrono::milliseconds(2);
// How long a stop (a new drop, Clear Files, quitting) waits for the worker.
constexpr auto kStopWaitLimit = std::chrono::milliseconds(1000);
// Abort pauses first, then waits this long for the worker.
constexpr auto kAbortPause = std::chrono::milliseconds(100);
constexpr auto kAbortWaitLimit = std::chrono::milliseconds(500);

// The current worker; read and written only by the main thread.
std::shared_ptr<WorkerHandle> WorkerThread;

void AddClipboardTimer() {
    platform::Events().AddTimer(kMainWindow, ClipboardTimer, kClipboardTimerIntervalMs);
}

// Asks the current worker to stop, at its next test.
void RequestStop() {
    AbortRequested = true;
    if (WorkerThread) WorkerThread->stopRequested = true;
}

// Waits until the worker has ended or more than limit has passed, looking every kWorkerPollInterval.
void WaitForWorker(const WorkerHandle& handle, std::chrono::milliseconds limit) {
    auto deadline = std::chrono::steady_clock::now() + limit;
    while (!handle.ended && std::chrono::steady_clock::now() <= deadline) {
        std::this_thread::sleep_for(kWorkerPollInterval);
    }
}

// Starts a new run number. A worker of an older run changes nothing from now on, and the notices it has
// posted are dropped when they come out of the queue. Taken under UiMutex, so a worker is never half-way
// through a change when its run stops counting.
uint64_t NextRunNumber() {
    std::lock_guard lock(UiMutex);
    return ++CurrentRunNumber;
}

}  // namespace

bool HasWorkerThread() {
    return WorkerThread != nullptr;
}

void StartChecksumRun() {
    auto& ui = TheUi();
    if (WorkerRunning) {
        platform::Sounds().PlaySystemSound(platform::kAlertSound);
        return;
    }
    AbortRequested = false;
    if (FilePathList.empty()) {
        ui.SetText(kStatusLine, "Error: No files selected for processing!");
        return;
    }
    // The clipboard watcher pauses while the run is active.
    platform::Events().RemoveTimer(kMainWindow, ClipboardTimer);
    ui.SetText(kStatusLine, "Processing file checksums...");
    ui.SetValue(kRunProgressBar, 0);
    ui.ClearRows(kChecksumList);
    SetControlsForPhase(RunPhase::Started);

    auto params = std::make_unique<ChecksumRunParams>();
    params->Files = FilePathList;
    params->Algorithm = ParseChecksumAlgorithm(ui.SelectedItemText(kAlgorithmPopup));
    auto handle = std::make_shared<WorkerHandle>();
    handle->runNumber = NextRunNumber();
    params->Handle = handle;

    // Set before the thread can run, so that a run that ends at once still leaves it cleared.
    WorkerRunning = true;
    ++LiveWorkers;
    try {
        std::thread(ChecksumWorker, std::move(params)).detach();
        WorkerThread = handle;
    } catch (const std::system_error&) {
        // The record went with the failed start.
        --LiveWorkers;
        WorkerRunning = false;
        WorkerThread.reset();
        ui.SetText(kStatusLine, "Error: Could not start thread!");
    }
}

void StopChecksumRun() {
    if (!WorkerRunning) return;
    RequestStop();
    if (WorkerThread) WaitForWorker(*WorkerThread, kStopWaitLimit);
    // Stopped whether or not the worker has ended. AbortRequested stays set for the caller.
    NextRunNumber();
    WorkerThread.reset();
    WorkerRunning = false;
}

void RerunChecksums() {
    if (FilePathList.empty()) return;
    SetControlsForPhase(RunPhase::Rerun);
    StartChecksumRun();
}

void AbortRun() {
    auto& ui = TheUi();
    platform::Sounds().PlaySystemSound(platform::kAlertSound);
    RequestStop();
    if (WorkerRunning) {
        ui.SetText(kStatusLine, "Cancelling...");
        SetControlsForPhase(RunPhase::Cancelling);
        std::this_thread::sleep_for(kAbortPause);
        if (WorkerThread && WorkerRunning) {
            WaitForWorker(*WorkerThread, kAbortWaitLimit);
            WorkerThread.reset();
            WorkerRunning = false;
        }
    }
    // Also drops what a run that completed just before left in the queue.
    NextRunNumber();
    FilePathList.clear();
    TotalFiles = 0;
    ResetRunDisplay("File processing aborted.");
    SetControlsForPhase(RunPhase::Aborted);
    // The badge of the stopped run would otherwise stay on the icon.
    ui.SetBadgeLabel("");
    WorkerRunning = false;
    WorkerThread.reset();
    AbortRequested = false;
    AddClipboardTimer();
}

void ClearFiles() {
    auto& ui = TheUi();
    StopChecksumRun();
    NextRunNumber();
    FilePathList.clear();
    TotalFiles = 0;
    ResetRunDisplay(kReadyText);
    SetControlsForPhase(RunPhase::Idle);
    ui.SetBadgeLabel("");
    AbortRequested = false;
}

void ResetRunDisplay(const std::string& text) {
    auto& ui = TheUi();
    {
        std::lock_guard lock(UiMutex);
        StatusText = text;
    }
    ui.SetText(kStatusLine, text);
    ui.SetText(kEtaLine, "");
    ui.SetValue(kRunProgressBar, 0);
    ui.ClearRows(kChecksumList);
}

}  // namespace corvane
