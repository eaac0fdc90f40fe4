// The user's locale, taken from the environment before start-up sets the process locale.
#pragma once

#include <cstdint>
#include <string>

namespace corvane::platform {

// Reads LC_ALL, LC_TIME, LANG (the first set one) once; later calls keep the first answer.
void CaptureUserLocale();
// "en_US" style: language and region without encoding or modifier; "en_US" when nothing is set,
// "en_US_POSIX" for the C and POSIX locales.
std::string LocaleIdentifier();

// The number in decimal with the locale's thousands separator.
std::string FormatGroupedNumber(int64_t value);
// The locale's thousands separator as UTF-8.
std::string GroupingSeparator();

}  // namespace corvane::platform
