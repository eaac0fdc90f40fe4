// Starting and stopping checksum runs on the worker thread; all of it runs on the main thread.
#pragma once

#include <string>

namespace corvane {

// The status line's text while no run is active.
inline const char* const kReadyText =
    "Ready for processing! Drag one or more files to this window to calculate their checksums.";

// Starts a run on FilePathList with the algorithm the popup shows; an alert sound when one is active.
void StartChecksumRun();
// Asks an active run to stop and waits for it up to 1000 ms.
void StopChecksumRun();
// Processes the current file list again after a change of algorithm or name display.
void RerunChecksums();
// The Abort button: stops the run (waiting up to 100 + 500 ms), forgets the files and resets the window.
void AbortRun();
// The Clear Files button: stops the run and empties the list and the progress display.
void ClearFiles();
// Shows the text in the status line and empties the counts line, the progress bar and the list.
void ResetRunDisplay(const std::string& text);

// Whether the main thread still holds a worker thread handle (none once a run was stopped or failed).
bool HasWorkerThread();

}  // namespace corvane
