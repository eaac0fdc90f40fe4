// The desktop services a backend provides: alerts, panels, sounds, displays, clipboard, workspace and the
// application object. The retained window and control state lives in ui.h; everything toolkit-free
// (settings, files, locale, digests, network) has its own header.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/geometry.h"
#include "platform/ids.h"

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

// System sound numbers.
constexpr int kAlertSound = 4096;
constexpr int kCompletionSound = 22;

// The key code of V and the Command (here: Control) modifier flag of a synthetic key press.
constexpr int kKeyCodeV = 9;
constexpr int kKeyCodeCommand = 55;
constexpr uint64_t kCommandFlag = 0x100000;

class Services {
  public:
    virtual ~Services() = default;

    // Creates the application object with its menu; called once, early in start-up.
    virtual void CreateApplication() = 0;
    // Brings the process and its windows to the front.
    virtual void ActivateApplication() = 0;

    virtual int RunAlert(const AlertSpec& alert) = 0;
    // A modal save panel; the chosen file's full path, or "" when cancelled.
    virtual std::string RunSavePanel(const std::string& title, const std::string& defaultName) = 0;
    virtual void PlaySystemSound(int sound) = 0;
    // Draws the window's controls as their state stands, at once and without handling any event, for a
    // pause in which no event loop runs.
    virtual void DrawWindowNow(WindowId window) = 0;

    // Display frames in one top-left-origin space; the first is the main display.
    virtual std::vector<Rect> Displays() = 0;
    virtual Point PointerPosition() = 0;

    virtual std::string ClipboardText() = 0;
    virtual void SetClipboardText(const std::string& text) = 0;
    // Rises on every change of the clipboard, our own writes included.
    virtual int64_t ClipboardChangeCount() = 0;

    virtual void OpenUrl(const std::string& url) = 0;
    virtual void RevealFile(const std::string& path) = 0;
    virtual std::vector<std::string> RunningApplicationNames() = 0;
    virtual void LaunchApplication(const std::string& name) = 0;
    virtual void PostKeyPress(int keyCode, uint64_t flags) = 0;

    // While registered, a change of the desktop's appearance posts the program event 66136.
    virtual void SetAppearanceObserver(bool registered) = 0;
};

// The backend in use; set once before start-up.
Services& Platform();
void SetPlatform(Services* services);

}  // namespace corvane::platform
