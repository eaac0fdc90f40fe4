// What the program calls the things a backend acts on or posts by itself: the main window, over which
// dialogs open and to which the desktop's menu and shortcuts go, the menu items of the application menu and
// the shortcuts, and the event of an appearance change. The program names them when it sets up the backend.
#pragma once

#include "platform/ids.h"

namespace corvane::platform {

struct ProgramIds {
    WindowId mainWindow = WindowId::None;
    int aboutItem = 0;        // the application menu's About
    int quitItem = 0;         // the application menu's Quit, Ctrl+Q and the session's end
    int pasteItem = 0;        // Ctrl+V in the main window, and a synthetic paste
    int resetLayoutItem = 0;  // Ctrl+R in the main window
    int appearanceEvent = 0;  // the event kind posted when the desktop's appearance changes
};

}  // namespace corvane::platform
