#include "inputs/directory_scan.h"

#include <dirent.h>
#include <fcntl.h>
#include <sched.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "inputs/excluded_file.h"
#include "inputs/exclusions.h"
#include "platform/files.h"
#include "platform/path_lines.h"
#include "platform/unique_fd.h"

namespace corvane {

namespace {

// Each file costs one status query, which dominates a scan; folders are therefore listed by several
// threads at once and the result is put together in listing order afterwards.
constexpr unsigned kMaxScanThreads = 8;

struct Folder {
    std::string path;  // ends with "/"
    int depth = 0;
    bool isRoot = false;
    // In listing order: a kept file's name (an offset into names) or a sub-folder.
    struct Item {
        uint32_t nameOffset = 0;
        uint32_t nameLength = 0;
        Folder* subFolder = nullptr;
    };
    std::vector<Item> items;
    std::string names;
};

// The processors this process may run on: more threads than these would only take turns.
unsigned UsableProcessors() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0) return static_cast<unsigned>(CPU_COUNT(&set));
    return std::thread::hardware_concurrency();
}

bool IsDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// The entry's own kind, without following a symbolic link; false when its status cannot be read.
bool ReadEntryKind(int dirFd, const dirent* entry, bool& isDirectory) {
    if (entry->d_type != DT_UNKNOWN) {
        isDirectory = entry->d_type == DT_DIR;
        return true;
    }
    struct stat st {};
    if (fstatat(dirFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) return false;
    isDirectory = S_ISDIR(st.st_mode);
    return true;
}

// The size query with links followed, on the whole path: a path too long for the system to open is not
// kept, since it could not be hashed either.
bool HasContent(const std::string& path) {
    return platform::QueryPath(path).HasSizeAbove0();
}

class TreeScan {
  public:
    explicit TreeScan(const ExclusionRules& rules) : rules_(rules) {}

    // Lists the tree under the folder; a folder that cannot be listed keeps nothing.
    void Run(const std::string& folder, int depth) {
        auto root = std::make_unique<Folder>();
        root->path = folder;
        // Only "/" separates names: a backslash is an ordinary character of a Linux file name.
        if (root->path.back() != '/') root->path.push_back('/');
        root->depth = depth;
        root->isRoot = true;
        root_ = root.get();
        folders_.push_back(std::move(root));
        queue_.push_back(root_);

        // The first folder is listed here; helpers start only when it has sub-folders.
        WorkLoop(/*stopWhenIdle=*/true);
        if (queue_.empty()) return;
        std::vector<std::thread> helpers;
        unsigned count = std::clamp(UsableProcessors(), 1u, kMaxScanThreads) - 1;
        for (unsigned i = 0; i < count; ++i) {
            try {
                helpers.emplace_back([this] { WorkLoop(false); });
            } catch (const std::system_error&) {
                break;  // fewer helpers; this thread still does the work
            }
        }
        WorkLoop(false);
        for (auto& helper : helpers) helper.join();
    }

    // Appends the kept files in listing order, a line feed after each item.
    void AppendResult(std::string& out) const { Append(*root_, out); }

  private:
    // Takes folders from the queue until none is left and none is being listed. With stopWhenIdle, returns
    // after the first folder.
    void WorkLoop(bool stopWhenIdle) {
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.wait(lock, [this] { return !queue_.empty() || busy_ == 0; });
            if (queue_.empty()) return;
            Folder* folder = queue_.front();
            queue_.pop_front();
            ++busy_;
            lock.unlock();
            List(*folder);
            lock.lock();
            --busy_;
            changed_.notify_all();
            if (stopWhenIdle) return;
        }
    }

    void List(Folder& folder) {
        // A sub-folder found as a directory is opened without following a link that may have replaced it;
        // the folder the user gave may itself be reached through a link.
        int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | (folder.isRoot ? 0 : O_NOFOLLOW);
        platform::UniqueDir listing =
            platform::OpenDirectory(platform::UniqueFd(open(folder.path.c_str(), flags)));
        DIR* dir = listing.get();
        if (!dir) return;
        std::string path = folder.path;
        const size_t prefixLength = path.size();
        while (const dirent* entry = readdir(dir)) {
            if (IsDotOrDotDot(entry->d_name)) continue;
            bool isDirectory = false;
            if (!ReadEntryKind(dirfd(dir), entry, isDirectory)) continue;
            path.resize(prefixLength);
            path.append(entry->d_name);
            if (isDirectory) {
                if (folder.depth + 1 <= kMaxScanDepth) AddSubFolder(folder, path);
                continue;
            }
            if (rules_.Excludes(path) || !HasContent(path)) continue;
            Folder::Item item;
            item.nameOffset = static_cast<uint32_t>(folder.names.size());
            item.nameLength = static_cast<uint32_t>(path.size() - prefixLength);
            folder.names.append(entry->d_name, item.nameLength);
            folder.items.push_back(item);
        }
    }

    void AddSubFolder(Folder& parent, const std::string& path) {
        auto sub = std::make_unique<Folder>();
        sub->path = path + "/";
        sub->depth = parent.depth + 1;
        Folder::Item item;
        item.subFolder = sub.get();
        parent.items.push_back(item);
        std::lock_guard lock(mutex_);
        queue_.push_back(sub.get());
        folders_.push_back(std::move(sub));
        changed_.notify_one();
    }

    static void Append(const Folder& folder, std::string& out) {
        for (const Folder::Item& item : folder.items) {
            if (item.subFolder) {
                size_t mark = out.size();
                Append(*item.subFolder, out);
                // A sub-folder that kept something is one item: its files, then one more line feed.
                if (out.size() != mark) out.push_back('\n');
            } else {
                platform::AppendPathAsLine(out, folder.path);
                platform::AppendPathAsLine(
                    out, std::string_view(folder.names).substr(item.nameOffset, item.nameLength));
                out.push_back('\n');
            }
        }
    }

    const ExclusionRules& rules_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Folder*> queue_;
    int busy_ = 0;
    std::vector<std::unique_ptr<Folder>> folders_;
    Folder* root_ = nullptr;
};

}  // namespace

void ScanDirectoryInto(const std::string& folder, int depth, std::string& out) {
    if (depth > kMaxScanDepth || folder.empty()) return;
    // The lists cannot change while the scan runs: it blocks the main thread, their only writer.
    ExclusionRules rules(ExcludedDirs, ExcludedExtensions);
    TreeScan scan(rules);
    scan.Run(folder, depth);
    scan.AppendResult(out);
}

std::string ScanDirectory(const std::string& folder, int depth) {
    std::string out;
    ScanDirectoryInto(folder, depth, out);
    return out;
}

}  // namespace corvane
