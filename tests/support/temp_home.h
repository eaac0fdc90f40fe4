// A fresh home folder for one test: HOME and XDG_DATA_HOME point into a temporary directory that is
// removed afterwards.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>

namespace corvane::testing {

class TempHome {
public:
    TempHome() {
        std::string pattern = (std::filesystem::temp_directory_path() / "corvane-test-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
        setenv("HOME", path_.c_str(), 1);
        setenv("XDG_DATA_HOME", (path_ + "/.local/share").c_str(), 1);
    }
    ~TempHome() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    const std::string& Path() const { return path_; }
    std::string PreferencesFile() const { return path_ + "/Library/Preferences/com.veltrane.Corvane.plist"; }

private:
    std::string path_;
};

}  // namespace corvane::testing
