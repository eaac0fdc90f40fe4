// User defaults kept as an XML property list (~/Library/Preferences/<domain>.plist). Thread-safe.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace corvane::platform {

class UserDefaults {
  public:
    explicit UserDefaults(std::string path);
    UserDefaults(const UserDefaults&) = delete;
    UserDefaults& operator=(const UserDefaults&) = delete;

    // A text value (numbers are given as their decimal text); nothing when the key is absent.
    std::optional<std::string> StringForKey(const std::string& key);
    // An integer value (a text is read up to its first non-digit); 0 when absent.
    int64_t IntegerForKey(const std::string& key);
    // Stores the value as StorableText makes it.
    void SetString(const std::string& key, const std::string& value);
    void SetInteger(const std::string& key, int64_t value);
    // Writes the values to a temporary file renamed over the property list; creates the folder (0700).
    bool Synchronize();

    const std::string& Path() const { return path_; }

  private:
    // Frees a property-list node: libplist's plist_t, a void*.
    struct PlistFree {
        void operator()(void* node) const;
    };
    using Plist = std::unique_ptr<void, PlistFree>;

    void LoadOnce();

    std::mutex mutex_;
    std::string path_;
    Plist dict_;
    bool loaded_ = false;
};

// A text as the property list can hold it, so that the file stays well-formed XML in UTF-8: each ill-formed
// UTF-8 part and each control character that XML forbids becomes U+FFFD. A stored value reads back as this.
std::string StorableText(std::string_view text);

// The program's defaults, at $HOME/Library/Preferences/com.veltrane.Corvane.plist.
UserDefaults& StandardUserDefaults();
std::string PreferencesFilePath();

}  // namespace corvane::platform
