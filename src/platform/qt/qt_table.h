// The list: a QTableView over a model that reads the rows the layer holds.
#pragma once

#include "platform/qt/qt_controls.h"

namespace corvane::platform {

ControlHost* CreateTableHost(ControlId id, WindowId window, QWidget* parent);

}  // namespace corvane::platform
