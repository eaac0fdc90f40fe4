// Which backend object serves each desktop concern. A backend installs its own before start-up and removes
// them when it goes; the program reaches each concern through its own header (application.h, dialogs.h,
// sounds.h, screens.h, clipboard.h, desktop.h). The retained window and control state lives in ui.h.
#pragma once

#include "platform/application.h"
#include "platform/clipboard.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/screens.h"
#include "platform/sounds.h"

namespace corvane::platform {

struct ServiceSet {
    ApplicationService* application = nullptr;
    DialogService* dialogs = nullptr;
    SoundService* sounds = nullptr;
    ScreenService* screens = nullptr;
    ClipboardService* clipboard = nullptr;
    DesktopService* desktop = nullptr;
};

// Replaces every service at once; an empty set removes them.
void InstallServices(const ServiceSet& services);

}  // namespace corvane::platform
