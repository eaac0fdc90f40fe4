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
#include "program/settings.h"

namespace corvane {

namespace {

using platform::ControlId;
using platform::Event;
using platform::TheUi;
using platform::WindowId;

void SetMainContentSize(platform::Size size) {
    TheUi().SetContentSize(WindowId::Main, size);
}

void HandleSize() {
    LayoutMainWindow();
    TheUi().MakeKeyAndFront(WindowId::Main);
}

void HandleMenu(int item) {
    switch (item) {
        case platform::kPasteItem:
            PasteFromClipboard();
            break;
        case platform::kResetLayoutItem:
            SetMainContentSize(kMinimumContentSize);
            LayoutMainWindow();
            break;
        case platform::kAppAboutItem:
            // The About box opens from the queue, and only while no run is active.
            if (!WorkerRunning) platform::Events().Post(platform::MenuEvent(platform::kAboutItem));
            break;
        case platform::kAboutItem:
            ShowAbout();
            break;
        case platform::kQuitItem:
            ShutdownProgram();
        default:
            break;
    }
}

// Control events go to the first control of this order that matches.
void HandleControl(const Event& event) {
    auto control = static_cast<ControlId>(event.object);
    int type = event.type;
    bool notice = type == platform::kWorkerProgress;
    switch (control) {
        case ControlId::ChecksumList:
            if (type == platform::kLeftClick) CopySelectedChecksum();
            if (type == platform::kRightClick) RevealSelectedFile();
            break;
        case ControlId::AlgorithmPopup:
            if (type == platform::kSelectionChange) HandleAlgorithmChange();
            break;
        case ControlId::ShortPathsCheckbox:
            ToggleShortPaths();
            break;
        case ControlId::DockTimeCheckbox:
            ToggleDockTime();
            break;
        case ControlId::ExclusionsButton:
            EditExclusions();
            break;
        case ControlId::SearchField:
            if (type == platform::kTextChange) OnControlTextChange();
            break;
        case ControlId::AbortButton:
            AbortRun();
            break;
        case ControlId::EtaLine:
            if (notice) HandleWorkerProgress(control, event.data, event.serial);
            break;
        case ControlId::ClearFilesButton:
            ClearFiles();
            break;
        case ControlId::ExportButton:
            ExportChecksums();
            break;
        case ControlId::RunProgressBar:
        case ControlId::StatusLine:
            if (notice) HandleWorkerProgress(control, event.data, event.serial);
            break;
        default:
            break;  // help icons, the label and anything else
    }
}

}  // namespace

void DispatchEvent(const Event& event) {
    switch (event.kind) {
        case platform::kMenuEvent:
            HandleMenu(event.object);
            break;
        case platform::kCloseRequestEvent:
            if (event.window == WindowId::Main) ShutdownProgram();
            break;
        case platform::kControlEvent:
            if (event.window == WindowId::Main) HandleControl(event);
            break;
        case platform::kSizeEvent:
            if (event.window == WindowId::Main) HandleSize();
            break;
        case platform::kDropEvent:
            if (event.window == WindowId::Main) HandleFileDrop(event);
            break;
        case platform::kRestoreEvent:
            if (event.window != WindowId::Main) break;
            SetMainContentSize(kMinimumContentSize);
            HandleSize();
            break;
        case platform::kTimerEvent:
            if (event.window == WindowId::Main && event.object == ClipboardTimer && ClipboardWatchEnabled) {
                WatchClipboard();
            }
            break;
        case platform::kAppearanceChangedEvent:
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
    SelectedAlgorithm = ui.SelectedItemText(ControlId::AlgorithmPopup);
    WriteStringSetting(kChecksumKey, SelectedAlgorithm);
    if (ParseChecksumAlgorithm(SelectedAlgorithm) == ChecksumAlgorithm::SHA256) {
        // Malware scanning needs full paths; the stored "HideDir" and the box's tick stay as they are.
        UseShortPaths = 0;
        ui.SetEnabled(ControlId::ShortPathsCheckbox, false);
        ShowInformationalAlert("Malware Scanning Enabled",
                               "Malware scanning is only possible when the 'SHA256' checksum is selected.\n");
    } else {
        ui.SetEnabled(ControlId::ShortPathsCheckbox, true);
    }
    RerunChecksums();
}

void ToggleShortPaths() {
    UseShortPaths = static_cast<uint8_t>(1 - UseShortPaths);
    TheUi().SetChecked(ControlId::ShortPathsCheckbox, UseShortPaths == 1);
    WriteIntegerSetting(kHideDirKey, UseShortPaths);
    RerunChecksums();
}

void ToggleDockTime() {
    ShowDockTime = static_cast<uint8_t>(1 - ShowDockTime);
    TheUi().SetChecked(ControlId::DockTimeCheckbox, ShowDockTime == 1);
    WriteIntegerSetting(kDockStatusKey, ShowDockTime);
}

}  // namespace corvane
