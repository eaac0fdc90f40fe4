#include "platform/qt/qt_paint_pacer.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

namespace corvane::platform {

PaintPacer::PaintPacer(QWidget* window, std::function<Clock::time_point()> clock)
    : QObject(window), window_(window), clock_(std::move(clock)), lastPaint_(clock_() - kFrame) {
    window->installEventFilter(this);
}

void PaintPacer::PaintNow(QWidget* window) {
    PaintPacer* pacer = nullptr;
    for (QObject* child : window->children()) {
        if ((pacer = dynamic_cast<PaintPacer*>(child))) break;
    }
    if (pacer) pacer->now_ = true;
    window->repaint();
    if (pacer) pacer->now_ = false;
}

// Qt paints a window when it delivers the window's UpdateRequest, posted after a change (or sent by
// repaint()). The parts to paint stay marked until a request gets through, so holding one back loses
// nothing.
bool PaintPacer::eventFilter(QObject* watched, QEvent* event) {
    if (watched != window_ || event->type() != QEvent::UpdateRequest) return false;
    Clock::time_point now = clock_();
    if (now_ || now - lastPaint_ >= kFrame) {
        lastPaint_ = now;
        return false;
    }
    if (!deferred_) {
        deferred_ = true;
        auto wait = std::chrono::ceil<std::chrono::milliseconds>(lastPaint_ + kFrame - now);
        QTimer::singleShot(static_cast<int>(wait.count()), this, [this] {
            deferred_ = false;
            if (window_) {
                QCoreApplication::postEvent(window_, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
            }
        });
    }
    return true;
}

}  // namespace corvane::platform
