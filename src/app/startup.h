// Corvane's entry and its end.
#pragma once

#include <vector>

#include "platform/geometry.h"

namespace corvane {

// The whole program: start-up, then the event loop; ends the process through EndProgram.
[[noreturn]] void RunProgram();

// Start-up steps, exposed for tests.
void InitializeSharedState();
// The display under the pointer (searched from the last display down, bounds inclusive; the first when
// the pointer is on none) must be at least 1024 points wide. Its width, or 0 without displays.
int ChosenDisplayWidth(const std::vector<platform::Rect>& displays, platform::Point pointer);
// Refuses a narrow display with the alert and ends the program.
void CheckDisplayWidth();

// Quit and close: stop the run, release the search field, delete the updater's files, remove the observer.
[[noreturn]] void ShutdownProgram();

}  // namespace corvane
