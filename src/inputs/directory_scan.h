// The recursive folder scan that turns a dropped or pasted folder into files for a run.
#pragma once

#include <string>

namespace corvane {

// The deepest level that is still listed: the given folder is 0.
constexpr int kMaxScanDepth = 10;

// Every file under the folder that is to be processed, each followed by a line feed, in the file system's
// order; a kept sub-folder's files are followed by one more line feed (an empty field). "" when nothing
// is kept. Each path is written as a line (a line feed of a name as NUL, platform/path_lines.h). Symbolic
// links are never followed as folders; a link to a non-empty file is kept under its own path.
std::string ScanDirectory(const std::string& folder, int depth);
// The same, appended to out.
void ScanDirectoryInto(const std::string& folder, int depth, std::string& out);

}  // namespace corvane
