// Starting and stopping checksum runs on the worker thread.
#pragma once

#include <string>

namespace corvane {

void StartChecksumRun();
// Asks an active run to stop and waits for it up to 1000 ms.
void StopChecksumRun();
// Processes the current file list again after a change of algorithm or name display.
void RerunChecksums();

}  // namespace corvane
