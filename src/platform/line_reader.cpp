#include "platform/line_reader.h"

#include <unistd.h>

#include <cerrno>

namespace corvane::platform {

LineReader::LineReader(int fd, size_t bufferSize) : fd_(fd), buffer_(bufferSize) {}

bool LineReader::Fill() {
    if (eof_) return false;
    ssize_t n;
    do {
        n = read(fd_, buffer_.data(), buffer_.size());
    } while (n < 0 && errno == EINTR);
    if (n <= 0) {
        eof_ = true;
        failed_ = n < 0;
        return false;
    }
    start_ = 0;
    end_ = static_cast<size_t>(n);
    return true;
}

bool LineReader::Next(std::string_view& line) {
    carry_.clear();
    bool any = false;
    for (;;) {
        if (start_ == end_ && !Fill()) {
            if (!any) return false;
            line = carry_;
            return true;
        }
        if (skipLf_) {
            skipLf_ = false;
            if (buffer_[start_] == '\n' && ++start_ == end_) continue;
        }
        const char* begin = buffer_.data() + start_;
        size_t i = start_;
        while (i < end_ && buffer_[i] != '\n' && buffer_[i] != '\r') ++i;
        if (i == end_) {
            carry_.append(begin, end_ - start_);
            start_ = end_;
            any = true;
            continue;
        }
        skipLf_ = buffer_[i] == '\r';
        std::string_view piece(begin, i - start_);
        start_ = i + 1;
        if (!any) {
            line = piece;
        } else {
            carry_.append(piece);
            line = carry_;
        }
        return true;
    }
}

}  // namespace corvane::platform
