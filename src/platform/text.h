// Text helpers in place of the platform string class's trimming, replacing and lower-casing.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

// Removes U+0020 blanks from both ends; tabs and other white space stay.
std::string TrimBlanks(std::string_view text);
// Replaces every occurrence, left to right, without overlap.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);
// Lower-cases each character on its own (simple one-to-one mapping); UTF-8 in and out.
std::string ToLowerSimple(std::string_view text);

}  // namespace corvane
