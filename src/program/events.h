// The program's own numbers on the event queue: its menu items, its control event type and its events, and
// the events it posts for its main window.
#pragma once

#include <cstdint>

#include "platform/events.h"
#include "platform/program_ids.h"
#include "program/ids.h"

namespace corvane {

// Menu items, as the menu event's object.
enum MenuItem : int {
    kAboutItem = 0,          // posted by the event loop itself
    kResetLayoutItem = 168,  // Ctrl+R
    kPasteItem = 172,        // Ctrl+V
    kAppAboutItem = -3,      // the application menu's About
    kQuitItem = -4,          // the application menu's Quit, Ctrl+Q and the session's end
};

// The control event type of the worker's notices.
constexpr int kWorkerProgress = 144;

// Program events.
constexpr int kAppearanceChangedEvent = 66136;
constexpr int kUpdateProgressEvent = 66236;

// Ctrl+Q, the menu's Quit or the session's end.
inline bool IsQuitRequest(const platform::Event& event) {
    return event.kind == platform::kMenuEvent && event.object == kQuitItem;
}

// Menu events belong to the main window.
inline platform::Event MenuEvent(int item) {
    return platform::MakeMenuEvent(item, kMainWindow);
}
inline platform::Event ControlEvent(platform::ControlId control, int type, int64_t data = 0,
                                    platform::WindowId window = kMainWindow) {
    return platform::MakeControlEvent(control, type, data, window);
}

// What the backend is told at set-up: which window is the main one and which numbers it posts for the
// desktop's own menu, shortcuts and notices.
inline platform::ProgramIds BackendIds() {
    return {.mainWindow = kMainWindow,
            .aboutItem = kAppAboutItem,
            .quitItem = kQuitItem,
            .pasteItem = kPasteItem,
            .resetLayoutItem = kResetLayoutItem,
            .appearanceEvent = kAppearanceChangedEvent};
}

}  // namespace corvane
