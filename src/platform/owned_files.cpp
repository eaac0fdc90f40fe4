#include "platform/owned_files.h"

#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace corvane::platform {

namespace {

bool IsOwnedRegular(const struct stat& st) {
    return S_ISREG(st.st_mode) && st.st_uid == geteuid();
}

// O_NONBLOCK keeps a planted FIFO from blocking the open; it is cleared for the regular file we keep.
int OpenChecked(const std::string& path, int flags, mode_t mode) {
    int fd = open(path.c_str(), flags | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, mode);
    if (fd < 0) return -1;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !IsOwnedRegular(st)) {
        close(fd);
        return -1;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

int RemoveVisited(const char* path, const struct stat*, int, FTW*) {
    ::remove(path);
    return 0;
}

}  // namespace

int OpenOwnedFileForReading(const std::string& path) {
    return OpenChecked(path, O_RDONLY, 0);
}

int CreateOwnedFile(const std::string& path) {
    // No O_TRUNC here: another user's file must not be emptied before the owner check refuses it.
    int fd = OpenChecked(path, O_WRONLY | O_CREAT, 0600);
    if (fd < 0) return -1;
    if (ftruncate(fd, 0) != 0 || fchmod(fd, 0600) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

int64_t OwnedFileSize(const std::string& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !IsOwnedRegular(st)) return -1;
    return static_cast<int64_t>(st.st_size);
}

bool RemoveOwnedEntry(const std::string& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) return errno == ENOENT;
    if (st.st_uid != geteuid() || S_ISDIR(st.st_mode)) return false;
    return unlink(path.c_str()) == 0 || errno == ENOENT;
}

bool MoveIntoPlace(const std::string& from, const std::string& to) {
    struct stat st {};
    if (lstat(to.c_str(), &st) == 0 && !IsOwnedRegular(st)) return false;
    if (lstat(from.c_str(), &st) != 0 || !IsOwnedRegular(st) || chmod(from.c_str(), 0600) != 0) return false;
    // rename replaces the entry itself and never follows a link at the target.
    return rename(from.c_str(), to.c_str()) == 0;
}

std::string MakePrivateFolder(const std::string& parent) {
    std::string pattern = parent;
    if (!pattern.empty() && pattern.back() != '/') pattern += '/';
    pattern += "corvane-XXXXXX";
    if (!mkdtemp(pattern.data())) return {};
    return pattern;
}

void RemoveFolderTree(const std::string& path) {
    if (path.empty()) return;
    nftw(path.c_str(), RemoveVisited, 16, FTW_DEPTH | FTW_PHYS);
}

}  // namespace corvane::platform
