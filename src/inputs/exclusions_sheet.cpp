#include "inputs/exclusions_sheet.h"

#include <string>

#include "inputs/exclusions.h"
#include "inputs/exclusions_file.h"
#include "platform/events.h"
#include "platform/text.h"
#include "platform/ui.h"
#include "program/alerts.h"
#include "program/events.h"

namespace corvane {

namespace {

using platform::ControlId;
using platform::ControlKind;
using platform::TheUi;

void BuildSheet() {
    auto& ui = TheUi();
    platform::WindowSpec spec;
    spec.kind = platform::WindowKind::Sheet;
    spec.contentSize = {460, 200};
    spec.parent = kMainWindow;
    ui.CreateWindow(kExclusionsSheet, spec);

    struct Row {
        ControlId id;
        ControlKind kind;
        platform::Rect frame;
        std::string text;
    };
    const Row rows[] = {
        {kExclusionsLabel,
         ControlKind::Label,
         {20, 10, 440, 20},
         "Add / edit directories to exclude (use | to separate each):"},
        {kExclusionsEditor, ControlKind::TextEditor, {20, 30, 420, 110}, ExcludedDirs},
        {kExclusionsCancel, ControlKind::Button, {240, 160, 90, 25}, "Cancel"},
        {kExclusionsSave, ControlKind::Button, {350, 160, 80, 25}, "Save"},
        {kExclusionsDefaults, ControlKind::Button, {20, 160, 90, 25}, "Defaults"},
    };
    for (const Row& row : rows) {
        ui.CreateControl(row.id, {row.kind, kExclusionsSheet, row.frame, row.text});
        if (row.kind == ControlKind::Button) ui.SetBezel(row.id, platform::Bezel::Rounded);
    }
    ui.SetAlignment(kExclusionsLabel, platform::TextAlign::Center);
    ui.SetDefault(kExclusionsSave, true);
}

// A text longer than the limit loses what lies past it, cut between whole characters: a text one unit too
// long drops its last character, a longer paste is cut to the limit as well.
void CheckEditorLength() {
    std::string text = TheUi().Text(kExclusionsEditor);
    size_t kept = BytesWithinUtf16Units(text, kMaxExclusionsLength);
    if (kept == text.size()) return;
    ShowErrorAlert("You have exceeded the allowed length for excluded directories.\n\r");
    TheUi().SetText(kExclusionsEditor, text.substr(0, kept));
}

void Save() {
    ExcludedDirs = TheUi().Text(kExclusionsEditor);
    // A file that cannot be written is not reported; the reload on closing decides the list.
    SaveExclusions(ExcludedDirs);
}

// Waits for the sheet's buttons; false when the sheet is to close.
bool HandleSheetEvent(const platform::Event& event) {
    if (IsQuitRequest(event)) return false;  // Ctrl+Q or the session's end: closed as Cancel would
    if (event.kind != platform::kControlEvent) return true;  // menus, drops, timers, size, close: dropped
    auto control = static_cast<ControlId>(event.object);
    if (control == kExclusionsEditor) {
        if (event.type == platform::kTextChange) CheckEditorLength();
        return true;
    }
    if (control == kExclusionsSave) {
        Save();
        return false;
    }
    if (control == kExclusionsDefaults) {
        TheUi().SetText(kExclusionsEditor, kDefaultExcludedDirs);
        return true;
    }
    return control != kExclusionsCancel;
}

}  // namespace

void EditExclusions() {
    auto& ui = TheUi();
    BuildSheet();
    ui.MakeKeyAndFront(kExclusionsSheet);
    if (ui.WindowExists(kExclusionsSheet)) ui.SetEnabled(kExclusionsButton, false);

    platform::Event event;
    do {
        event = platform::Events().Wait();
    } while (HandleSheetEvent(event));

    ui.CloseWindow(kExclusionsSheet);
    ui.SetEnabled(kExclusionsButton, true);
    LoadExclusions();
    ui.MakeKeyAndFront(kMainWindow);
    // The request to quit is not lost: the main loop ends the program.
    if (IsQuitRequest(event)) platform::Events().Post(event);
}

}  // namespace corvane
