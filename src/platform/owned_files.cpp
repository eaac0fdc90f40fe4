#include "platform/owned_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <csignal>
#include <filesystem>
#include <mutex>
#include <string_view>
#include <vector>

#include "platform/unique_fd.h"

namespace corvane::platform {

namespace {

bool IsOwnedRegular(const struct stat& st) {
    return S_ISREG(st.st_mode) && st.st_uid == geteuid();
}

// O_NONBLOCK keeps a planted FIFO from blocking the open; it is cleared for the regular file we keep. A
// file with a second name may be a hard link to one of the user's own files, and is not used either.
UniqueFd OpenChecked(const std::string& path, int flags, mode_t mode) {
    UniqueFd fd(open(path.c_str(), flags | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, mode));
    if (!fd) return {};
    struct stat st {};
    if (fstat(fd.Get(), &st) != 0 || !IsOwnedRegular(st) || st.st_nlink != 1) return {};
    fcntl(fd.Get(), F_SETFL, fcntl(fd.Get(), F_GETFL) & ~O_NONBLOCK);
    return fd;
}

constexpr std::string_view kPrivatePrefix = "corvane-";
constexpr std::string_view kUniqueTail = "XXXXXX";  // what mkdtemp replaces with letters and digits

// The process id in a private folder's name "corvane-<pid>-XXXXXX", written as MakePrivateFolder writes it;
// 0 for any other name.
pid_t OwnerInName(std::string_view name) {
    if (!name.starts_with(kPrivatePrefix)) return 0;
    name.remove_prefix(kPrivatePrefix.size());
    size_t dash = name.find('-');
    if (dash == std::string_view::npos || name.size() != dash + 1 + kUniqueTail.size()) return 0;
    for (char c : name.substr(dash + 1)) {
        bool letterOrDigit = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!letterOrDigit) return 0;
    }
    if (dash == 0 || name[0] == '0') return 0;
    pid_t pid = 0;
    auto [end, error] = std::from_chars(name.data(), name.data() + dash, pid);
    return error == std::errc() && end == name.data() + dash ? pid : 0;
}

// Only a process id that no process has any more: a living process under it, even another user's (or one
// that took the id over), keeps the folder.
bool ProcessHasEnded(pid_t pid) {
    return kill(pid, 0) != 0 && errno == ESRCH;
}

// Held while an entry is made; CloseOwnedFiles takes it to shut the door.
std::mutex makingMutex;
bool makingClosed = false;

// The private folders in the parent whose names pass the test, never links or other users' entries.
template <typename Test>
std::vector<std::string> PrivateFolders(const std::string& parent, Test test) {
    std::vector<std::string> found;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(parent, error), end; !error && entry != end;
         entry.increment(error)) {
        std::string name = entry->path().filename().string();
        pid_t owner = OwnerInName(name);
        if (owner == 0 || !test(owner)) continue;
        std::string path = (parent.empty() || parent.back() == '/' ? parent : parent + "/") + name;
        struct stat st {};
        if (lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != geteuid()) continue;
        found.push_back(path);
    }
    return found;
}

}  // namespace

int OpenOwnedFileForReading(const std::string& path) {
    return OpenChecked(path, O_RDONLY, 0).Release();
}

int CreateOwnedFile(const std::string& path) {
    // An existing file is never written through: it may be a hard link to another of the user's files,
    // which no check of the name can tell. What stands there goes (only our own entry can), and the file
    // is made anew; a name taken again meanwhile makes the exclusive create fail.
    std::lock_guard lock(makingMutex);
    if (makingClosed || !RemoveOwnedEntry(path)) return -1;
    UniqueFd fd = OpenChecked(path, O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (!fd || fchmod(fd.Get(), 0600) != 0) return -1;
    return fd.Release();
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
    std::lock_guard lock(makingMutex);
    if (makingClosed) return false;
    struct stat st {};
    if (lstat(to.c_str(), &st) == 0 && !IsOwnedRegular(st)) return false;
    if (lstat(from.c_str(), &st) != 0 || !IsOwnedRegular(st) || chmod(from.c_str(), 0600) != 0) return false;
    // rename replaces the entry itself and never follows a link at the target.
    return rename(from.c_str(), to.c_str()) == 0;
}

std::string MakePrivateFolder(const std::string& parent) {
    std::string pattern = parent;
    if (!pattern.empty() && pattern.back() != '/') pattern += '/';
    // The process id in the name tells a later start whether the folder is still in use.
    pattern += std::string(kPrivatePrefix) + std::to_string(getpid()) + "-" + std::string(kUniqueTail);
    std::lock_guard lock(makingMutex);
    if (makingClosed || !mkdtemp(pattern.data())) return {};
    return pattern;
}

void RemoveLeftoverPrivateFolders(const std::string& parent) {
    // The entry itself: a link of that name is nobody's folder, and another user's folder is theirs.
    auto ended = [](pid_t owner) { return owner != getpid() && ProcessHasEnded(owner); };
    for (const std::string& folder : PrivateFolders(parent, ended)) RemoveFolderTree(folder);
}

void RemoveOwnPrivateFolders(const std::string& parent) {
    auto own = [](pid_t owner) { return owner == getpid(); };
    for (const std::string& folder : PrivateFolders(parent, own)) RemoveFolderTree(folder);
}

void CloseOwnedFiles() {
    std::lock_guard lock(makingMutex);
    makingClosed = true;
}

void RemoveFolderTree(const std::string& path) {
    if (path.empty()) return;
    // A link in the tree is removed itself, never followed.
    std::error_code error;
    std::filesystem::remove_all(path, error);
}

}  // namespace corvane::platform
