// Paints a window at most once a frame.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <chrono>
#include <functional>

namespace corvane::platform {

// A run changes the status line, the counts line and the list hundreds of times a second; Qt would paint
// the window and send it to the window system after each change. The pacer holds back a window's paint
// that comes within a frame of the previous one until the frame has passed; the changes made meanwhile
// are painted together then, so what the screen shows is the same.
class PaintPacer : public QObject {
  public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kFrame{16};

    // Watches the window's paints; owned by the window. The clock is for tests.
    explicit PaintPacer(QWidget* window, std::function<Clock::time_point()> clock = Clock::now);

    // Paints the window within the call, whatever the pace (for a window that must show now).
    static void PaintNow(QWidget* window);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QPointer<QWidget> window_;
    std::function<Clock::time_point()> clock_;
    Clock::time_point lastPaint_;
    bool deferred_ = false;
    bool now_ = false;
};

}  // namespace corvane::platform
