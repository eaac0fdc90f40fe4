// The Qt 6 Widgets backend: real windows mirroring the retained state.
#pragma once

#include <memory>

#include "platform/program_ids.h"

namespace corvane::platform {

// Installs the Qt backend as the program's platform, UI observer and event pump for its lifetime, acting on
// and posting the program's ids as given. The QApplication itself is created later, by
// ApplicationService::CreateApplication, early in start-up.
class QtBackend {
  public:
    QtBackend(int& argc, char** argv, const ProgramIds& ids);
    ~QtBackend();
    QtBackend(const QtBackend&) = delete;
    QtBackend& operator=(const QtBackend&) = delete;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace corvane::platform
