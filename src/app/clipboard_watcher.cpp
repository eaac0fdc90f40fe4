#include "app/clipboard_watcher.h"

#include <chrono>
#include <thread>

#include "inputs/clipboard_paste.h"
#include "platform/clipboard.h"
#include "platform/desktop.h"
#include "platform/text.h"
#include "program/clipboard_state.h"

namespace corvane {

namespace {

const char* const kProductName = "Corvane";
// The time a launched program is given to come up.
constexpr auto kLaunchWait = std::chrono::milliseconds(100);

// Makes sure the program is running before the key press is sent; this program always is.
void EnsureProductRunning(platform::DesktopService& desktop) {
    for (const std::string& name : desktop.RunningApplicationNames()) {
        if (name == kProductName) return;
    }
    desktop.LaunchApplication(kProductName);
    std::this_thread::sleep_for(kLaunchWait);
}

}  // namespace

void WatchClipboard() {
    auto& clipboard = platform::Clipboard();
    auto& desktop = platform::Desktop();
    int64_t count = clipboard.ClipboardChangeCount();
    if (count == PasteboardChangeCount) return;
    PasteboardChangeCount = count;
    EnsureProductRunning(desktop);
    // Ctrl+V reaches only our own main window, and only while it is active, where it arrives as PasteItem.
    desktop.PostKeyPress(platform::kKeyCodeV, platform::kCommandFlag);
    desktop.PostKeyPress(platform::kKeyCodeCommand, 0);
    std::string text(TrimBlanks(clipboard.ClipboardText()));
    if (!text.empty() && text.find('/') != std::string::npos) PasteFromClipboard();
}

}  // namespace corvane
