#include "app/event_loop.h"

#include "app/about.h"
#include "app/appearance.h"
#include "app/clipboard_watcher.h"
#include "app/csv_export.h"
#include "app/layout.h"
#include "app/list_clicks.h"
#include "app/search.h"
#include "app/startup.h"
#include "engine/checksum_algorithm.h"
#include "engine/progress_display.h"
#include "engine/run_control.h"
#include "engine/run_state.h"
#include "inputs/clipboard_paste.h"
#include "inputs/exclusions_sheet.h"
#include "inputs/file_drop.h"
#include "platform/ui.h"
#include "program/alerts.h"
#include "program/clipboard_state.h"
#include "program/events.h"
#include "program/settings.h"

namespace corvane {

namespace {

using platform::ControlId;
using platform::Event;
using platform::TheUi;

void SetMainContentSize(platform::Size size) {
    TheUi().SetContentSize(kMainWindow, size);
}

void HandleSize() {
    LayoutMainWindow();
    TheUi().MakeKeyAndFront(kMainWindow);
}

void HandleMenu(int item) {
    switch (item) {
        case kPasteItem:
            PasteFromClipboard();
            break;
        case kResetLayoutItem:
            SetMainContentSize(kMinimumContentSize);
            LayoutMainWindow();
            break;
        case kAppAboutItem:
            // The About box opens from the queue, and only while no run is active.
            if (!WorkerRunning) platform::Events().Post(MenuEvent(kAboutItem));
            break;
        case kAboutItem:
            ShowAbout();
            break;
        case kQuitItem:
            ShutdownProgram();
        default:
            break;
    }
}

// Control events go to the first control of this order that matches.
void HandleControl(const Event& event) {
    auto control = static_cast<ControlId>(event.object);
    int type = event.type;
    bool notice = type == kWorkerProgress;
    if (control == kChecksumList) {
        if (type == platform::kLeftClick) CopySelectedChecksum();
        if (type == platform::kRightClick) RevealSelectedFile();
    } else if (control == kAlgorithmPopup) {
        if (type == platform::kSelectionChange) HandleAlgorithmChange();
    } else if (control == kShortPathsCheckbox) {
        ToggleShortPaths();
    } else if (control == kDockTimeCheckbox) {
        ToggleDockTime();
    } else if (control == kExclusionsButton) {
        EditExclusions();
    } else if (control == kSearchField) {
        if (type == platform::kTextChange) OnControlTextChange();
    } else if (control == kAbortButton) {
        AbortRun();
    } else if (control == kEtaLine) {
        if (notice) HandleWorkerProgress(control, event.data, event.serial);
    } else if (control == kClearFilesButton) {
        ClearFiles();
    } else if (control == kExportButton) {
        ExportChecksums();
    } else if (control == kRunProgressBar || control == kStatusLine) {
        if (notice) HandleWorkerProgress(control, event.data, event.serial);
    }
    // Help icons, the label and anything else take nothing.
}

}  // namespace

void DispatchEvent(const Event& event) {
    switch (event.kind) {
        case platform::kMenuEvent:
            HandleMenu(event.object);
            break;
        case platform::kCloseRequestEvent:
            if (event.window == kMainWindow) ShutdownProgram();
            break;
        case platform::kControlEvent:
            if (event.window == kMainWindow) HandleControl(event);
            break;
        case platform::kSizeEvent:
            if (event.window == kMainWindow) HandleSize();
            break;
        case platform::kDropEvent:
            if (event.window == kMainWindow) HandleFileDrop(event);
            break;
        case platform::kRestoreEvent:
            if (event.window != kMainWindow) break;
            SetMainContentSize(kMinimumContentSize);
            HandleSize();
            break;
        case platform::kTimerEvent:
            if (event.window == kMainWindow && event.object == ClipboardTimer && ClipboardWatchEnabled) {
                WatchClipboard();
            }
            break;
        case kAppearanceChangedEvent:
            ApplyStatusLineColors();
            break;
        default:
            break;  // everything else, the update window's progress events included
    }
}

void RunEventLoop() {
    for (;;) DispatchEvent(platform::Events().Wait());
}

void HandleAlgorithmChange() {
    auto& ui = TheUi();
    SelectedAlgorithm = ui.SelectedItemText(kAlgorithmPopup);
    WriteStringSetting(kChecksumKey, SelectedAlgorithm);
    if (ParseChecksumAlgorithm(SelectedAlgorithm) == ChecksumAlgorithm::SHA256) {
        // Malware scanning needs full paths; the stored "HideDir" and the box's tick stay as they are.
        UseShortPaths = 0;
        ui.SetEnabled(kShortPathsCheckbox, false);
        ShowInformationalAlert("Malware Scanning Enabled",
                               "Malware scanning is only possible when the 'SHA256' checksum is selected.\n");
    } else {
        ui.SetEnabled(kShortPathsCheckbox, true);
    }
    RerunChecksums();
}

void ToggleShortPaths() {
    UseShortPaths = static_cast<uint8_t>(1 - UseShortPaths);
    TheUi().SetChecked(kShortPathsCheckbox, UseShortPaths == 1);
    WriteIntegerSetting(kHideDirKey, UseShortPaths);
    RerunChecksums();
}

void ToggleDockTime() {
    ShowDockTime = static_cast<uint8_t>(1 - ShowDockTime);
    TheUi().SetChecked(kDockTimeCheckbox, ShowDockTime == 1);
    WriteIntegerSetting(kDockStatusKey, ShowDockTime);
}

}  // namespace corvane
