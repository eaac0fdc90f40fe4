// SIGTERM and SIGINT become the Quit menu event: the handler only writes to a pipe, and the GUI thread
// posts the event when it reads it. The process is never ended from the handler.
#pragma once

namespace corvane::platform {

// Installs the handlers; signals that arrive before the notifier exists wait in the pipe.
void InstallTerminationSignals();
// Starts reading the pipe on the GUI thread; needs the QApplication.
void StartTerminationNotifier();

}  // namespace corvane::platform
