// Lower-casing of paths and lists for the case-blind exclusion tests.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

// Maps every character of a UTF-8 text that fits one UTF-16 unit to its lower-case form (the platform's
// mapping); characters beyond it and bytes that are not UTF-8 stay as they are.
std::string LowerCaseText(std::string_view text);

// The length of a UTF-8 text in UTF-16 units.
size_t Utf16Length(std::string_view text);

}  // namespace corvane
