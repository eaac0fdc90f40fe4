// Text helpers in place of the platform string class's trimming, replacing, lower-casing and decoding.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

// Removes U+0020 blanks from both ends; tabs and other white space stay.
std::string TrimBlanks(std::string_view text);
// Replaces every occurrence, left to right, without overlap.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);
// Lower-cases each character on its own (simple one-to-one mapping); UTF-8 in and out, ill-formed bytes
// kept as they are.
std::string ToLowerSimple(std::string_view text);
// U+FFFD, which stands for bytes that are not text.
inline constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";
// Bytes (a file name, say) as text that can be shown or written: valid UTF-8 stays as it is, and each
// ill-formed part becomes one U+FFFD.
std::string ValidUtf8(std::string_view bytes);
// The first n characters (code points) of UTF-8 text, never cutting one in two. Here and below an ill-formed
// part, which the toolkit's texts never hold, counts as one character, as its U+FFFD would.
std::string FirstCharacters(std::string_view text, size_t n);
size_t CharacterCount(std::string_view text);
// The bytes of the longest start of the text within maxUnits UTF-16 units, cut between whole characters:
// the whole text's size when it is that short.
size_t BytesWithinUtf16Units(std::string_view text, size_t maxUnits);

}  // namespace corvane
