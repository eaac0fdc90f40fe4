#include "platform/date_format.h"

#include <unicode/udat.h>
#include <unicode/ustring.h>

#include <cstdio>
#include <cstdlib>

namespace corvane::platform {

namespace {

constexpr int32_t kCapacity = 256;

// The zone of the local time at that moment as a fixed offset, so that ICU shows the same wall-clock time
// as the C library's local time (the TZ rules included).
void LocalZoneAt(std::time_t when, UChar* zone) {
    std::tm local{};
    localtime_r(&when, &local);
    long offset = std::labs(local.tm_gmtoff);
    char text[32];
    std::snprintf(text, sizeof text, "GMT%c%02ld:%02ld", local.tm_gmtoff < 0 ? '-' : '+', offset / 3600,
                  offset % 3600 / 60);
    u_uastrcpy(zone, text);
}

}  // namespace

std::string FormatLocalDate(std::time_t when, const std::string& pattern,
                            const std::string& localeIdentifier) {
    UErrorCode status = U_ZERO_ERROR;
    UChar wide[kCapacity];
    int32_t length = 0;
    u_strFromUTF8(wide, kCapacity, &length, pattern.c_str(), -1, &status);
    UChar zone[32];
    LocalZoneAt(when, zone);
    icu::LocalUDateFormatPointer format(
        udat_open(UDAT_PATTERN, UDAT_PATTERN, localeIdentifier.c_str(), zone, -1, wide, length, &status));
    if (U_FAILURE(status)) return {};
    UChar written[kCapacity];
    length = udat_format(format.getAlias(), static_cast<UDate>(when) * 1000.0, written, kCapacity, nullptr,
                         &status);
    char text[kCapacity * 3];
    int32_t bytes = 0;
    u_strToUTF8(text, sizeof text, &bytes, written, length, &status);
    return U_FAILURE(status) ? std::string() : std::string(text, static_cast<size_t>(bytes));
}

}  // namespace corvane::platform
