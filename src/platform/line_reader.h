// Buffered line reading from a file descriptor: a line ends at CR, LF or CR LF; the last line may lack an
// ending.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvane::platform {

class LineReader {
  public:
    explicit LineReader(int fd, size_t bufferSize = 1 << 20);
    // The next line without its ending, valid until the next call; false at the end of the file, and
    // after a read error.
    bool Next(std::string_view& line);
    // True once a read failed: the lines so far are not the whole file.
    bool Failed() const { return failed_; }

  private:
    bool Fill();

    int fd_;
    std::vector<char> buffer_;
    size_t start_ = 0;
    size_t end_ = 0;
    bool eof_ = false;
    bool failed_ = false;
    bool skipLf_ = false;  // the last line ended with CR: an LF right after it belongs to that ending
    std::string carry_;    // a line that crosses the end of the buffer
};

}  // namespace corvane::platform
