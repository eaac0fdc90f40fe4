#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>

#include "platform/fd_io.h"
#include "platform/unique_fd.h"

namespace corvane::platform {

PathStatus QueryPath(const std::string& path) {
    struct stat st {};
    // No file name holds a NUL byte: the system would see only the part before it, another file.
    if (path.empty() || path.find('\0') != std::string::npos || stat(path.c_str(), &st) != 0) return {};
    if (S_ISDIR(st.st_mode)) return {PathStatus::Directory, 0};
    return {PathStatus::Sized, static_cast<int64_t>(st.st_size)};
}

bool PathIsMissing(const std::string& path) {
    // Not found is ENOENT or ENOTDIR (a file where a folder of the path should be); no permission is not.
    std::error_code error;
    return std::filesystem::status(path, error).type() == std::filesystem::file_type::not_found;
}

UniqueFd OpenRegularFile(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
    UniqueFd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!fd || fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
    return fd;
}

bool ReadRegularFile(const std::string& path, std::string& text) {
    text.clear();
    UniqueFd fd = OpenRegularFile(path);
    return fd && ReadToEnd(fd.Get(), text);
}

bool RenameWithoutReplacing(const std::string& from, const std::string& to) {
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // A file system without the flag: a second name made exclusively, then the first one removed.
    if (link(from.c_str(), to.c_str()) != 0) return false;
    return unlink(from.c_str()) == 0;
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

namespace {

// A file kept as the user's own symbolic link (as dotfile managers do) stays one: the link's target is
// replaced. A link someone else planted is replaced itself, never followed.
std::string WriteTarget(const std::string& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode) || st.st_uid != geteuid()) return path;
    std::error_code error;
    std::filesystem::path resolved = std::filesystem::canonical(path, error);
    return error ? path : resolved.string();
}

// The process's file-creation mask, read without changing it (umask() would, for every thread).
mode_t CurrentUmask() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Umask:", 0) == 0)
            return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
    }
    return 022;
}

// An existing file keeps its permissions; a new one gets the mode as open(2) would give it.
mode_t ModeFor(const std::string& target, unsigned mode) {
    struct stat st {};
    if (stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return st.st_mode & 07777;
    return static_cast<mode_t>(mode) & ~CurrentUmask();
}

}  // namespace

namespace {

// Held by each atomic write, and for good once the program ends.
std::mutex writingMutex;

}  // namespace

void StopFileWrites() {
    // Never released: the process ends while it is held.
    writingMutex.lock();
}

bool WriteFileAtomically(const std::string& requested, const std::string& text, unsigned mode) {
    std::lock_guard writing(writingMutex);
    std::string path = WriteTarget(requested);
    std::string folder = ParentFolder(path);
    if (!folder.empty() && !MakeFolders(folder, 0700)) return false;
    mode_t finalMode = ModeFor(path, mode);
    std::string temp = path + ".XXXXXX";
    UniqueFd fd(mkstemp(temp.data()));
    if (!fd) return false;
    fchmod(fd.Get(), finalMode);
    bool ok = WriteAll(fd.Get(), text);
    ok = fsync(fd.Get()) == 0 && ok;
    ok = fd.Close() && ok;
    if (ok && rename(temp.c_str(), path.c_str()) == 0) return true;
    unlink(temp.c_str());
    return false;
}

}  // namespace corvane::platform
