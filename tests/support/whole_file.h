// A file's whole content, for tests that check what was written.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

namespace corvane::testing {

inline std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace corvane::testing
