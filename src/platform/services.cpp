#include "platform/services.h"

#include <cstdlib>

namespace corvane::platform {

namespace {
Services* current = nullptr;
}

Services& Platform() {
    if (!current) std::abort();  // a backend must be installed before start-up
    return *current;
}

void SetPlatform(Services* services) {
    current = services;
}

}  // namespace corvane::platform
