// The exclusion test applied to every file before it can join a run.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// ExcludedDirs and ExcludedExtensions prepared for testing many paths. Immutable once made, so a scan's
// helper threads can share one.
class ExclusionRules {
  public:
    ExclusionRules(std::string_view excludedDirs, std::string_view excludedExtensions);
    // True when the path lies inside a directory entry (a case-blind prefix on whole directory names, a
    // pair of backslashes counting as "/") or its extension is one of the excluded extensions.
    bool Excludes(std::string_view path) const;

  private:
    bool InExcludedDir(std::string_view path) const;
    bool HasExcludedExtension(std::string_view path) const;

    std::vector<std::string> prefixes_;  // lower case, each ending in "/"
    std::string extensionBars_;          // "|" + lower-case list + "|", or "" for none
};

// The test with the current ExcludedDirs and ExcludedExtensions.
bool IsExcludedFile(const std::string& path);

// The text after the path's last ".", up to a double quote; "" when a "/" or a blank follows that "." or
// the "." begins a name.
std::string_view PathExtension(std::string_view path);

}  // namespace corvane
