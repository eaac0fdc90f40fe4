#include "inputs/exclusions_file.h"

#include <string_view>

#include "inputs/exclusions.h"
#include "platform/files.h"
#include "platform/text.h"

namespace corvane {

void LoadExclusions() {
    std::string text;
    if (!platform::ReadRegularFile(ExclusionsConfigPath, text)) return;
    // Lines end at a carriage return, a line feed, or both together; an empty line between CR and LF
    // holds no key, so splitting at either character alone reads the same.
    for (std::string_view part : SplitAt(text, "\r\n")) {
        std::string_view line = TrimBlanks(part);
        if (line.find(kExclusionsKey) != std::string::npos)
            ExcludedDirs = ReplaceAll(line, kExclusionsKey, "");
    }
}

bool SaveExclusions(const std::string& excludedDirs) {
    return platform::WriteFileAtomically(ExclusionsConfigPath, kExclusionsKey + excludedDirs + "\n", 0600);
}

}  // namespace corvane
