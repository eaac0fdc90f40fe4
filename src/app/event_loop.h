// The main thread's life after start-up: wait for the next event and hand it to its handler.
#pragma once

#include "platform/events.h"

namespace corvane {

[[noreturn]] void RunEventLoop();
// Handles one event as the loop does; Quit and close requests end the program.
void DispatchEvent(const platform::Event& event);

void HandleAlgorithmChange();
void ToggleShortPaths();
void ToggleDockTime();

}  // namespace corvane
