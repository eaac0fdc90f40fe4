// Paths inside texts that hold one path per line: the paths of a drop, the file list of a run.
#pragma once

#include <string>
#include <string_view>

namespace corvane::platform {

// A line feed is a legal byte of a Linux file name. Inside such a line it travels as a NUL byte, which no
// path can hold, so that every line names exactly the path it was made from and no name is split in two.
// Appends the path so written to text.
void AppendPathAsLine(std::string& text, std::string_view path);
// The path a line stands for: each NUL back to the line feed of the name.
std::string PathOfLine(std::string_view line);

// A path (or a part of one) as text to show or write: valid UTF-8 (ill-formed bytes as U+FFFD), each line
// feed of the name as the visible U+240A, so that a name never breaks a row or a status line.
std::string PathAsText(std::string_view path);

}  // namespace corvane::platform
