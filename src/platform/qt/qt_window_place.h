// Where a window goes when it comes back from maximised, full screen or minimised.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace corvane::platform {

// The top-left corner of the window's frame at `wanted`, moved as little as needed to put the whole title bar
// (the frame's width, titleHeight high) inside `available`, the usable part of the screen. A title bar wider
// than the screen starts at its left edge.
QPoint PlaceWithTitleBarOnScreen(QPoint wanted, QSize frame, int titleHeight, const QRect& available);

}  // namespace corvane::platform
