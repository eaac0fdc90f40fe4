#include "platform/text.h"

#include <locale.h>
#include <wctype.h>

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

constexpr char32_t kInvalid = static_cast<char32_t>(-1);

// Decodes one well-formed UTF-8 sequence at text[i]. Overlong forms, surrogates and code points above
// U+10FFFF are ill-formed: then the code is kInvalid and length covers the bytes up to the first one that
// cannot continue the sequence (at least 1), so each ill-formed part is passed over as a whole.
char32_t DecodeUtf8(std::string_view text, size_t i, size_t& length) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    length = 1;
    if (c < 0x80) return c;
    int extra;
    char32_t code;
    // The second byte's range rules out the overlong forms, the surrogates and what lies above U+10FFFF.
    unsigned char low = 0x80, high = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
        extra = 1;
        code = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        extra = 2;
        code = c & 0x0F;
        if (c == 0xE0) low = 0xA0;
        if (c == 0xED) high = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        extra = 3;
        code = c & 0x07;
        if (c == 0xF0) low = 0x90;
        if (c == 0xF4) high = 0x8F;
    } else {
        return kInvalid;
    }
    for (int k = 1; k <= extra; ++k) {
        if (i + k >= text.size()) return kInvalid;
        unsigned char next = static_cast<unsigned char>(text[i + k]);
        if (next < low || next > high) return kInvalid;
        low = 0x80;
        high = 0xBF;
        code = (code << 6) | (next & 0x3F);
        ++length;
    }
    return code;
}

void EncodeUtf8(char32_t code, std::string& out) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

locale_t Utf8Locale() {
    static locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
    return locale;
}

}  // namespace

std::string ToLowerSimple(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {  // the common case, without a table look-up
            out += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
            ++i;
            continue;
        }
        size_t length;
        char32_t code = DecodeUtf8(text, i, length);
        if (code == kInvalid || !Utf8Locale()) {
            out.append(text.substr(i, length));
        } else {
            EncodeUtf8(static_cast<char32_t>(towlower_l(static_cast<wint_t>(code), Utf8Locale())), out);
        }
        i += length;
    }
    return out;
}

std::string ValidUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        size_t length;
        if (DecodeUtf8(bytes, i, length) == kInvalid) {
            out += kReplacementCharacter;
        } else {
            out.append(bytes.substr(i, length));
        }
        i += length;
    }
    return out;
}

}  // namespace corvane
