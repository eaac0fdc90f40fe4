// Text helpers in place of the platform string class's trimming, splitting, replacing, lower-casing and
// decoding.
#pragma once

#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>

namespace corvane {

// The text without U+0020 blanks at either end; tabs and other white space stay. A view into the text, so
// whatever holds the text must outlive it.
std::string_view TrimBlanks(std::string_view text);

// The parts of a text between separators, any one of the characters of separators ending a part, as views
// into the text: n separators make n + 1 parts, empty ones included, so "" is one empty part.
//     for (std::string_view line : SplitAt(text, "\n")) ...
class SplitAt {
  public:
    SplitAt(std::string_view text, std::string_view separators) : text_(text), separators_(separators) {}

    class Iterator {
      public:
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;

        Iterator() = default;
        Iterator(std::string_view text, std::string_view separators);
        std::string_view operator*() const { return part_; }
        Iterator& operator++();
        Iterator operator++(int);
        bool operator==(std::default_sentinel_t) const { return done_; }

      private:
        std::string_view rest_;
        std::string_view separators_;
        std::string_view part_;
        bool last_ = false;  // part_ is the last part
        bool done_ = false;  // past the last part
    };

    Iterator begin() const { return {text_, separators_}; }
    std::default_sentinel_t end() const { return {}; }

  private:
    std::string_view text_;
    std::string_view separators_;
};

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
