#include "platform/qt/qt_app_filter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "platform/events.h"
#include "platform/qt/qt_mirror.h"
#include "platform/qt/qt_program_ids.h"

namespace corvane::platform {

namespace {

// The menu item of a main-window shortcut, or 0 for any other key.
int ShortcutItem(const QKeyEvent* key) {
    Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    if (modifiers != Qt::ControlModifier) return 0;
    switch (key->key()) {
        case Qt::Key_R:
            return TheProgramIds().resetLayoutItem;
        case Qt::Key_V:
            return TheProgramIds().pasteItem;
        default:
            return 0;
    }
}

}  // namespace

bool MainWindowIsActive() {
    UiMirror* mirror = CurrentMirror();
    QWidget* main = mirror ? mirror->WindowWidget(TheProgramIds().mainWindow) : nullptr;
    return main && QApplication::activeWindow() == main;
}

bool ApplicationFilter::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::ShortcutOverride:
        case QEvent::KeyPress: {
            int item = ShortcutItem(static_cast<QKeyEvent*>(event));
            if (!item || !MainWindowIsActive()) break;
            if (event->type() == QEvent::ShortcutOverride) {
                // Claimed here so that no widget shortcut takes it; the key press that follows is ours.
                event->accept();
                return true;
            }
            if (!static_cast<QKeyEvent*>(event)->isAutoRepeat()) PostProgramMenuEvent(item);
            return true;
        }
        case QEvent::ApplicationPaletteChange:
            if (watched == QCoreApplication::instance() && observingAppearance_) {
                Events().Post(Event{TheProgramIds().appearanceEvent, WindowId::None, 0, 0, 0, {}});
            }
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace corvane::platform
