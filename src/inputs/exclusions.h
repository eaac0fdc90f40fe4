// The directories and extensions that never reach a checksum run.
#pragma once

#include <string>

namespace corvane {

inline const char* const kDefaultExcludedDirs = "/Applications|/System|/Volumes|/Library|/Trash";

// Directory prefixes separated by "|", compared without regard to case on whole directory names.
inline std::string ExcludedDirs;
// Extensions separated by "|"; fixed.
inline std::string ExcludedExtensions;
// Home folder + "Library/Preferences/Corvane_ExclusionsConfig.txt".
inline std::string ExclusionsConfigPath;

}  // namespace corvane
