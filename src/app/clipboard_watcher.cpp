#include "app/clipboard_watcher.h"

#include <chrono>
#include <thread>

#include "inputs/clipboard_paste.h"
#include "platform/services.h"
#include "platform/text.h"
#include "program/clipboard_state.h"

namespace corvane {

namespace {

const char* const kProductName = "Corvane";
// The time a launched program is given to come up.
constexpr auto kLaunchWait = std::chrono::milliseconds(100);

// Makes sure the program is running before the key press is sent; this program always is.
void EnsureProductRunning(platform::Services& services) {
    for (const std::string& name : services.RunningApplicationNames()) {
        if (name == kProductName) return;
    }
    services.LaunchApplication(kProductName);
    std::this_thread::sleep_for(kLaunchWait);
}

}  // namespace

void WatchClipboard() {
    auto& services = platform::Platform();
    int64_t count = services.ClipboardChangeCount();
    if (count == PasteboardChangeCount) return;
    PasteboardChangeCount = count;
    EnsureProductRunning(services);
    // Ctrl+V reaches only our own main window, and only while it is active, where it arrives as PasteItem.
    services.PostKeyPress(platform::kKeyCodeV, platform::kCommandFlag);
    services.PostKeyPress(platform::kKeyCodeCommand, 0);
    std::string text(TrimBlanks(services.ClipboardText()));
    if (!text.empty() && text.find('/') != std::string::npos) PasteFromClipboard();
}

}  // namespace corvane
