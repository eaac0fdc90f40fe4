// The program's modal alerts.
#pragma once

#include <string>

namespace corvane {

// Title "Error!", the error icon and one OK button.
void ShowErrorAlert(const std::string& text);
// The informational style with a message, an informative text and one OK button.
void ShowInformationalAlert(const std::string& message, const std::string& informative);

}  // namespace corvane
