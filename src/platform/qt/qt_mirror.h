// Mirrors the retained UI state into real widgets. Changes made on the GUI thread are applied at once;
// changes from other threads are collected and applied by one queued call on the GUI thread, so that a burst
// of row appends costs one update of the widget, not one call each.
#pragma once

#include <QPointer>
#include <QWidget>
#include <map>
#include <mutex>
#include <set>
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

  private:
    using Key = std::tuple<int, int, int>;  // what, window, control
    void Apply(const UiChange& change);
    void Flush();
    void CreateWindowWidget(WindowId id);
    void CloseWindowWidget(WindowId id);
    void ApplyWindow(WindowId id);
    void CreateControlWidget(ControlId id);
    void ApplyControl(ControlId id);
    void ApplyRows(ControlId id);
    void ApplyBadge();
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
};

// The mirror in use (the backend's), for the services and for tests.
UiMirror* CurrentMirror();

}  // namespace corvane::platform
