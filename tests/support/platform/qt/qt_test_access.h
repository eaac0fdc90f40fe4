// What tests need to reach the real widgets behind the program's windows and controls.
#pragma once

#include <string>

#include "platform/ids.h"

class QWidget;

namespace corvane::platform {

// The widget of a control or window; nullptr when it has none (yet). GUI thread only.
QWidget* WidgetFor(ControlId id);
QWidget* WindowWidgetFor(WindowId id);
// The widget whose size is the window's content size (the main window's central widget).
QWidget* ContentWidgetFor(WindowId id);
// The badge label last painted on the application icon, and how many badges have been painted.
std::string PaintedBadgeLabel();
int BadgePaintCount();

}  // namespace corvane::platform
