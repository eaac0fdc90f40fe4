#include "platform/path_lines.h"

#include <algorithm>

#include "platform/text.h"

namespace corvane::platform {

namespace {

// U+240A SYMBOL FOR LINE FEED.
constexpr std::string_view kLineFeedSymbol = "\xE2\x90\x8A";

}  // namespace

void AppendPathAsLine(std::string& text, std::string_view path) {
    const size_t start = text.size();
    text.append(path);
    std::replace(text.begin() + static_cast<std::ptrdiff_t>(start), text.end(), '\n', '\0');
}

std::string PathOfLine(std::string_view line) {
    std::string path(line);
    std::replace(path.begin(), path.end(), '\0', '\n');
    return path;
}

std::string PathAsText(std::string_view path) {
    return ReplaceAll(ValidUtf8(path), "\n", kLineFeedSymbol);
}

}  // namespace corvane::platform
