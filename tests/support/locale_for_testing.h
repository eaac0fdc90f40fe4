// Sets the user's locale directly, as if the environment had named it, in place of what it names.
#pragma once

#include <mutex>
#include <string>

#include "platform/locale_state.h"

namespace corvane::platform {

inline void SetLocaleIdentifierForTesting(const std::string& identifier) {
    std::lock_guard lock(CapturedLocaleMutex);
    CapturedLocaleIdentifier = identifier;
    CapturedLocaleName = identifier + ".UTF-8";
}

}  // namespace corvane::platform
