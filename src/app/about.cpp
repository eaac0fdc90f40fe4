#include "app/about.h"

#include "platform/services.h"
#include "platform/ui.h"

namespace corvane {

namespace {
const char* const kMakerPage = "https://github.com/veltrane";
}

void ShowAbout() {
    auto& services = platform::Platform();
    services.ActivateApplication();
    platform::AlertSpec alert;
    alert.style = platform::AlertStyle::Application;
    alert.title = "About Corvane";
    alert.message = "Corvane v1.12 Beta\n(Intel)";
    alert.informative =
        "\nA file hash calculator for macOS\nmade with great angst\n\n"
        "Veltrane Software (released December 2026)\n"
        "corvane@veltrane.example\n\r"
        "\"Trust, but verify.\"\n";
    alert.buttons = {"Ok", "See My Other Apps"};
    if (services.RunAlert(alert) == platform::kSecondButton) services.OpenUrl(kMakerPage);
    platform::TheUi().MakeKeyAndFront(platform::WindowId::Main);
}

}  // namespace corvane
