#include "app/about.h"

#include "platform/application.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/ui.h"
#include "program/ids.h"

namespace corvane {

namespace {
const char* const kMakerPage = "https://github.com/veltrane";
}

void ShowAbout() {
    platform::Application().ActivateApplication();
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
    if (platform::Dialogs().RunAlert(alert) == platform::kSecondButton)
        platform::Desktop().OpenUrl(kMakerPage);
    platform::TheUi().MakeKeyAndFront(kMainWindow);
}

}  // namespace corvane
