#include "platform/qt/qt_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <cerrno>

#include "platform/events.h"

namespace corvane::platform {

namespace {

int pipeEnds[2] = {-1, -1};

void OnTerminationSignal(int) {
    int saved = errno;
    char byte = 1;
    // A full pipe already holds a pending request; losing this byte loses nothing.
    [[maybe_unused]] ssize_t written = write(pipeEnds[1], &byte, 1);
    errno = saved;
}

}  // namespace

void InstallTerminationSignals() {
    if (pipeEnds[0] >= 0) return;
    if (pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) {
        pipeEnds[0] = pipeEnds[1] = -1;
        return;
    }
    struct sigaction action = {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

void StartTerminationNotifier() {
    static QSocketNotifier* notifier = nullptr;
    if (notifier || pipeEnds[0] < 0 || !QCoreApplication::instance()) return;
    notifier = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, [] {
        char bytes[64];
        bool requested = false;
        while (read(pipeEnds[0], bytes, sizeof bytes) > 0) requested = true;
        if (requested) Events().Post(MenuEvent(kQuitItem));
    });
}

}  // namespace corvane::platform
