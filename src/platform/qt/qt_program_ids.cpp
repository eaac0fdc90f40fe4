#include "platform/qt/qt_program_ids.h"

#include "platform/events.h"

namespace corvane::platform {

namespace {
ProgramIds given;
}

const ProgramIds& TheProgramIds() {
    return given;
}

void SetProgramIds(const ProgramIds& ids) {
    given = ids;
}

void PostProgramMenuEvent(int item) {
    Events().Post(MakeMenuEvent(item, given.mainWindow));
}

}  // namespace corvane::platform
