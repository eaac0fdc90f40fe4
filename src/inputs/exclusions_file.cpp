#include "inputs/exclusions_file.h"

#include <string_view>

#include "inputs/exclusions.h"
#include "platform/files.h"
#include "platform/text.h"

namespace corvane {

void LoadExclusions() {
    if (!platform::QueryPath(ExclusionsConfigPath).HasSizeAbove0()) return;
    std::string text;
    if (!platform::ReadRegularFile(ExclusionsConfigPath, text)) return;
    // Lines end at a carriage return, a line feed, or both together; an empty line between CR and LF
    // holds no key, so splitting at either character alone reads the same.
    std::string_view rest = text;
    while (!rest.empty()) {
        size_t end = rest.find_first_of("\r\n");
        std::string line = TrimBlanks(rest.substr(0, end));
        if (line.find(kExclusionsKey) != std::string::npos)
            ExcludedDirs = ReplaceAll(line, kExclusionsKey, "");
        if (end == std::string_view::npos) break;
        rest = rest.substr(end + 1);
    }
}

bool SaveExclusions(const std::string& excludedDirs) {
    return platform::WriteFileAtomically(ExclusionsConfigPath, kExclusionsKey + excludedDirs + "\n", 0600);
}

}  // namespace corvane
