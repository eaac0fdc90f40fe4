// The real windows: the document window (the main window), the floating panel and the window-modal sheet.
#pragma once

#include <QWidget>

#include "platform/ids.h"
#include "platform/ui.h"

namespace corvane::platform {

class WindowHost {
  public:
    explicit WindowHost(WindowId id) : id_(id) {}
    virtual ~WindowHost() = default;
    virtual QWidget* Widget() = 0;
    // The widget whose size is the content size and which holds the controls.
    virtual QWidget* Content() = 0;
    // Title, file drops and content size from the state.
    virtual void Apply(const WindowState& state) = 0;
    void Activate();

    WindowId Id() const { return id_; }

  private:
    WindowId id_;
};

// Creates and shows the window; a sheet is shown over its parent's widget.
WindowHost* CreateWindowHost(WindowId id, const WindowState& state, QWidget* parent);

}  // namespace corvane::platform
