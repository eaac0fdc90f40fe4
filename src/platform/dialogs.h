// The modal dialogs a backend provides: alerts and the save panel.
#pragma once

#include <string>
#include <vector>

namespace corvane::platform {

enum class AlertStyle { Error, Informational, Application };

struct AlertSpec {
    AlertStyle style = AlertStyle::Error;
    std::string title;        // the window title
    std::string message;      // the bold first text
    std::string informative;  // the smaller text below it
    std::vector<std::string> buttons{"OK"};
};

// Answers of a modal alert: the first button 1000, the second 1001, and so on.
constexpr int kFirstButton = 1000;
constexpr int kSecondButton = 1001;

class DialogService {
  public:
    virtual ~DialogService() = default;

    virtual int RunAlert(const AlertSpec& alert) = 0;
    // A modal save panel; the chosen file's full path, or "" when cancelled.
    virtual std::string RunSavePanel(const std::string& title, const std::string& defaultName) = 0;
};

// The backend's dialogs; installed by the backend (platform/services.h).
DialogService& Dialogs();

}  // namespace corvane::platform
