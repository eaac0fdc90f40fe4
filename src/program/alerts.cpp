#include "program/alerts.h"

#include "platform/dialogs.h"

namespace corvane {

void ShowErrorAlert(const std::string& text) {
    platform::AlertSpec alert;
    alert.style = platform::AlertStyle::Error;
    alert.title = "Error!";
    alert.message = text;
    platform::Dialogs().RunAlert(alert);
}

void ShowInformationalAlert(const std::string& message, const std::string& informative) {
    platform::AlertSpec alert;
    alert.style = platform::AlertStyle::Informational;
    alert.title = "Corvane";
    alert.message = message;
    alert.informative = informative;
    platform::Dialogs().RunAlert(alert);
}

}  // namespace corvane
