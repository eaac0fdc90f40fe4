// A file's size and modification time, symbolic links followed.
#pragma once

#include <cstdint>
#include <string>

namespace corvane::platform {

struct FileInfo {
    int64_t size = -1;     // bytes; -1 when the path cannot be examined
    int64_t modified = 0;  // seconds since 1970-01-01 00:00:00 UTC; 0 when the path cannot be examined
};
FileInfo QueryFileInfo(const std::string& path);

}  // namespace corvane::platform
