#include "platform/termination_signals.h"

#include <pthread.h>
#include <signal.h>

#include <mutex>
#include <thread>

namespace corvane::platform {

void WatchTerminationSignals(void (*onSignal)()) {
    static std::once_flag once;
    std::call_once(once, [onSignal] {
        sigset_t signals;
        sigemptyset(&signals);
        sigaddset(&signals, SIGTERM);
        sigaddset(&signals, SIGINT);
        pthread_sigmask(SIG_BLOCK, &signals, nullptr);
        std::thread([signals, onSignal] {
            int received = 0;
            while (sigwait(&signals, &received) != 0) {
            }
            onSignal();
        }).detach();
    });
}

}  // namespace corvane::platform
