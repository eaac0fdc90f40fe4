// SIGTERM and SIGINT (a logout, kill, Ctrl+C in a terminal) are taken by a thread of their own, so that they
// end the program whatever its main thread is doing: waiting for the start-up update or an external
// command, showing a modal alert. No handler runs inside another thread's code.
#pragma once

namespace corvane::platform {

// Blocks the two signals in the calling thread, and so in every thread it starts afterwards, and starts the
// thread that waits for them; the first signal runs onSignal on that thread. Call it before any other
// thread exists; later calls do nothing. A signal sent before the call ends the process as usual.
void WatchTerminationSignals(void (*onSignal)());

}  // namespace corvane::platform
