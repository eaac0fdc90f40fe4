// What Qt's window flags cannot say to an X11 window manager: that a titled window may be moved but
// neither resized, minimised, maximised nor closed.
#pragma once

class QWidget;

namespace corvane::platform {

// Replaces the Motif hints Qt wrote for the top-level widget (which always allow resizing) with a title bar
// and a border only, and moving as the one function. Does nothing when Qt does not run on X11. Call it
// after the native window exists and again whenever Qt may have written its own hints (a change of flags).
void RequestMoveOnlyDecorations(QWidget* window);

}  // namespace corvane::platform
