// The Qt 6 Widgets backend: real windows mirroring the retained state.
#pragma once

#include <memory>

namespace corvane::platform {

class QtBackend {
public:
    QtBackend(int& argc, char** argv);
    ~QtBackend();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace corvane::platform
