// The exclusions file: one line "ExcludedDirectories=" followed by ExcludedDirs.
#pragma once

#include <string>

namespace corvane {

inline const char* const kExclusionsKey = "ExcludedDirectories=";

// Sets ExcludedDirs from the last line of the file that holds the key; without such a line, or without a
// readable, non-empty file, ExcludedDirs stays as it is.
void LoadExclusions();
// Replaces the file with the one line for this list (written to a temporary file and renamed over the old
// one). False when it could not be written.
bool SaveExclusions(const std::string& excludedDirs);

}  // namespace corvane
