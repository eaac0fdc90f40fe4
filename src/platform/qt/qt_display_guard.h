// Without a display Qt ends the process with abort() and several lines about platform plugins. While the
// application object is made, this guard turns that into one line saying what is missing and exit status 1.
#pragma once

namespace corvane::platform {

class DisplayGuard {
  public:
    DisplayGuard();
    // Hands the messages held back to the handler that was installed before, now that Qt has started.
    ~DisplayGuard();
    DisplayGuard(const DisplayGuard&) = delete;
    DisplayGuard& operator=(const DisplayGuard&) = delete;
};

}  // namespace corvane::platform
