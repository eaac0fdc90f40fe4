#include "platform/qt/qt_window_place.h"

#include <algorithm>

namespace corvane::platform {

QPoint PlaceWithTitleBarOnScreen(QPoint wanted, QSize frame, int titleHeight, const QRect& available) {
    int rightmost = std::max(available.left(), available.left() + available.width() - frame.width());
    int lowest = std::max(available.top(), available.top() + available.height() - std::max(titleHeight, 0));
    return {std::clamp(wanted.x(), available.left(), rightmost),
            std::clamp(wanted.y(), available.top(), lowest)};
}

}  // namespace corvane::platform
