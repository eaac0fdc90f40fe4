// An application-wide event filter: the main window's shortcuts Ctrl+R and Ctrl+V are taken before the
// focused control sees them (so Ctrl+V in the search field never pastes into it), and palette or theme
// changes become the appearance notice while the program observes them.
#pragma once

#include <QObject>
#include <atomic>

namespace corvane::platform {

class ApplicationFilter : public QObject {
  public:
    explicit ApplicationFilter(QObject* parent) : QObject(parent) {}
    bool eventFilter(QObject* watched, QEvent* event) override;
    void SetObservingAppearance(bool observing) { observingAppearance_ = observing; }

  private:
    std::atomic<bool> observingAppearance_ = false;
};

// Whether the program's main window is the active window.
bool MainWindowIsActive();

}  // namespace corvane::platform
