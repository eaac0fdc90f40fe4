// The displays and the pointer, as a backend sees them.
#pragma once

#include <vector>

#include "platform/geometry.h"

namespace corvane::platform {

class ScreenService {
  public:
    virtual ~ScreenService() = default;

    // Display frames in one top-left-origin space; the first is the main display.
    virtual std::vector<Rect> Displays() = 0;
    virtual Point PointerPosition() = 0;
};

// The backend's screens; installed by the backend (platform/services.h).
ScreenService& Screens();

}  // namespace corvane::platform
