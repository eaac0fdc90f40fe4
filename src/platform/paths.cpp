#include "platform/paths.h"

#include <pwd.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

#include "platform/files.h"

namespace corvane::platform {

std::string HomeFolderPath() {
    std::string home;
    if (const char* env = std::getenv("HOME"); env && *env) {
        home = env;
    } else if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) {
        home = pw->pw_dir;
    }
    if (home.empty() || home.back() != '/') home += '/';
    return home;
}

std::string BundlePath() {
    char buffer[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return {};
    return ParentFolder(std::string(buffer, static_cast<size_t>(n)));
}

std::string ApplicationSupportPath() {
    std::string folder;
    if (const char* env = std::getenv("XDG_DATA_HOME"); env && *env == '/') {
        folder = env;
    } else {
        folder = HomeFolderPath() + ".local/share";
    }
    MakeFolders(folder, 0700);
    return folder;
}

}  // namespace corvane::platform
