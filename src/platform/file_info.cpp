#include "platform/file_info.h"

#include <sys/stat.h>

namespace corvane::platform {

FileInfo QueryFileInfo(const std::string& path) {
    struct stat st {};
    if (path.empty() || stat(path.c_str(), &st) != 0) return {};
    return {static_cast<int64_t>(st.st_size), static_cast<int64_t>(st.st_mtime)};
}

}  // namespace corvane::platform
