#include "program/program_end.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <vector>

namespace corvane {

namespace {

std::mutex StepsMutex;

std::vector<void (*)()>& Steps() {
    static std::vector<void (*)()> steps;
    return steps;
}

}  // namespace

void AtProgramEnd(void (*step)()) {
    std::lock_guard lock(StepsMutex);
    auto& steps = Steps();
    if (std::find(steps.begin(), steps.end(), step) == steps.end()) steps.push_back(step);
}

void EndProgram() {
    // A termination signal's thread and the main thread may both get here; the first one ends the process
    // and the other waits for that.
    static std::mutex endingMutex;
    endingMutex.lock();
    std::fflush(nullptr);
    std::vector<void (*)()> steps;
    {
        std::lock_guard lock(StepsMutex);
        steps = Steps();
    }
    for (auto step = steps.rbegin(); step != steps.rend(); ++step) (*step)();
    _exit(0);
}

}  // namespace corvane
