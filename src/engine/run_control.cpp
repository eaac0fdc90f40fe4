#include "engine/run_control.h"

#include "engine/run_state.h"

namespace corvane {

void StartChecksumRun() {}

void StopChecksumRun() {
    if (!WorkerRunning) return;
    AbortRequested = true;
    WorkerRunning = false;
}

void RerunChecksums() {
    if (FilePathList.empty()) return;
    StartChecksumRun();
}

}  // namespace corvane
