// The application object a backend provides: creating and activating it, drawing a window at once, and the
// notice of the desktop's appearance.
#pragma once

#include "platform/ids.h"

namespace corvane::platform {

class ApplicationService {
  public:
    virtual ~ApplicationService() = default;

    // Creates the application object with its menu; called once, early in start-up.
    virtual void CreateApplication() = 0;
    // Brings the process and its windows to the front.
    virtual void ActivateApplication() = 0;
    // Draws the window's controls as their state stands, at once and without handling any event, for a
    // pause in which no event loop runs.
    virtual void DrawWindowNow(WindowId window) = 0;
    // While registered, a change of the desktop's appearance posts the event the program named for it at
    // set-up (platform/program_ids.h).
    virtual void SetAppearanceObserver(bool registered) = 0;
};

// The backend's application object; installed by the backend (platform/services.h).
ApplicationService& Application();

}  // namespace corvane::platform
