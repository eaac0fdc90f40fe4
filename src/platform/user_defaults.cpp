#include "platform/user_defaults.h"

#include <fcntl.h>
#include <plist/plist.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>

#include "platform/files.h"
#include "platform/owned.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace corvane::platform {

namespace {

// A text libplist made for the caller.
using PlistText = Owned<char, free>;

PlistText StringValue(plist_t node) {
    char* value = nullptr;
    plist_get_string_val(node, &value);
    return PlistText(value);
}

}  // namespace

void UserDefaults::PlistFree::operator()(void* node) const {
    plist_free(node);
}

UserDefaults::UserDefaults(std::string path) : path_(std::move(path)) {}

void UserDefaults::LoadOnce() {
    if (loaded_) return;
    loaded_ = true;
    // A preferences file that is not a regular file (a FIFO, say) reads as no values.
    std::string xml;
    ReadRegularFile(path_, xml);
    plist_t root = nullptr;
    if (!xml.empty()) plist_from_xml(xml.data(), static_cast<uint32_t>(xml.size()), &root);
    Plist parsed(root);
    if (parsed && plist_get_node_type(parsed.get()) != PLIST_DICT) parsed.reset();
    dict_ = parsed ? std::move(parsed) : Plist(plist_new_dict());
}

std::optional<std::string> UserDefaults::StringForKey(const std::string& key) {
    std::lock_guard lock(mutex_);
    LoadOnce();
    plist_t node = plist_dict_get_item(dict_.get(), key.c_str());
    if (!node) return std::nullopt;
    switch (plist_get_node_type(node)) {
        case PLIST_STRING: {
            PlistText value = StringValue(node);
            return std::string(value ? value.get() : "");
        }
        case PLIST_UINT: {
            uint64_t value = 0;
            plist_get_uint_val(node, &value);
            return std::to_string(static_cast<int64_t>(value));
        }
        case PLIST_REAL: {
            double value = 0;
            plist_get_real_val(node, &value);
            return std::to_string(value);
        }
        default:
            return std::nullopt;
    }
}

int64_t UserDefaults::IntegerForKey(const std::string& key) {
    std::lock_guard lock(mutex_);
    LoadOnce();
    plist_t node = plist_dict_get_item(dict_.get(), key.c_str());
    if (!node) return 0;
    switch (plist_get_node_type(node)) {
        case PLIST_UINT: {
            uint64_t value = 0;
            plist_get_uint_val(node, &value);
            return static_cast<int64_t>(value);
        }
        case PLIST_BOOLEAN: {
            uint8_t value = 0;
            plist_get_bool_val(node, &value);
            return value;
        }
        case PLIST_REAL: {
            double value = 0;
            plist_get_real_val(node, &value);
            return static_cast<int64_t>(value);
        }
        case PLIST_STRING: {
            PlistText value = StringValue(node);
            return value ? std::strtoll(value.get(), nullptr, 10) : 0;
        }
        default:
            return 0;
    }
}

void UserDefaults::SetString(const std::string& key, const std::string& value) {
    std::lock_guard lock(mutex_);
    LoadOnce();
    plist_dict_set_item(dict_.get(), key.c_str(), plist_new_string(StorableText(value).c_str()));
}

void UserDefaults::SetInteger(const std::string& key, int64_t value) {
    std::lock_guard lock(mutex_);
    LoadOnce();
    plist_dict_set_item(dict_.get(), key.c_str(), plist_new_uint(static_cast<uint64_t>(value)));
}

bool UserDefaults::Synchronize() {
    std::lock_guard lock(mutex_);
    LoadOnce();
    char* written = nullptr;
    uint32_t length = 0;
    plist_to_xml(dict_.get(), &written, &length);
    Owned<char, plist_to_xml_free> xml(written);
    if (!xml) return false;
    return WriteFileAtomically(path_, std::string(xml.get(), length), 0600);
}

std::string StorableText(std::string_view text) {
    std::string valid = ValidUtf8(text);
    std::string out;
    out.reserve(valid.size());
    for (char c : valid) {
        // XML 1.0 allows no C0 control character but tab, line feed and carriage return.
        bool forbidden = static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r';
        out += forbidden ? kReplacementCharacter : std::string_view(&c, 1);
    }
    // Nor the two noncharacters U+FFFE and U+FFFF.
    out = ReplaceAll(out, "\xEF\xBF\xBE", kReplacementCharacter);
    return ReplaceAll(out, "\xEF\xBF\xBF", kReplacementCharacter);
}

std::string PreferencesFilePath() {
    return HomeFolderPath() + "Library/Preferences/com.veltrane.Corvane.plist";
}

UserDefaults& StandardUserDefaults() {
    static UserDefaults defaults(PreferencesFilePath());
    return defaults;
}

}  // namespace corvane::platform
