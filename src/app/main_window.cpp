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
    {ControlId::AlgorithmLabel, ControlKind::Label, {10, 30, 580, 25}, "Choose the checksum algorithm:"},
    {ControlId::ExclusionsButton, ControlKind::Button, {660, 50, 130, 30}, "Exclusions"},
    {ControlId::ExportButton, ControlKind::Button, {480, 50, 170, 30}, "Export Checksums"},
    {ControlId::AlgorithmPopup, ControlKind::Popup, {10, 50, 200, 25}, ""},
    {ControlId::SearchField, ControlKind::SearchField, {560, 5, 190, 24}, ""},
    {ControlId::ClearFilesButton, ControlKind::Button, {660, 460, 130, 25}, "Clear Files"},
    {ControlId::ShortPathsCheckbox, ControlKind::Checkbox, {240, 50, 320, 25}, "Use short file paths"},
    {ControlId::DockTimeCheckbox, ControlKind::Checkbox, {240, 30, 300, 25}, "Show time left on Dock"},
    {ControlId::StatusLine, ControlKind::TextField, {10, 90, 780, 25}, kReadyText},
    {ControlId::ChecksumList, ControlKind::Table, {10, 130, 780, 296}, ""},
    {ControlId::AbortButton, ControlKind::Button, {560, 460, 100, 25}, "Abort"},
    {ControlId::RunProgressBar, ControlKind::ProgressBar, {10, 440, 780, 20}, ""},
    {ControlId::EtaLine, ControlKind::Label, {10, 460, 600, 25}, ""},
    {ControlId::AlgorithmHelpIcon, ControlKind::HelpIcon, {210, 54, 24, 24}, ""},
    {ControlId::ShortPathsHelpIcon, ControlKind::HelpIcon, {384, 54, 24, 24}, ""},
    {ControlId::DockTimeHelpIcon, ControlKind::HelpIcon, {404, 34, 24, 24}, ""},
    {ControlId::SearchHelpIcon, ControlKind::HelpIcon, {760, 10, 24, 24}, ""},
};

void CreateControls() {
    auto& ui = TheUi();
    for (const ControlRow& row : kControls) {
        ui.CreateControl(row.id, {row.kind, platform::WindowId::Main, row.frame, row.text});
        switch (row.id) {
            case ControlId::AlgorithmPopup:
                ui.SetItems(row.id, ChecksumAlgorithmNames());
                ui.SelectItem(row.id, 0);
                break;
            case ControlId::SearchField:
                RegisterSearchField();
                break;
            case ControlId::StatusLine:
                ApplyStatusLineColors();
                break;
            case ControlId::ChecksumList:
                ui.SetItems(row.id, {"File Name", "File Checksum", "File Size", "File Date", "Status"});
                ui.SetColumnWidths(row.id, {360, 200, 80, 80, 50});
                break;
            case ControlId::AlgorithmHelpIcon:
            case ControlId::ShortPathsHelpIcon:
            case ControlId::DockTimeHelpIcon:
            case ControlId::SearchHelpIcon:
                ui.SetImage(row.id, "questionmark.circle.fill", false);
                break;
            default:
                break;
        }
        if (row.kind == ControlKind::Button) {
            // Buttons created 30 high take the square bezel, 25 high the rounded one.
            ui.SetBezel(row.id, row.frame.height == 30 ? platform::Bezel::Square : platform::Bezel::Rounded);
        }
    }
}

void DecorateControls() {
    auto& ui = TheUi();
    ui.SetTooltip(ControlId::AlgorithmHelpIcon, kAlgorithmTooltip);
    ui.SetTooltip(ControlId::ShortPathsHelpIcon, kShortPathsTooltip);
    ui.SetTooltip(ControlId::DockTimeHelpIcon, kDockTimeTooltip);
    ui.SetTooltip(ControlId::SearchHelpIcon, kSearchTooltip);
    const std::pair<ControlId, const char*> images[] = {
        {ControlId::ExportButton, "arrow.down.document"},
        {ControlId::ExclusionsButton, "folder"},
        {ControlId::AbortButton, "stop.fill"},
        {ControlId::ClearFilesButton, "xmark"},
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
    ui.CreateWindow(platform::WindowId::Main, spec);

    std::string bundle = platform::BundlePath();
    ui.SetRepresentedFile(platform::WindowId::Main, bundle.empty() ? "" : bundle + "/");
    ui.SetWindowTitle(platform::WindowId::Main, MainWindowTitle(CountMalwareHashes()));

    platform::Events().AddTimer(platform::WindowId::Main, ClipboardTimer, kClipboardTimerIntervalMs);
    ui.SetAcceptsFileDrops(platform::WindowId::Main, true);

    CreateControls();
    DecorateControls();

    ui.SetChecked(ControlId::DockTimeCheckbox, ShowDockTime == 1);
    ui.SetChecked(ControlId::ShortPathsCheckbox, UseShortPaths == 1);
    ui.SelectItemWithTitle(ControlId::AlgorithmPopup, SelectedAlgorithm);

    ui.MakeKeyAndFront(platform::WindowId::Main);
    PasteboardChangeCount = platform::Clipboard().ClipboardChangeCount();
}

}  // namespace corvane
