// The desktop services through Qt: the application object, alerts, the save panel, sounds, displays,
// pointer, clipboard, workspace, key presses and the appearance notice.
#pragma once

#include <atomic>
#include <memory>

#include "platform/qt/qt_save_panel.h"
#include "platform/qt/qt_sound.h"
#include "platform/services.h"

class QApplication;

namespace corvane::platform {

class ApplicationFilter;
class UiMirror;

class QtServices : public ApplicationService,
                   public DialogService,
                   public SoundService,
                   public ScreenService,
                   public ClipboardService,
                   public DesktopService {
  public:
    QtServices(int& argc, char** argv, UiMirror& mirror);
    ~QtServices() override;

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

  private:
    void WatchClipboard();

    int& argc_;
    char** argv_;
    UiMirror& mirror_;
    std::unique_ptr<QApplication> app_;
    ApplicationFilter* filter_ = nullptr;
    SoundPlayer sounds_;
    SavePanel savePanel_;
    bool writingClipboard_ = false;
    bool ownNoticeDue_ = false;  // our write's notice may still come
    std::atomic<int64_t> clipboardCount_ = 0;
    bool observingAppearance_ = false;
};

}  // namespace corvane::platform
