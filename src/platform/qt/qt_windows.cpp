#include "platform/qt/qt_windows.h"

#include <QCloseEvent>
#include <QCursor>
#include <QDialog>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QUrl>
#include <algorithm>
#include <optional>

#include "platform/events.h"
#include "platform/path_lines.h"
#include "platform/qt/qt_app_menu.h"
#include "platform/qt/qt_fonts.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/qt_window_place.h"
#include "platform/qt/qt_x11_window_hints.h"

namespace corvane::platform {

namespace {

QScreen* ScreenUnderPointer() {
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    return screen ? screen : QGuiApplication::primaryScreen();
}

void CentreOnScreen(QWidget* window, QSize size) {
    QScreen* screen = ScreenUnderPointer();
    if (!screen) return;
    QRect area = screen->availableGeometry();
    window->move(area.center() - QPoint(size.width() / 2, size.height() / 2));
}

// Qt gives the window system the application's name for an empty title; a blank shows an empty one.
QString ShownTitle(const std::string& title) {
    return title.empty() ? QStringLiteral(" ") : ToQString(title);
}

void PostWindowEvent(int kind, WindowId window, int64_t data = 0, std::string text = {}) {
    Events().Post(Event{kind, window, 0, 0, data, std::move(text)});
}

// The main window's central widget: its size is the content size, and its changes are the user's.
class ContentArea : public QWidget {
  public:
    ContentArea(WindowId id, QWidget* parent) : QWidget(parent), id_(id) {}

  protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        Size size{width(), height()};
        // A size the program itself set is already in the state; only other changes are reported.
        if (size == TheUi().ContentSize(id_)) return;
        TheUi().UserSetContentSize(id_, size);
        PostWindowEvent(kSizeEvent, id_);
    }

  private:
    WindowId id_;
};

class DocumentWindow : public QMainWindow, public WindowHost {
  public:
    explicit DocumentWindow(WindowId id) : WindowHost(id), content_(new ContentArea(id, this)) {
        setCentralWidget(content_);
        AddApplicationMenu(menuBar());
    }

    QWidget* Widget() override { return this; }
    QWidget* Content() override { return content_; }

    void Apply(const WindowState& state) override {
        setWindowTitle(ShownTitle(state.title));
        acceptsDrops_ = state.acceptsFileDrops;
        setAcceptDrops(acceptsDrops_);
        QSize wanted(state.contentSize.width, state.contentSize.height);
        // A size set here is reported at once at the place Qt last knew, which after a return is still the
        // maximised or full-screen one: it is not taken for the normal place.
        placing_ = true;
        if (returning_) {
            returning_ = false;
            ReturnToNormalPlace(wanted);
        } else if (content_->size() != wanted || !shown_) {
            SetContentSize(wanted);
        }
        placing_ = false;
    }

    void ShowCentred() {
        CentreOnScreen(this, size());
        show();
        shown_ = true;
    }

  protected:
    void closeEvent(QCloseEvent* event) override {
        // Only the program closes its window: the close button is a request.
        event->ignore();
        PostWindowEvent(kCloseRequestEvent, Id());
    }

    void changeEvent(QEvent* event) override {
        QMainWindow::changeEvent(event);
        if (event->type() != QEvent::WindowStateChange) return;
        if (IsReturn(static_cast<QWindowStateChangeEvent*>(event)->oldState(), windowState())) {
            // The restore event's new size also takes the window back to its place.
            returning_ = true;
            PostWindowEvent(kRestoreEvent, Id());
        }
    }

    void moveEvent(QMoveEvent* event) override {
        QMainWindow::moveEvent(event);
        RememberNormalPlace();
    }

    void resizeEvent(QResizeEvent* event) override {
        QMainWindow::resizeEvent(event);
        RememberNormalPlace();
    }

    void dragEnterEvent(QDragEnterEvent* event) override {
        if (!acceptsDrops_) return;
        event->setDropAction(Qt::CopyAction);
        event->accept();
    }

    void dragMoveEvent(QDragMoveEvent* event) override {
        if (!acceptsDrops_) return;
        event->setDropAction(Qt::CopyAction);
        event->accept();
    }

    void dropEvent(QDropEvent* event) override {
        if (!acceptsDrops_) return;
        std::string paths;
        bool any = false;
        for (const QUrl& url : event->mimeData()->urls()) {
            if (!url.isLocalFile()) continue;
            if (any) paths += '\n';
            AppendPathAsLine(paths, LocalPathOf(url));
            any = true;
        }
        event->setDropAction(Qt::CopyAction);
        event->accept();
        PostWindowEvent(kDropEvent, Id(), any ? 1 : 0, paths);
    }

  private:
    // Restore is for the returns only: leaving full screen, un-maximising, and coming back from minimised
    // while not maximised. Entering full screen or maximised, and coming back into either, keep the size.
    static bool IsReturn(Qt::WindowStates before, Qt::WindowStates now) {
        if (now & Qt::WindowMinimized) return false;
        if ((before & Qt::WindowFullScreen) && !(now & Qt::WindowFullScreen)) return true;
        if (now & (Qt::WindowMaximized | Qt::WindowFullScreen)) return false;
        return (before & (Qt::WindowMaximized | Qt::WindowMinimized)) != 0;
    }

    // Resizes the window so that the area below the menu bar gets the size; the top-left corner stays.
    void SetContentSize(QSize size) { resize(size.width(), size.height() + MenuBarHeight(size.width())); }

    int MenuBarHeight(int width) const {
        QWidget* bar = menuWidget();
        if (!bar) return 0;
        int height = bar->heightForWidth(width);
        return height > 0 ? height : bar->sizeHint().height();
    }

    // Where the window is while it is neither maximised, full screen nor minimised, and where its content
    // lies in the frame. The content's place is kept, since the frame's margins are not known at once after
    // a change of state. A frame that covers the usable screen is a maximised or full-screen one reported
    // before its state.
    void RememberNormalPlace() {
        if (!shown_ || placing_ ||
            (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized))) {
            return;
        }
        QRect frame = frameGeometry();
        QScreen* shownOn = screen();
        if (shownOn && frame.contains(shownOn->availableGeometry())) return;
        normalPlace_ = geometry().topLeft();
        // The margins of a normal window are its widest: right after a return they may still be the narrower
        // ones of the maximised window, or none.
        QPoint offset = geometry().topLeft() - frame.topLeft();
        frameOffset_ = QPoint(std::max(frameOffset_.x(), offset.x()), std::max(frameOffset_.y(), offset.y()));
    }

    // Back from maximised, full screen or minimised: the size wanted at the place the window had before,
    // moved as little as needed to keep the whole title bar on the screen, where the user can take hold of
    // it. The window manager's own choice of place is overridden: it may not have been told of the new size
    // yet and keep the maximised corner.
    void ReturnToNormalPlace(QSize content) {
        QSize size(content.width(), content.height() + MenuBarHeight(content.width()));
        QPoint wanted = normalPlace_.value_or(geometry().topLeft()) - frameOffset_;
        QScreen* target = QGuiApplication::screenAt(wanted);
        if (!target) target = screen() ? screen() : QGuiApplication::primaryScreen();
        if (!target) {
            resize(size);
            return;
        }
        QSize frame(size.width() + 2 * frameOffset_.x(), size.height() + frameOffset_.y());
        QPoint place =
            PlaceWithTitleBarOnScreen(wanted, frame, frameOffset_.y(), target->availableGeometry());
        setGeometry(QRect(place + frameOffset_, size));
    }

    ContentArea* content_;
    bool acceptsDrops_ = false;
    bool shown_ = false;
    bool returning_ = false;             // a restore event is on its way
    bool placing_ = false;               // the program is setting the window's size or place
    std::optional<QPoint> normalPlace_;  // of the content, menu bar included
    QPoint frameOffset_;  // from the frame's corner to the content's: the left border and the title bar
};

// A floating window with a title bar only, above the other windows and of a fixed size: the window manager
// is asked to offer no resizing, minimising, maximising or closing. One that offers them anyway finds the
// close ignored and the window brought straight back from minimised.
class PanelWindow : public QWidget, public WindowHost {
  public:
    explicit PanelWindow(WindowId id)
        : QWidget(nullptr,
                  Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
          WindowHost(id) {}

    QWidget* Widget() override { return this; }
    QWidget* Content() override { return this; }

    void Apply(const WindowState& state) override {
        setWindowTitle(ShownTitle(state.title));
        setFixedSize(state.contentSize.width, state.contentSize.height);
    }

    void Show() {
        winId();  // the native window, whose hints are then replaced before it is mapped
        RequestMoveOnlyDecorations(this);
        show();
    }

  protected:
    void closeEvent(QCloseEvent* event) override { event->ignore(); }

    void changeEvent(QEvent* event) override {
        QWidget::changeEvent(event);
        if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMinimized)) {
            setWindowState(windowState() & ~Qt::WindowMinimized);
        }
    }
};

// A window-modal dialog over its parent; only the program ends it.
class SheetDialog : public QDialog, public WindowHost {
  public:
    SheetDialog(WindowId id, QWidget* parent)
        : QDialog(parent,
                  Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
          WindowHost(id) {
        setWindowModality(Qt::WindowModal);
    }

    QWidget* Widget() override { return this; }
    QWidget* Content() override { return this; }

    void Apply(const WindowState& state) override {
        setWindowTitle(ShownTitle(state.title));
        setFixedSize(state.contentSize.width, state.contentSize.height);
    }

    // Escape and the window manager's close do not end the sheet; its buttons do.
    void reject() override {}

  protected:
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

}  // namespace

void WindowHost::Activate() {
    Widget()->raise();
    Widget()->activateWindow();
}

WindowHost* CreateWindowHost(WindowId id, const WindowState& state, QWidget* parent) {
    switch (state.spec.kind) {
        case WindowKind::Document: {
            auto* window = new DocumentWindow(id);
            window->setFont(ControlFont());
            window->Apply(state);
            window->ShowCentred();
            return window;
        }
        case WindowKind::Panel: {
            auto* panel = new PanelWindow(id);
            panel->setFont(ControlFont());
            panel->Apply(state);
            CentreOnScreen(panel, panel->size());
            panel->Show();
            return panel;
        }
        case WindowKind::Sheet: {
            auto* sheet = new SheetDialog(id, parent);
            sheet->setFont(ControlFont());
            sheet->Apply(state);
            sheet->show();
            return sheet;
        }
    }
    return nullptr;
}

}  // namespace corvane::platform
