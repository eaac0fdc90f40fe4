#include "inputs/excluded_file.h"

#include <optional>

#include "inputs/exclusions.h"
#include "platform/text.h"

namespace corvane {

namespace {

std::string ReplaceBackslashPairs(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '\\') {
            out += '/';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

bool IsPlainAscii(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80 || c == '\\') return false;
    }
    return true;
}

// Compares an ASCII text with a lower-case prefix, ignoring the text's case.
bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view lowerPrefix) {
    if (text.size() < lowerPrefix.size()) return false;
    for (size_t i = 0; i < lowerPrefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
        if (c != lowerPrefix[i]) return false;
    }
    return true;
}

}  // namespace

ExclusionRules::ExclusionRules(std::string_view excludedDirs, std::string_view excludedExtensions) {
    std::string dirs = ReplaceBackslashPairs(excludedDirs);
    for (std::string_view part : SplitAt(dirs, "|")) {
        std::string_view entry = TrimBlanks(part);
        if (!entry.empty()) {
            std::string prefix = ToLowerSimple(entry);
            if (prefix.back() != '/') prefix += '/';
            prefixes_.push_back(std::move(prefix));
        }
    }
    std::string_view extensions = TrimBlanks(excludedExtensions);
    if (!extensions.empty()) extensionBars_ = "|" + ToLowerSimple(extensions) + "|";
}

bool ExclusionRules::InExcludedDir(std::string_view path) const {
    if (prefixes_.empty()) return false;
    if (IsPlainAscii(path)) {
        // Nothing to replace and only ASCII letters to fold: no copy needed.
        for (const std::string& prefix : prefixes_) {
            if (StartsWithIgnoringAsciiCase(path, prefix)) return true;
        }
        return false;
    }
    std::string normalised = ToLowerSimple(ReplaceBackslashPairs(path));
    for (const std::string& prefix : prefixes_) {
        if (normalised.starts_with(prefix)) return true;
    }
    return false;
}

bool ExclusionRules::HasExcludedExtension(std::string_view path) const {
    std::string_view extension = PathExtension(path);
    if (extension.empty() || extensionBars_.empty()) return false;
    return extensionBars_.find("|" + ToLowerSimple(extension) + "|") != std::string::npos;
}

bool ExclusionRules::Excludes(std::string_view path) const {
    return InExcludedDir(path) || HasExcludedExtension(path);
}

bool IsExcludedFile(const std::string& path) {
    // Prepared again only when one of the lists has changed since the last call.
    static std::string dirs;
    static std::string extensions;
    static std::optional<ExclusionRules> rules;
    if (!rules || dirs != ExcludedDirs || extensions != ExcludedExtensions) {
        dirs = ExcludedDirs;
        extensions = ExcludedExtensions;
        rules.emplace(dirs, extensions);
    }
    return rules->Excludes(path);
}

std::string_view PathExtension(std::string_view path) {
    size_t dot = path.rfind('.');
    if (dot == std::string_view::npos) return {};
    std::string_view extension = path.substr(dot + 1);
    if (extension.find_first_of("/ ") != std::string_view::npos) return {};
    if (dot > 0 && (path[dot - 1] == '/' || path[dot - 1] == '\\')) return {};
    return extension.substr(0, extension.find('"'));
}

}  // namespace corvane
