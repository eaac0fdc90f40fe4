#include "program/settings.h"

#include "platform/files.h"
#include "platform/user_defaults.h"

namespace corvane {

std::string ReadStringSetting(const std::string& key) {
    return platform::StandardUserDefaults().StringForKey(key).value_or("");
}

int64_t ReadIntegerSetting(const std::string& key) {
    return platform::StandardUserDefaults().IntegerForKey(key);
}

void WriteStringSetting(const std::string& key, const std::string& value) {
    auto& defaults = platform::StandardUserDefaults();
    defaults.SetString(key, value);
    defaults.Synchronize();
}

void WriteIntegerSetting(const std::string& key, int64_t value) {
    auto& defaults = platform::StandardUserDefaults();
    defaults.SetInteger(key, value);
    defaults.Synchronize();
}

void ReadSettings() {
    // Only "no such file" counts as missing; a directory in its place counts as present.
    if (platform::PathIsMissing(platform::PreferencesFilePath())) {
        ShowDockTime = 0;
        UseShortPaths = 0;
        SelectedAlgorithm = "MD5";
        return;
    }
    SelectedAlgorithm = ReadStringSetting(kChecksumKey);
    ShowDockTime = static_cast<uint8_t>(ReadIntegerSetting(kDockStatusKey));
    UseShortPaths = static_cast<uint8_t>(ReadIntegerSetting(kHideDirKey));
}

}  // namespace corvane
