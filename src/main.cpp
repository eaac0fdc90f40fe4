#include <malloc.h>

#include "app/startup.h"
#include "platform/qt/qt_backend.h"
#include "program/events.h"

int main(int argc, char** argv) {
    // One heap for every thread: a run's worker allocates each row of the list, and the memory handed back
    // when the list is cleared (malloc_trim) is then returned whole, instead of staying with the heap of a
    // worker that has ended.
    mallopt(M_ARENA_MAX, 1);
    corvane::CatchTerminationSignals();
    corvane::platform::QtBackend backend(argc, argv, corvane::BackendIds());
    corvane::RunProgram();
}
