#include "platform/qt/qt_pump.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QThread>
#include <QTimer>

namespace corvane::platform {

namespace {

QAbstractEventDispatcher* MainDispatcher() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return nullptr;
    return QAbstractEventDispatcher::instance(app->thread());
}

}  // namespace

void QtEventPump::Block(std::optional<std::chrono::steady_clock::time_point> deadline) {
    QAbstractEventDispatcher* dispatcher = MainDispatcher();
    if (!dispatcher || QThread::currentThread() != QCoreApplication::instance()->thread()) {
        std::unique_lock lock(mutex_);
        if (deadline) {
            woken_.wait_until(lock, *deadline, [this] { return wakePending_; });
        } else {
            woken_.wait(lock, [this] { return wakePending_; });
        }
        wakePending_ = false;
        return;
    }
    // The deadline is a timer of Qt's own loop, so its expiry makes processEvents return.
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    if (deadline) {
        auto left =
            std::chrono::ceil<std::chrono::milliseconds>(*deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return;
        timer.start(static_cast<int>(std::min<int64_t>(left.count(), 24LL * 3600 * 1000)));
    }
    // A wakeUp from another thread is kept by the dispatcher until its next wait, so a Wake that came
    // before this call still ends the wait at once.
    dispatcher->processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    // Outside any Qt loop, objects queued for deletion are only deleted when asked for explicitly; the
    // program's own code is not inside a Qt handler here, so this is a safe point.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void QtEventPump::Wake() {
    {
        std::lock_guard lock(mutex_);
        wakePending_ = true;
    }
    woken_.notify_all();
    if (QAbstractEventDispatcher* dispatcher = MainDispatcher()) dispatcher->wakeUp();
}

}  // namespace corvane::platform
