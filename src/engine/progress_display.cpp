#include "engine/progress_display.h"

#include <cmath>
#include <mutex>

#include "engine/format_duration.h"
#include "engine/progress_notice.h"
#include "engine/run_state.h"
#include "platform/ui.h"
#include "program/ids.h"
#include "program/settings.h"
#include "program/ui_lock.h"

namespace corvane {

namespace {

using platform::ControlId;
using platform::TheUi;

void HandleEtaNotice(int64_t data) {
    FilesRemaining = NoticeFilesRemaining(data);
    EtaSeconds = NoticeSecondsLeft(data);
    int64_t total = TotalFiles;
    PercentDone = CountsPercent(total, FilesRemaining);
    std::string duration = FormatDuration(EtaSeconds);
    {
        std::lock_guard lock(UiMutex);
        TheUi().SetText(kEtaLine, std::to_string(total) + " total files, " + std::to_string(FilesRemaining) +
                                      " remaining, (" + std::to_string(PercentDone) + "%), " + duration +
                                      " estimated remaining");
    }
    {
        std::lock_guard lock(UiMutex);
        DockBadgeText = ShowDockTime == 1 ? duration : std::to_string(PercentDone) + "%";
        TheUi().SetBadgeLabel(DockBadgeText);
    }
    if (EtaSeconds == 0) {
        // Nothing left to wait for: no badge in either mode.
        std::lock_guard lock(UiMutex);
        TheUi().SetBadgeLabel("");
    }
}

}  // namespace

int64_t CountsPercent(int64_t totalFiles, int64_t filesRemaining) {
    double divisor = totalFiles >= 2 ? static_cast<double>(totalFiles) : 1.0;
    double done = static_cast<double>(totalFiles) - static_cast<double>(filesRemaining);
    return static_cast<int64_t>(std::round(done * 100.0 / divisor));
}

void HandleWorkerProgress(ControlId control, int64_t data, uint64_t runNumber) {
    if (runNumber != CurrentRunNumber) return;
    if (control == kEtaLine) {
        HandleEtaNotice(data);
    } else if (control == kRunProgressBar) {
        std::lock_guard lock(UiMutex);
        TheUi().SetValue(kRunProgressBar, static_cast<int>(data));
    } else if (control == kStatusLine) {
        std::lock_guard lock(UiMutex);
        TheUi().SetText(kStatusLine, StatusText);
    }
}

}  // namespace corvane
