#include "platform/services.h"

#include <cstdlib>

namespace corvane::platform {

namespace {

ServiceSet installed;

template <class Service>
Service& Installed(Service* service) {
    if (!service) std::abort();  // a backend must be installed before start-up
    return *service;
}

}  // namespace

void InstallServices(const ServiceSet& services) {
    installed = services;
}

ApplicationService& Application() {
    return Installed(installed.application);
}

DialogService& Dialogs() {
    return Installed(installed.dialogs);
}

SoundService& Sounds() {
    return Installed(installed.sounds);
}

ScreenService& Screens() {
    return Installed(installed.screens);
}

ClipboardService& Clipboard() {
    return Installed(installed.clipboard);
}

DesktopService& Desktop() {
    return Installed(installed.desktop);
}

}  // namespace corvane::platform
