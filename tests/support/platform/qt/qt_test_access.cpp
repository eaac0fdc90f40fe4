#include "platform/qt/qt_test_access.h"

#include <QMainWindow>

#include "platform/qt/qt_mirror.h"

namespace corvane::platform {

QWidget* WidgetFor(ControlId id) {
    UiMirror* mirror = CurrentMirror();
    return mirror ? mirror->ControlWidget(id) : nullptr;
}

QWidget* WindowWidgetFor(WindowId id) {
    UiMirror* mirror = CurrentMirror();
    return mirror ? mirror->WindowWidget(id) : nullptr;
}

QWidget* ContentWidgetFor(WindowId id) {
    QWidget* window = WindowWidgetFor(id);
    if (auto* main = qobject_cast<QMainWindow*>(window)) return main->centralWidget();
    return window;
}

std::string PaintedBadgeLabel() {
    UiMirror* mirror = CurrentMirror();
    return mirror ? mirror->PaintedBadge() : std::string();
}

int BadgePaintCount() {
    UiMirror* mirror = CurrentMirror();
    return mirror ? mirror->BadgePaints() : 0;
}

}  // namespace corvane::platform
