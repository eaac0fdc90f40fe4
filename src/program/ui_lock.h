// The lock around control and badge changes made off the main thread, and the main thread's handling of
// the worker's notices and of the update window.
#pragma once

#include <mutex>

namespace corvane {

inline std::recursive_mutex UiMutex;

}  // namespace corvane
