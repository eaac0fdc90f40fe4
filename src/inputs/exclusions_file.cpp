#include "inputs/exclusions_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

#include "inputs/exclusions.h"
#include "platform/files.h"
#include "platform/text.h"

namespace corvane {

namespace {

bool ReadWholeFile(const std::string& path, std::string& text) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    char buffer[16384];
    ssize_t n;
    while ((n = read(fd, buffer, sizeof buffer)) != 0) {
        if (n < 0) {
            if (errno == EINTR) continue;
            close(fd);
            return false;
        }
        text.append(buffer, static_cast<size_t>(n));
    }
    close(fd);
    return true;
}

}  // namespace

void LoadExclusions() {
    if (!platform::QueryPath(ExclusionsConfigPath).HasSizeAbove0()) return;
    std::string text;
    if (!ReadWholeFile(ExclusionsConfigPath, text)) return;
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
    return platform::WriteFileAtomically(ExclusionsConfigPath,
                                         kExclusionsKey + excludedDirs + "\n", 0600);
}

}  // namespace corvane
