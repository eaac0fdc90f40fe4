// Mirrors the retained UI state into real widgets. Changes made on the GUI thread are applied at once;
// changes from other threads are collected and applied by one queued call on the GUI thread, at most once a
// frame, so that a burst of row appends costs one update of the widget, not one call each. The badge is the
// exception: it is painted later, from Qt's event loop, at most a few times a second (see ScheduleBadge).
#pragma once

#include <QPointer>
#include <QWidget>
#include <chrono>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <tuple>

#include "platform/ui.h"

namespace corvane::platform {

class ControlHost;
class WindowHost;

class UiMirror : public UiObserver {
  public:
    UiMirror();
    ~UiMirror() override;

    void OnUiChange(const UiChange& change) override;

    // GUI thread only.
    void DeleteWidgets();
    QWidget* WindowWidget(WindowId id) const;
    QWidget* ControlWidget(ControlId id) const;
    // The badge label last painted on the icons, and how many times one was painted.
    const std::string& PaintedBadge() const { return paintedBadge_; }
    int BadgePaints() const { return badgePaints_; }

  private:
    using Key = std::tuple<int, int, int>;  // what, window, control
    void Apply(const UiChange& change);
    void ScheduleFlush();
    void Flush();
    void CreateWindowWidget(WindowId id);
    void CloseWindowWidget(WindowId id);
    void ApplyWindow(WindowId id);
    void CreateControlWidget(ControlId id);
    void ApplyControl(ControlId id);
    void ApplyRows(ControlId id);
    void ScheduleBadge();
    void PaintBadge();
    ControlHost* Control(ControlId id) const;
    WindowHost* Window(WindowId id) const;

    struct WindowEntry {
        WindowHost* host;
        QPointer<QWidget> widget;
    };
    struct ControlEntry {
        ControlHost* host;
        QPointer<QWidget> widget;
    };
    std::map<WindowId, WindowEntry> windows_;
    std::map<ControlId, ControlEntry> controls_;

    std::mutex pendingMutex_;
    std::set<Key> pending_;
    bool flushQueued_ = false;
    std::chrono::steady_clock::time_point lastFlush_;  // GUI thread only

    // GUI thread only.
    bool badgeQueued_ = false;
    std::string paintedBadge_;
    std::chrono::steady_clock::time_point lastBadgePaint_;
    int badgePaints_ = 0;
};

// The mirror in use (the backend's), for the services and for tests.
UiMirror* CurrentMirror();

}  // namespace corvane::platform
