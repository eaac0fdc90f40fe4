#include "engine/checksum_worker.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <thread>
#include <vector>

#include "engine/file_checksum.h"
#include "engine/format_duration.h"
#include "engine/list_cells.h"
#include "engine/malware_lookup.h"
#include "engine/progress_notice.h"
#include "engine/run_phase.h"
#include "engine/run_state.h"
#include "engine/status_marks.h"
#include "platform/byte_count.h"
#include "platform/events.h"
#include "platform/file_info.h"
#include "platform/locale.h"
#include "platform/path_lines.h"
#include "platform/sounds.h"
#include "platform/text.h"
#include "platform/ui.h"
#include "program/clipboard_state.h"
#include "program/ids.h"
#include "program/settings.h"
#include "program/ui_lock.h"

namespace corvane {

namespace {

using platform::ControlId;
using platform::TheUi;

using Clock = std::chrono::steady_clock;

// The worker's pause after each field, after which it looks for a stop request.
constexpr auto kPauseBetweenFields = std::chrono::milliseconds(2);

// One run as the worker sees it. Every change of shared state goes through Change, which makes it under
// UiMutex and only while the run is still the current one: once the main thread has stopped waiting for
// this worker (and changed the run number under the same lock), nothing it does reaches the program.
class WorkerRun {
  public:
    explicit WorkerRun(const ChecksumRunParams& params) : handle_(*params.Handle) {}

    bool StopRequested() const { return AbortRequested || handle_.stopRequested; }
    // The end text of the run: the malware database's failure to answer outlasts the row it marked.
    void NoteLookupFailed() { lookupFailed_ = true; }
    const char* EndText() const { return lookupFailed_ ? kLookupFailedText : kCompletionText; }
    bool IsCurrent() const { return CurrentRunNumber == handle_.runNumber; }

    template <typename F>
    void Change(F change) const {
        std::lock_guard lock(UiMutex);
        if (IsCurrent()) change();
    }

    void Post(ControlId control, int64_t data) const {
        if (IsCurrent()) PostWorkerNotice(control, data, handle_.runNumber);
    }

  private:
    const WorkerHandle& handle_;
    bool lookupFailed_ = false;
};

// The paths of the run's fields, each with the line feeds of its name given back.
std::vector<std::string> SplitPaths(const std::string& files) {
    std::vector<std::string> paths;
    for (std::string_view field : SplitAt(files, "\n")) paths.push_back(platform::PathOfLine(field));
    return paths;
}

int64_t ElapsedMs(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// A listed or suspicious file's row is red from the moment it is added.
bool IsRedMark(const std::string& mark) {
    return mark.find(ThreatMark) != std::string::npos || mark.find(SuspiciousMark) != std::string::npos;
}

// Field h of the run: its row (unless the path is blank), then its three notices.
void ProcessField(WorkerRun& run, const std::string& path, std::optional<ChecksumAlgorithm> algorithm,
                  int64_t total, int64_t h, Clock::time_point start) {
    platform::ListRow row;
    platform::FileInfo info = platform::QueryFileInfo(path);
    row.cells[kSizeCell] = platform::FormatByteCount(info.size);
    row.cells[kDateCell] = FormatFileDate(info.modified, platform::LocaleIdentifier());
    ChecksumResult checksum = ComputeChecksum(path, algorithm, [&run] { return run.StopRequested(); });
    if (run.StopRequested()) return;

    int64_t seconds = EstimateSecondsLeft(total, h, ElapsedMs(start));
    // The name is shown as text; the path keeps its bytes for hashing and revealing the file.
    row.cells[kNameCell] = platform::PathAsText(DisplayName(path, UseShortPaths == 1));
    row.cells[kChecksumCell] = ChecksumText(checksum);
    row.cells[kStatusCell] = ErrorMark;
    if (!checksum.failure) {
        // A checksum that could not be looked up stays visible beside the error mark; the end text says why.
        row.cells[kStatusCell] = FindMalwareHash(checksum.hex);
        if (row.cells[kStatusCell] == ErrorMark) run.NoteLookupFailed();
    }
    row.file = path;
    row.red = IsRedMark(row.cells[kStatusCell]);
    run.Change([&] {
        if (!TrimBlanks(path).empty()) TheUi().AppendRow(kChecksumList, row);
    });

    run.Post(kEtaLine, PackEtaNotice(total - h - 1, seconds));
    run.Post(kRunProgressBar, (h + 1) * 100 / total);
    run.Change([&] {
        StatusText =
            "Processing: " + platform::PathAsText(FileNameOf(path)) + " - ETA: " + FormatDuration(seconds);
    });
    run.Post(kStatusLine, 0);
}

// The run completed: the end text, and the window back to the user.
void ShowCompletion(const char* text) {
    auto& ui = TheUi();
    ui.SetText(kStatusLine, text);
    SetControlsForPhase(RunPhase::Completed);
    ui.SetBadgeLabel("");
    platform::Sounds().PlaySystemSound(platform::kCompletionSound);
    platform::Events().AddTimer(kMainWindow, ClipboardTimer, kClipboardTimerIntervalMs);
}

void EndRun(const WorkerRun& run) {
    // Decided once, so that the notices and the display tell the same end.
    bool cancelled = run.StopRequested();
    if (cancelled) {
        run.Change([] { StatusText = "Processing Cancelled"; });
    } else {
        run.Post(kEtaLine, 0);
        run.Post(kRunProgressBar, 100);
        run.Change([&] { StatusText = run.EndText(); });
    }
    run.Post(kStatusLine, 0);
    run.Change([&] {
        if (cancelled) {
            // The side that asked for the stop restores the controls, the badge and the timer.
            TheUi().SetText(kStatusLine, "Cancelled.");
            TheUi().SetValue(kRunProgressBar, 0);
        } else {
            ShowCompletion(run.EndText());
        }
        WorkerRunning = false;
        AbortRequested = false;
    });
}

}  // namespace

void ChecksumWorker(std::unique_ptr<ChecksumRunParams> params) {
    std::shared_ptr<WorkerHandle> handle = params->Handle;
    {
        WorkerRun run(*params);
        std::vector<std::string> paths = SplitPaths(params->Files);
        auto total = static_cast<int64_t>(paths.size());
        run.Change([&] { TotalFiles = total; });
        Clock::time_point start = Clock::now();
        for (int64_t h = 0; h < total; ++h) {
            ProcessField(run, paths[static_cast<size_t>(h)], params->Algorithm, total, h, start);
            std::this_thread::sleep_for(kPauseBetweenFields);
            if (run.StopRequested()) break;
        }
        EndRun(run);
        params.reset();
    }
    handle->ended = true;
    --LiveWorkers;
}

std::string FileNameOf(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string DisplayName(const std::string& path, bool shortNames) {
    if (!shortNames) return path;
    // The folder is the path's second-to-last "/"-separated part; none with fewer than two "/".
    std::string folder;
    size_t last = path.rfind('/');
    if (last != std::string::npos && last > 0) {
        size_t previous = path.rfind('/', last - 1);
        if (previous != std::string::npos) folder = path.substr(previous + 1, last - previous - 1);
    }
    return folder + "/" + FileNameOf(path);
}

std::string FormatFileDate(std::optional<int64_t> modified, const std::string& localeIdentifier) {
    if (!modified) return "Unknown";
    auto time = static_cast<time_t>(*modified);
    struct tm local {};
    if (!localtime_r(&time, &local) || *modified + local.tm_gmtoff < 1) return "Unknown";
    bool monthFirst = localeIdentifier == "en_US" || localeIdentifier == "en_CA";
    char text[32];
    if (strftime(text, sizeof text, monthFirst ? "%m/%d/%y" : "%d-%m-%y", &local) == 0) return "Unknown";
    return text;
}

int64_t EstimateSecondsLeft(int64_t total, int64_t index, int64_t elapsedMs) {
    double seconds = static_cast<double>(total - index - 1) *
                     (static_cast<double>(elapsedMs) / static_cast<double>(index + 1)) / 1000.0;
    // Bounded so that a clock gone wild cannot overflow the conversion; the notice clamps further.
    return static_cast<int64_t>(std::floor(std::clamp(seconds, 0.0, 1e15) + 0.5));
}

}  // namespace corvane
