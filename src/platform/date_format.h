// Dates as the user's locale writes them.
#pragma once

#include <ctime>
#include <string>

namespace corvane::platform {

// The moment in local time, written with a pattern of Unicode Technical Standard #35 ("dd-MM-yyyy") in the
// locale's calendar and digits: th_TH counts Buddhist years, ar_EG writes Arabic-Indic digits. "" when
// no formatter can be made.
std::string FormatLocalDate(std::time_t when, const std::string& pattern,
                            const std::string& localeIdentifier);

}  // namespace corvane::platform
