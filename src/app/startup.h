// Corvane's entry and its end.
#pragma once

#include <vector>

#include "platform/geometry.h"

namespace corvane {

// The whole program: start-up, then the event loop; ends the process through EndProgram.
[[noreturn]] void RunProgram();

// The narrowest display the program runs on, in points.
inline constexpr int kMinimumDisplayWidth = 1024;

// Start-up steps, exposed for tests.
void InitializeSharedState();
// The display under the pointer (searched from the last display down, bounds inclusive; the first when
// the pointer is on none) must be at least kMinimumDisplayWidth wide. Its width, or 0 without displays.
int ChosenDisplayWidth(const std::vector<platform::Rect>& displays, platform::Point pointer);
// Refuses a narrow display with the alert and ends the program.
void CheckDisplayWidth();

// Quit and close: stop the run, release the search field, delete the updater's files, remove the observer.
[[noreturn]] void ShutdownProgram();

// From the first moment, SIGTERM and SIGINT end the program through TerminateProgram, on a thread of their
// own. Call before any other thread exists; later calls do nothing.
void CatchTerminationSignals();
// A termination signal, whatever the program is doing: the start-up update stops (commands killed, the
// download broken off, an import rolled back, nothing stored), its files are removed, no settings or export
// file is left half written, and the program ends with status 0.
[[noreturn]] void TerminateProgram();

}  // namespace corvane
