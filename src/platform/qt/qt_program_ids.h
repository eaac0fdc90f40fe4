// The program's ids as the Qt backend was given them at set-up (QtBackend), for the pieces that post them.
#pragma once

#include "platform/program_ids.h"

namespace corvane::platform {

const ProgramIds& TheProgramIds();
void SetProgramIds(const ProgramIds& ids);

// Posts a menu event of the program's main window.
void PostProgramMenuEvent(int item);

}  // namespace corvane::platform
