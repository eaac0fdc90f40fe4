// Handles of windows and controls. Their numbers are the program's to choose (None is 0); the platform
// only tells one from another.
#pragma once

namespace corvane::platform {

enum class WindowId : int { None = 0 };
enum class ControlId : int { None = 0 };

}  // namespace corvane::platform
