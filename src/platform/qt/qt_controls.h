// The real widgets behind the program's controls. Each widget mirrors its retained state (Apply) and reports
// what the user does with it: the state is updated with the Ui::UserSet* methods, then an event is posted.
#pragma once

#include <QWidget>

#include "platform/ids.h"
#include "platform/ui.h"

namespace corvane::platform {

class ControlHost {
  public:
    ControlHost(ControlId id, WindowId window) : id_(id), window_(window) {}
    virtual ~ControlHost() = default;
    virtual QWidget* Widget() = 0;
    // Brings the widget in line with the state, without reporting anything back.
    virtual void Apply(const ControlState& state) = 0;
    // Lists only: the layer's rows changed.
    virtual void SyncRows() {}
    // Lists only: scroll the row into view.
    virtual void RevealRow(int) {}

    ControlId Id() const { return id_; }
    WindowId Window() const { return window_; }

  protected:
    void Post(int type, int64_t data = 0) const;
    // Frame, enabled state and tooltip, which every kind shares.
    void ApplyCommon(const ControlState& state);

  private:
    ControlId id_;
    WindowId window_;
};

// Creates the widget for a control of any kind as a child of the window's content widget.
ControlHost* CreateControlHost(ControlId id, const ControlState& state, QWidget* parent);

}  // namespace corvane::platform
