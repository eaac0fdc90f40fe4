#include "platform/headless/headless.h"

namespace corvane::platform {

HeadlessServices::HeadlessServices() {
    InstallServices({this, this, this, this, this, this});
}

HeadlessServices::~HeadlessServices() {
    InstallServices({});
}

void HeadlessServices::CreateApplication() {
    ++applicationCreated;
}

void HeadlessServices::ActivateApplication() {
    ++activations;
}

int HeadlessServices::RunAlert(const AlertSpec& alert) {
    if (onAlert) onAlert(alert);
    std::lock_guard lock(mutex_);
    alerts.push_back(alert);
    if (alertAnswers.empty()) return kFirstButton;
    int answer = alertAnswers.front();
    alertAnswers.pop_front();
    return answer;
}

std::string HeadlessServices::RunSavePanel(const std::string& title, const std::string& defaultName) {
    std::lock_guard lock(mutex_);
    savePanels.push_back({title, defaultName});
    if (savePanelAnswers.empty()) return {};
    std::string answer = savePanelAnswers.front();
    savePanelAnswers.pop_front();
    return answer;
}

void HeadlessServices::DrawWindowNow(WindowId window) {
    DrawnWindow drawn{window, {}};
    for (ControlId id : TheUi().ControlsOf(window)) drawn.controls.push_back(TheUi().Control(id));
    std::lock_guard lock(mutex_);
    drawnWindows.push_back(std::move(drawn));
}

void HeadlessServices::PlaySystemSound(int sound) {
    std::lock_guard lock(mutex_);
    sounds.push_back(sound);
}

std::vector<Rect> HeadlessServices::Displays() {
    return displays;
}

Point HeadlessServices::PointerPosition() {
    return pointer;
}

std::string HeadlessServices::ClipboardText() {
    std::lock_guard lock(mutex_);
    return clipboard_;
}

void HeadlessServices::SetClipboardText(const std::string& text) {
    std::lock_guard lock(mutex_);
    clipboard_ = text;
    ++clipboardCount_;
}

void HeadlessServices::SetClipboardFromOutside(const std::string& text) {
    SetClipboardText(text);
}

int64_t HeadlessServices::ClipboardChangeCount() {
    std::lock_guard lock(mutex_);
    return clipboardCount_;
}

void HeadlessServices::OpenUrl(const std::string& url) {
    openedUrls.push_back(url);
}

void HeadlessServices::RevealFile(const std::string& path) {
    revealedFiles.push_back(path);
}

std::vector<std::string> HeadlessServices::RunningApplicationNames() {
    return runningApplications;
}

void HeadlessServices::LaunchApplication(const std::string& name) {
    launchedApplications.push_back(name);
}

void HeadlessServices::PostKeyPress(int keyCode, uint64_t flags) {
    keyPresses.push_back({keyCode, flags});
}

void HeadlessServices::SetAppearanceObserver(bool registered) {
    appearanceObserverRegistered = registered;
}

}  // namespace corvane::platform
