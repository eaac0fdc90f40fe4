// Where the program's files live.
#pragma once

#include <string>

namespace corvane::platform {

// The current user's home folder with a trailing "/".
std::string HomeFolderPath();
// The folder of the executable: the application bundle's path here; "" when it cannot be had.
std::string BundlePath();
// $XDG_DATA_HOME, else ~/.local/share; created when missing.
std::string ApplicationSupportPath();

}  // namespace corvane::platform
