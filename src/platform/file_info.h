// A file's size and modification time, symbolic links followed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace corvane::platform {

struct FileInfo {
    int64_t size = -1;  // bytes; -1 when the path cannot be examined
    // Seconds since 1970-01-01 00:00:00 UTC; none when the path cannot be examined.
    std::optional<int64_t> modified;
};
FileInfo QueryFileInfo(const std::string& path);

}  // namespace corvane::platform
