#include "platform/text.h"

#include <locale.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>
#include <wctype.h>

#include <cstdint>

namespace corvane {

std::string_view TrimBlanks(std::string_view text) {
    size_t begin = text.find_first_not_of(' ');
    if (begin == std::string_view::npos) return {};
    size_t end = text.find_last_not_of(' ');
    return text.substr(begin, end - begin + 1);
}

SplitAt::Iterator::Iterator(std::string_view text, std::string_view separators)
    : rest_(text), separators_(separators) {
    ++*this;
}

SplitAt::Iterator& SplitAt::Iterator::operator++() {
    if (last_) {
        done_ = true;
        return *this;
    }
    size_t end = rest_.find_first_of(separators_);
    part_ = rest_.substr(0, end);
    last_ = end == std::string_view::npos;
    if (!last_) rest_.remove_prefix(end + 1);
    return *this;
}

SplitAt::Iterator SplitAt::Iterator::operator++(int) {
    Iterator before = *this;
    ++*this;
    return before;
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
    if (from.empty()) return std::string(text);
    std::string out;
    size_t pos = 0;
    for (size_t hit; (hit = text.find(from, pos)) != std::string_view::npos; pos = hit + from.size()) {
        out.append(text.substr(pos, hit - pos));
        out.append(to);
    }
    out.append(text.substr(pos));
    return out;
}

namespace {

const uint8_t* Bytes(std::string_view text) {
    return reinterpret_cast<const uint8_t*>(text.data());
}

// Calls visit(piece, code) for each character of the text in turn: piece is its bytes and code its code
// point, or negative for an ill-formed part. ICU's U8_NEXT takes overlong forms, surrogates and code points
// above U+10FFFF as ill-formed, and passes over each ill-formed part up to the first byte that cannot
// continue it (at least one byte).
template <typename Visit>
void ForEachCharacter(std::string_view text, Visit visit) {
    for (size_t i = 0; i < text.size();) {
        size_t start = i;
        UChar32 code;
        U8_NEXT(Bytes(text), i, text.size(), code);
        visit(text.substr(start, i - start), code);
    }
}

void AppendUtf8(UChar32 code, std::string& out) {
    uint8_t bytes[U8_MAX_LENGTH];
    size_t length = 0;
    U8_APPEND_UNSAFE(bytes, length, static_cast<uint32_t>(code));
    out.append(reinterpret_cast<const char*>(bytes), length);
}

locale_t Utf8Locale() {
    static locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
    return locale;
}

}  // namespace

std::string ToLowerSimple(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    ForEachCharacter(text, [&](std::string_view piece, UChar32 code) {
        if (code >= 0 && code < 0x80) {  // ASCII without a table look-up
            out += static_cast<char>(code >= 'A' && code <= 'Z' ? code + ('a' - 'A') : code);
        } else if (code < 0 || !Utf8Locale()) {  // an ill-formed part, or no locale to map with: as it is
            out.append(piece);
        } else {
            AppendUtf8(static_cast<UChar32>(towlower_l(static_cast<wint_t>(code), Utf8Locale())), out);
        }
    });
    return out;
}

std::string ValidUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    ForEachCharacter(bytes, [&](std::string_view piece, UChar32 code) {
        if (code < 0) {
            out += kReplacementCharacter;
        } else {
            out.append(piece);
        }
    });
    return out;
}

std::string FirstCharacters(std::string_view text, size_t n) {
    size_t end = 0;
    for (size_t count = 0; count < n && end < text.size(); ++count) U8_FWD_1(Bytes(text), end, text.size());
    return std::string(text.substr(0, end));
}

size_t CharacterCount(std::string_view text) {
    size_t count = 0;
    for (size_t i = 0; i < text.size(); ++count) U8_FWD_1(Bytes(text), i, text.size());
    return count;
}

size_t BytesWithinUtf16Units(std::string_view text, size_t maxUnits) {
    size_t units = 0;
    size_t bytes = 0;
    ForEachCharacter(text, [&](std::string_view piece, UChar32 code) {
        units += code < 0 ? 1 : U16_LENGTH(code);
        if (units <= maxUnits) bytes += piece.size();
    });
    return bytes;
}

}  // namespace corvane
