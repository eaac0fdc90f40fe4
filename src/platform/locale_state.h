// The user's locale as captured from the environment. locale.h reads it; a test sets it directly.
#pragma once

#include <mutex>
#include <optional>
#include <string>

namespace corvane::platform {

// Guards the two below.
inline std::mutex CapturedLocaleMutex;
// "en_US" style; empty until the environment was read.
inline std::optional<std::string> CapturedLocaleIdentifier;
// The raw name the identifier came from, e.g. "de_DE.UTF-8"; "" when none was set.
inline std::string CapturedLocaleName;

}  // namespace corvane::platform
