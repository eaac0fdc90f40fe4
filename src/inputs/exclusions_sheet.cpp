#include "inputs/exclusions_sheet.h"

#include <string>

#include "inputs/exclusions.h"
#include "inputs/exclusions_file.h"
#include "platform/events.h"
#include "platform/text.h"
#include "platform/ui.h"
#include "program/alerts.h"

namespace corvane {

namespace {

using platform::ControlId;
using platform::ControlKind;
using platform::TheUi;
using platform::WindowId;

void BuildSheet() {
    auto& ui = TheUi();
    platform::WindowSpec spec;
    spec.kind = platform::WindowKind::Sheet;
    spec.contentSize = {460, 200};
    spec.parent = WindowId::Main;
    ui.CreateWindow(WindowId::ExclusionsSheet, spec);

    struct Row {
        ControlId id;
        ControlKind kind;
        platform::Rect frame;
        std::string text;
    };
    const Row rows[] = {
        {ControlId::ExclusionsLabel,
         ControlKind::Label,
         {20, 10, 440, 20},
         "Add / edit directories to exclude (use | to separate each):"},
        {ControlId::ExclusionsEditor, ControlKind::TextEditor, {20, 30, 420, 110}, ExcludedDirs},
        {ControlId::ExclusionsCancel, ControlKind::Button, {240, 160, 90, 25}, "Cancel"},
        {ControlId::ExclusionsSave, ControlKind::Button, {350, 160, 80, 25}, "Save"},
        {ControlId::ExclusionsDefaults, ControlKind::Button, {20, 160, 90, 25}, "Defaults"},
    };
    for (const Row& row : rows) {
        ui.CreateControl(row.id, {row.kind, WindowId::ExclusionsSheet, row.frame, row.text});
        if (row.kind == ControlKind::Button) ui.SetBezel(row.id, platform::Bezel::Rounded);
    }
    ui.SetAlignment(ControlId::ExclusionsLabel, platform::TextAlign::Center);
    ui.SetDefault(ControlId::ExclusionsSave, true);
}

// A text longer than the limit loses what lies past it, cut between whole characters: a text one unit too
// long drops its last character, a longer paste is cut to the limit as well.
void CheckEditorLength() {
    std::string text = TheUi().Text(ControlId::ExclusionsEditor);
    size_t kept = BytesWithinUtf16Units(text, kMaxExclusionsLength);
    if (kept == text.size()) return;
    ShowErrorAlert("You have exceeded the allowed length for excluded directories.\n\r");
    TheUi().SetText(ControlId::ExclusionsEditor, text.substr(0, kept));
}

void Save() {
    ExcludedDirs = TheUi().Text(ControlId::ExclusionsEditor);
    // A file that cannot be written is not reported; the reload on closing decides the list.
    SaveExclusions(ExcludedDirs);
}

// Waits for the sheet's buttons; false when the sheet is to close.
bool HandleSheetEvent(const platform::Event& event) {
    if (platform::IsQuitRequest(event)) return false;  // Ctrl+Q or the session's end: closed as Cancel would
    if (event.kind != platform::kControlEvent) return true;  // menus, drops, timers, size, close: dropped
    switch (static_cast<ControlId>(event.object)) {
        case ControlId::ExclusionsEditor:
            if (event.type == platform::kTextChange) CheckEditorLength();
            return true;
        case ControlId::ExclusionsSave:
            Save();
            return false;
        case ControlId::ExclusionsDefaults:
            TheUi().SetText(ControlId::ExclusionsEditor, kDefaultExcludedDirs);
            return true;
        case ControlId::ExclusionsCancel:
            return false;
        default:
            return true;
    }
}

}  // namespace

void EditExclusions() {
    auto& ui = TheUi();
    BuildSheet();
    ui.MakeKeyAndFront(WindowId::ExclusionsSheet);
    if (ui.WindowExists(WindowId::ExclusionsSheet)) ui.SetEnabled(ControlId::ExclusionsButton, false);

    platform::Event event;
    do {
        event = platform::Events().Wait();
    } while (HandleSheetEvent(event));

    ui.CloseWindow(WindowId::ExclusionsSheet);
    ui.SetEnabled(ControlId::ExclusionsButton, true);
    LoadExclusions();
    ui.MakeKeyAndFront(WindowId::Main);
    // The request to quit is not lost: the main loop ends the program.
    if (platform::IsQuitRequest(event)) platform::Events().Post(event);
}

}  // namespace corvane
