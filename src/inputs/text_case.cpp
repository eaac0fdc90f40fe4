#include "inputs/text_case.h"

#include <locale.h>
#include <wctype.h>

namespace corvane {

namespace {

// The full Unicode case tables, whatever the process locale is.
locale_t CaseLocale() {
    static locale_t locale = [] {
        locale_t loc = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
        if (!loc) loc = newlocale(LC_CTYPE_MASK, "en_US.UTF-8", nullptr);
        return loc;
    }();
    return locale;
}

char32_t LowerCodePoint(char32_t c) {
    if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
    if (c > 0xFFFF) return c;  // two UTF-16 units: each unit on its own has no case
    locale_t loc = CaseLocale();
    wint_t lower = loc ? towlower_l(static_cast<wint_t>(c), loc) : towlower(static_cast<wint_t>(c));
    return lower > 0xFFFF ? c : static_cast<char32_t>(lower);
}

// Decodes one UTF-8 sequence at text[i]; returns its length, 0 when the bytes are not well-formed UTF-8.
size_t DecodeUtf8(std::string_view text, size_t i, char32_t& c) {
    auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    unsigned char lead = byte(i);
    size_t length = lead < 0xC2 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 0;
    if (length == 0 || i + length > text.size()) return 0;
    c = lead & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        c = (c << 6) | (byte(i + k) & 0x3F);
    }
    bool overlong = (length == 3 && c < 0x800) || (length == 4 && c < 0x10000);
    if (overlong || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    return length;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::string LowerCaseText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            out += (b >= 'A' && b <= 'Z') ? static_cast<char>(b + ('a' - 'A')) : static_cast<char>(b);
            ++i;
            continue;
        }
        char32_t c = 0;
        size_t length = DecodeUtf8(text, i, c);
        if (length == 0) {
            out += text[i++];  // not UTF-8: kept as the byte it is
            continue;
        }
        AppendUtf8(out, LowerCodePoint(c));
        i += length;
    }
    return out;
}

size_t Utf16Length(std::string_view text) {
    size_t units = 0;
    for (char ch : text) {
        auto b = static_cast<unsigned char>(ch);
        if ((b & 0xC0) == 0x80) continue;  // continuation byte
        units += b >= 0xF0 ? 2 : 1;
    }
    return units;
}

}  // namespace corvane
