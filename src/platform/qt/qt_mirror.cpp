#include "platform/qt/qt_mirror.h"

#include <QApplication>
#include <QThread>
#include <QTimer>
#include <vector>

#include "platform/qt/qt_controls.h"
#include "platform/qt/qt_icons.h"
#include "platform/qt/qt_paint_pacer.h"
#include "platform/qt/qt_program_ids.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/qt_windows.h"

namespace corvane::platform {

namespace {
UiMirror* current = nullptr;
// A new badge costs every icon size painted and sent to the window system for each window.
constexpr std::chrono::milliseconds kBadgeInterval{250};
}  // namespace

UiMirror* CurrentMirror() {
    return current;
}

UiMirror::UiMirror() {
    current = this;
}

UiMirror::~UiMirror() {
    if (current == this) current = nullptr;
}

void UiMirror::DeleteWidgets() {
    // The main window last: sheets are children of their parent window and would go with it.
    WindowId main = TheProgramIds().mainWindow;
    std::vector<WindowId> others;
    for (const auto& [id, entry] : windows_) {
        if (id != main) others.push_back(id);
    }
    for (WindowId id : others) CloseWindowWidget(id);
    CloseWindowWidget(main);
}

void UiMirror::OnUiChange(const UiChange& change) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return;  // no widgets exist before the application
    if (QThread::currentThread() == app->thread()) {
        Apply(change);
        return;
    }
    {
        std::lock_guard lock(pendingMutex_);
        pending_.insert({change.what, static_cast<int>(change.window), static_cast<int>(change.control)});
        if (flushQueued_) return;
        flushQueued_ = true;
    }
    QMetaObject::invokeMethod(
        app, [this] { ScheduleFlush(); }, Qt::QueuedConnection);
}

// A worker changes the list for every file, hundreds of times a second; the window shows the changes at
// most once a frame, which is all a screen can show of them.
void UiMirror::ScheduleFlush() {
    auto wait = lastFlush_ + PaintPacer::kFrame - std::chrono::steady_clock::now();
    auto delay = std::chrono::ceil<std::chrono::milliseconds>(wait).count();
    if (delay <= 0) {
        Flush();
    } else {
        QTimer::singleShot(static_cast<int>(delay), QCoreApplication::instance(), [this] { Flush(); });
    }
}

void UiMirror::Flush() {
    lastFlush_ = std::chrono::steady_clock::now();
    std::set<Key> changes;
    {
        std::lock_guard lock(pendingMutex_);
        changes.swap(pending_);
        flushQueued_ = false;
    }
    // The widgets read the state as it is now, so each control needs one update however often it changed.
    for (const auto& [what, window, control] : changes) {
        Apply(UiChange{static_cast<UiChange::What>(what), static_cast<WindowId>(window),
                       static_cast<ControlId>(control)});
    }
}

void UiMirror::Apply(const UiChange& change) {
    switch (change.what) {
        case UiChange::WindowCreated:
            CreateWindowWidget(change.window);
            break;
        case UiChange::WindowClosed:
            CloseWindowWidget(change.window);
            break;
        case UiChange::WindowChanged:
            ApplyWindow(change.window);
            break;
        case UiChange::WindowActivated:
            if (WindowHost* host = Window(change.window)) host->Activate();
            break;
        case UiChange::ControlCreated:
            CreateControlWidget(change.control);
            break;
        case UiChange::ControlChanged:
            ApplyControl(change.control);
            break;
        case UiChange::RowsChanged:
            ApplyRows(change.control);
            break;
        case UiChange::RowRevealed:
            if (ControlHost* host = Control(change.control))
                host->RevealRow(TheUi().RevealedRow(change.control));
            break;
        case UiChange::BadgeChanged:
            ScheduleBadge();
            break;
    }
}

WindowHost* UiMirror::Window(WindowId id) const {
    auto it = windows_.find(id);
    return it != windows_.end() && it->second.widget ? it->second.host : nullptr;
}

ControlHost* UiMirror::Control(ControlId id) const {
    auto it = controls_.find(id);
    return it != controls_.end() && it->second.widget ? it->second.host : nullptr;
}

QWidget* UiMirror::WindowWidget(WindowId id) const {
    WindowHost* host = Window(id);
    return host ? host->Widget() : nullptr;
}

QWidget* UiMirror::ControlWidget(ControlId id) const {
    ControlHost* host = Control(id);
    return host ? host->Widget() : nullptr;
}

void UiMirror::CreateWindowWidget(WindowId id) {
    std::optional<WindowState> state = TheUi().Window(id);
    if (!state) return;
    CloseWindowWidget(id);
    WindowHost* host = CreateWindowHost(id, *state, WindowWidget(state->spec.parent));
    if (!host) return;
    new PaintPacer(host->Widget());
    windows_[id] = {host, host->Widget()};
    // Controls created before the window reached this thread get their widgets now.
    for (ControlId control : TheUi().ControlsOf(id)) CreateControlWidget(control);
}

void UiMirror::CloseWindowWidget(WindowId id) {
    auto it = windows_.find(id);
    if (it == windows_.end()) return;
    WindowEntry entry = it->second;
    windows_.erase(it);
    // The controls are the window's children and go with it.
    std::erase_if(controls_,
                  [&](const auto& item) { return !item.second.widget || item.second.host->Window() == id; });
    if (entry.widget) {
        entry.widget->hide();
        delete entry.host;
    }
}

void UiMirror::ApplyWindow(WindowId id) {
    WindowHost* host = Window(id);
    std::optional<WindowState> state = TheUi().Window(id);
    if (host && state) host->Apply(*state);
}

void UiMirror::CreateControlWidget(ControlId id) {
    if (!TheUi().ControlExists(id) || Control(id)) return;
    ControlState state = TheUi().Control(id);
    WindowHost* window = Window(state.window);
    if (!window) return;
    ControlHost* host = CreateControlHost(id, state, window->Content());
    controls_[id] = {host, host->Widget()};
    host->Apply(state);
    host->Widget()->show();
}

void UiMirror::ApplyControl(ControlId id) {
    ControlHost* host = Control(id);
    if (!host || !TheUi().ControlExists(id)) return;
    host->Apply(TheUi().Control(id));
}

void UiMirror::ApplyRows(ControlId id) {
    if (ControlHost* host = Control(id)) host->SyncRows();
}

// The badge follows the label from Qt's event loop, not from the code that set it: that code may hold the
// program's locks (the worker's notices are handled under one), and a run changes the label for every file.
// One paint at the end of a burst shows the label of that moment; a label set and removed again within one
// burst is never painted.
void UiMirror::ScheduleBadge() {
    if (badgeQueued_) return;
    badgeQueued_ = true;
    auto wait = lastBadgePaint_ + kBadgeInterval - std::chrono::steady_clock::now();
    auto delay = std::max<int64_t>(0, std::chrono::ceil<std::chrono::milliseconds>(wait).count());
    QTimer::singleShot(static_cast<int>(delay), QCoreApplication::instance(), [this] {
        badgeQueued_ = false;
        PaintBadge();
    });
}

void UiMirror::PaintBadge() {
    std::string label = TheUi().BadgeLabel();
    if (label == paintedBadge_) return;
    paintedBadge_ = label;
    lastBadgePaint_ = std::chrono::steady_clock::now();
    ++badgePaints_;
    QIcon icon = label.empty() ? ApplicationIcon() : BadgedApplicationIcon(ToQString(label));
    QApplication::setWindowIcon(icon);
    for (const auto& [id, entry] : windows_) {
        if (entry.widget) entry.widget->setWindowIcon(icon);
    }
}

}  // namespace corvane::platform
