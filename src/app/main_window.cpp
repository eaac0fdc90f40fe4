#include "app/main_window.h"

#include <vector>

#include "app/appearance.h"
#include "app/layout.h"
#include "app/search.h"
#include "engine/checksum_algorithm.h"
#include "engine/run_control.h"
#include "engine/run_phase.h"
#include "malwaredb/database.h"
#include "platform/clipboard.h"
#include "platform/events.h"
#include "platform/locale.h"
#include "platform/paths.h"
#include "platform/ui.h"
#include "program/clipboard_state.h"
#include "program/ids.h"
#include "program/settings.h"

namespace corvane {

namespace {

using platform::ControlId;
using platform::ControlKind;
using platform::TheUi;

const char* const kAlgorithmTooltip =
    "MD5: Fast. Useful for legacy file checksums and low-risk file verification, but now considered "
    "cryptographically insecure compared to other methods.\n\rCRC32: Very fast. Useful for checksums for "
    "files, "
    "error detection in networks, archives, but not secure for cryptographic purposes.\n\rSHA1: Moderate "
    "speed. "
    "More secure than MD5 but also considered less secure for cryptographic purposes.\n\rSHA256: Slower than "
    "MD5/SHA1, but much more secure. Very useful for checksums for files.\n\rSHA512: It is much slower than "
    "the "
    "other types but offers a very high level of security.\n\rNOTE: Switching between any of these will "
    "automatically re-process the current set of files.";
const char* const kShortPathsTooltip =
    "Checking this option hides the file path, so only the directory the current file is contained in "
    "appears "
    "to make it easier to see the filename.\n\rNOTE: Changing this setting will automatically re-process the "
    "current set of files. Exports will ignore this setting and include the full file path.";
const char* const kDockTimeTooltip =
    "Checking this option displays the estimated remaining time left to process the current set of files for "
    "checksums on the Corvane's Dock icon. Unchecking it will display the percentage of files remaining to "
    "be "
    "processed.";
const char* const kSearchTooltip =
    "You can use this field to locate specific directories and files by name. It will start returning "
    "results "
    "once at least 3 matching characters have been typed.";

struct ControlRow {
    ControlId id;
    ControlKind kind;
    platform::Rect frame;
    const char* text;
};

// In creation order: later controls lie above earlier ones.
const ControlRow kControls[] = {
    {kAlgorithmLabel, ControlKind::Label, {10, 30, 580, 25}, "Choose the checksum algorithm:"},
    {kExclusionsButton, ControlKind::Button, {660, 50, 130, 30}, "Exclusions"},
    {kExportButton, ControlKind::Button, {480, 50, 170, 30}, "Export Checksums"},
    {kAlgorithmPopup, ControlKind::Popup, {10, 50, 200, 25}, ""},
    {kSearchField, ControlKind::SearchField, {560, 5, 190, 24}, ""},
    {kClearFilesButton, ControlKind::Button, {660, 460, 130, 25}, "Clear Files"},
    {kShortPathsCheckbox, ControlKind::Checkbox, {240, 50, 320, 25}, "Use short file paths"},
    {kDockTimeCheckbox, ControlKind::Checkbox, {240, 30, 300, 25}, "Show time left on Dock"},
    {kStatusLine, ControlKind::TextField, {10, 90, 780, 25}, kReadyText},
    {kChecksumList, ControlKind::Table, {10, 130, 780, 296}, ""},
    {kAbortButton, ControlKind::Button, {560, 460, 100, 25}, "Abort"},
    {kRunProgressBar, ControlKind::ProgressBar, {10, 440, 780, 20}, ""},
    {kEtaLine, ControlKind::Label, {10, 460, 600, 25}, ""},
    {kAlgorithmHelpIcon, ControlKind::HelpIcon, {210, 54, 24, 24}, ""},
    {kShortPathsHelpIcon, ControlKind::HelpIcon, {384, 54, 24, 24}, ""},
    {kDockTimeHelpIcon, ControlKind::HelpIcon, {404, 34, 24, 24}, ""},
    {kSearchHelpIcon, ControlKind::HelpIcon, {760, 10, 24, 24}, ""},
};

void CreateControls() {
    auto& ui = TheUi();
    for (const ControlRow& row : kControls) {
        ui.CreateControl(row.id, {row.kind, kMainWindow, row.frame, row.text});
        if (row.id == kAlgorithmPopup) {
            ui.SetItems(row.id, ChecksumAlgorithmNames());
            ui.SelectItem(row.id, 0);
        } else if (row.id == kSearchField) {
            RegisterSearchField();
        } else if (row.id == kStatusLine) {
            ApplyStatusLineColors();
        } else if (row.id == kChecksumList) {
            ui.SetItems(row.id, {"File Name", "File Checksum", "File Size", "File Date", "Status"});
            ui.SetColumnWidths(row.id, {360, 200, 80, 80, 50});
        } else if (row.kind == ControlKind::HelpIcon) {
            ui.SetImage(row.id, "questionmark.circle.fill", false);
        }
        if (row.kind == ControlKind::Button) {
            // Buttons created 30 high take the square bezel, 25 high the rounded one.
            ui.SetBezel(row.id, row.frame.height == 30 ? platform::Bezel::Square : platform::Bezel::Rounded);
        }
    }
}

void DecorateControls() {
    auto& ui = TheUi();
    ui.SetTooltip(kAlgorithmHelpIcon, kAlgorithmTooltip);
    ui.SetTooltip(kShortPathsHelpIcon, kShortPathsTooltip);
    ui.SetTooltip(kDockTimeHelpIcon, kDockTimeTooltip);
    ui.SetTooltip(kSearchHelpIcon, kSearchTooltip);
    const std::pair<ControlId, const char*> images[] = {
        {kExportButton, "arrow.down.document"},
        {kExclusionsButton, "folder"},
        {kAbortButton, "stop.fill"},
        {kClearFilesButton, "xmark"},
    };
    for (const auto& [id, image] : images) {
        ui.SetImage(id, image, true);
        ui.SetAlignment(id, platform::TextAlign::Right);
    }
    // No files yet: nothing to list, export, clear, abort or search.
    SetControlsForPhase(RunPhase::Idle);
}

}  // namespace

std::string MainWindowTitle(int hashCount) {
    return kTitlePrefix + platform::FormatGroupedNumber(hashCount) + " hashes";
}

void BuildMainWindow() {
    auto& ui = TheUi();
    platform::WindowSpec spec;
    spec.kind = platform::WindowKind::Document;
    spec.contentSize = kMinimumContentSize;
    spec.transparentTitleBar = true;
    ui.CreateWindow(kMainWindow, spec);

    std::string bundle = platform::BundlePath();
    ui.SetRepresentedFile(kMainWindow, bundle.empty() ? "" : bundle + "/");
    ui.SetWindowTitle(kMainWindow, MainWindowTitle(CountMalwareHashes()));

    platform::Events().AddTimer(kMainWindow, ClipboardTimer, kClipboardTimerIntervalMs);
    ui.SetAcceptsFileDrops(kMainWindow, true);

    CreateControls();
    DecorateControls();

    ui.SetChecked(kDockTimeCheckbox, ShowDockTime == 1);
    ui.SetChecked(kShortPathsCheckbox, UseShortPaths == 1);
    ui.SelectItemWithTitle(kAlgorithmPopup, SelectedAlgorithm);

    ui.MakeKeyAndFront(kMainWindow);
    PasteboardChangeCount = platform::Clipboard().ClipboardChangeCount();
}

}  // namespace corvane
