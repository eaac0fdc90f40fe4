// Whole reads and writes on a file descriptor, retried where a signal cut them short.
#pragma once

#include <string>
#include <string_view>

namespace corvane::platform {

// Reads from the descriptor to the end of the file into the text; false (the text emptied) after a read
// error: what came before it is not the whole file.
bool ReadToEnd(int fd, std::string& text);
// Writes every byte of the data; false when a write fails or writes nothing.
bool WriteAll(int fd, std::string_view data);

}  // namespace corvane::platform
