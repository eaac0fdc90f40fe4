#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace corvane::platform {

PathStatus QueryPath(const std::string& path) {
    struct stat st {};
    if (path.empty() || stat(path.c_str(), &st) != 0) return {};
    if (S_ISDIR(st.st_mode)) return {PathStatus::Directory, 0};
    return {PathStatus::Sized, static_cast<int64_t>(st.st_size)};
}

bool PathIsMissing(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) == 0) return false;
    return errno == ENOENT || errno == ENOTDIR;
}

std::string ParentFolder(const std::string& path) {
    auto slash = path.rfind('/');
    if (slash == std::string::npos) return {};
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool MakeFolders(const std::string& path, unsigned mode) {
    if (path.empty()) return false;
    for (size_t pos = 1; pos <= path.size(); ++pos) {
        if (pos != path.size() && path[pos] != '/') continue;
        std::string part = path.substr(0, pos);
        if (mkdir(part.c_str(), mode) != 0 && errno != EEXIST) return false;
    }
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool WriteFileAtomically(const std::string& path, const std::string& text, unsigned mode) {
    std::string folder = ParentFolder(path);
    if (!folder.empty() && !MakeFolders(folder, 0700)) return false;
    std::string temp = path + ".XXXXXX";
    int fd = mkstemp(temp.data());
    if (fd < 0) return false;
    fchmod(fd, mode);
    const char* data = text.data();
    size_t left = text.size();
    bool ok = true;
    while (left > 0) {
        ssize_t n = write(fd, data, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = false;
            break;
        }
        data += n;
        left -= static_cast<size_t>(n);
    }
    ok = fsync(fd) == 0 && ok;
    ok = close(fd) == 0 && ok;
    if (ok && rename(temp.c_str(), path.c_str()) == 0) return true;
    unlink(temp.c_str());
    return false;
}

}  // namespace corvane::platform
