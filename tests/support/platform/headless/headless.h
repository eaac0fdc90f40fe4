// A backend without windows: it records what the program shows and answers with what a test has set.
#pragma once

#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/services.h"
#include "platform/ui.h"

namespace corvane::platform {

class HeadlessServices : public ApplicationService,
                         public DialogService,
                         public SoundService,
                         public ScreenService,
                         public ClipboardService,
                         public DesktopService {
  public:
    HeadlessServices();
    ~HeadlessServices() override;

    void CreateApplication() override;
    void ActivateApplication() override;
    void DrawWindowNow(WindowId window) override;
    void SetAppearanceObserver(bool registered) override;
    int RunAlert(const AlertSpec& alert) override;
    std::string RunSavePanel(const std::string& title, const std::string& defaultName) override;
    void PlaySystemSound(int sound) override;
    std::vector<Rect> Displays() override;
    Point PointerPosition() override;
    std::string ClipboardText() override;
    void SetClipboardText(const std::string& text) override;
    int64_t ClipboardChangeCount() override;
    void OpenUrl(const std::string& url) override;
    void RevealFile(const std::string& path) override;
    std::vector<std::string> RunningApplicationNames() override;
    void LaunchApplication(const std::string& name) override;
    void PostKeyPress(int keyCode, uint64_t flags) override;

    // What a test sets.
    std::vector<Rect> displays{{0, 0, 1440, 900}};
    Point pointer{100, 100};
    std::deque<int> alertAnswers;              // popped per alert; the first button when empty
    std::deque<std::string> savePanelAnswers;  // popped per panel; "" when empty
    std::vector<std::string> runningApplications{"Corvane"};
    // Called with every alert before it is answered; a test may throw from it to stop the program there.
    std::function<void(const AlertSpec&)> onAlert;
    // Changes the clipboard as another application would.
    void SetClipboardFromOutside(const std::string& text);

    // What the program did.
    struct SavePanel {
        std::string title;
        std::string defaultName;
    };
    // A window drawn at once, with its controls as they were then.
    struct DrawnWindow {
        WindowId window;
        std::vector<ControlState> controls;
    };
    struct KeyPress {
        int keyCode;
        uint64_t flags;
    };
    std::vector<AlertSpec> alerts;
    std::vector<SavePanel> savePanels;
    std::vector<int> sounds;
    std::vector<DrawnWindow> drawnWindows;
    std::vector<std::string> openedUrls;
    std::vector<std::string> revealedFiles;
    std::vector<std::string> launchedApplications;
    std::vector<KeyPress> keyPresses;
    int applicationCreated = 0;
    int activations = 0;
    bool appearanceObserverRegistered = false;

  private:
    std::mutex mutex_;
    std::string clipboard_;
    int64_t clipboardCount_ = 0;
};

}  // namespace corvane::platform
