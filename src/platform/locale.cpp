#include "platform/locale.h"

#include <langinfo.h>
#include <locale.h>

#include <cstdlib>
#include <mutex>

#include "platform/locale_state.h"

namespace corvane::platform {

namespace {

std::string IdentifierFromName(const std::string& name) {
    if (name.empty()) return "en_US";
    if (name == "C" || name == "POSIX" || name.starts_with("C.")) return "en_US_POSIX";
    std::string id = name.substr(0, name.find_first_of(".@"));
    return id.empty() ? "en_US" : id;
}

std::string CaptureLocked() {
    if (!CapturedLocaleIdentifier) {
        for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
            const char* value = std::getenv(variable);
            if (value && *value) {
                CapturedLocaleName = value;
                break;
            }
        }
        CapturedLocaleIdentifier = IdentifierFromName(CapturedLocaleName);
    }
    return *CapturedLocaleIdentifier;
}

// Separators of common languages, for when the system has no such locale installed.
std::string SeparatorForLanguage(const std::string& id) {
    std::string language = id.substr(0, id.find('_'));
    if (id == "de_CH" || id == "it_CH") return "\xE2\x80\x99";  // right single quotation mark
    for (const char* dot :
         {"de", "nl", "it", "es", "pt", "da", "id", "tr", "el", "ro", "hr", "sl", "sr", "vi"}) {
        if (language == dot) return ".";
    }
    for (const char* space :
         {"fr", "ru", "pl", "cs", "sk", "sv", "nb", "nn", "no", "fi", "uk", "hu", "bg", "et", "lv", "lt"}) {
        if (language == space) return "\xE2\x80\xAF";  // narrow no-break space
    }
    return ",";
}

}  // namespace

void CaptureUserLocale() {
    std::lock_guard lock(CapturedLocaleMutex);
    CaptureLocked();
}

std::string LocaleIdentifier() {
    std::lock_guard lock(CapturedLocaleMutex);
    return CaptureLocked();
}

std::string GroupingSeparator() {
    std::string name;
    std::string id;
    {
        std::lock_guard lock(CapturedLocaleMutex);
        id = CaptureLocked();
        name = CapturedLocaleName;
    }
    if (id == "en_US_POSIX") return ",";
    if (!name.empty()) {
        if (locale_t loc = newlocale(LC_NUMERIC_MASK, name.c_str(), nullptr)) {
            std::string separator = nl_langinfo_l(THOUSEP, loc);
            freelocale(loc);
            if (!separator.empty()) return separator;
        }
    }
    return SeparatorForLanguage(id);
}

std::string FormatGroupedNumber(int64_t value) {
    std::string digits =
        std::to_string(value < 0 ? static_cast<uint64_t>(-(value + 1)) + 1 : static_cast<uint64_t>(value));
    std::string separator = GroupingSeparator();
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += separator;
        out += digits[i];
    }
    return value < 0 ? "-" + out : out;
}

}  // namespace corvane::platform
