// How the program ends: every subsystem ends it through EndProgram.
#pragma once

namespace corvane {

// Adds a step that EndProgram runs before the process exits, once however often it is added. The subsystem
// that owns a resource registers its release here, so that ending the program needs no knowledge of the
// subsystems.
void AtProgramEnd(void (*step)());

// Flushes the standard streams, runs the registered steps (last added first) and exits with status 0. From
// any thread; a second caller waits for the first one's end.
[[noreturn]] void EndProgram();

}  // namespace corvane
