#include "platform/line_reader.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

namespace corvane::platform {
namespace {

std::vector<std::string> ReadLines(const std::string& text, size_t bufferSize) {
    int fd = memfd_create("lines", 0);
    EXPECT_EQ(write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    lseek(fd, 0, SEEK_SET);
    LineReader reader(fd, bufferSize);
    std::vector<std::string> lines;
    std::string_view line;
    while (reader.Next(line)) lines.emplace_back(line);
    close(fd);
    return lines;
}

struct LinesCase {
    std::string text;
    std::vector<std::string> lines;
};
inline void PrintTo(const LinesCase& c, std::ostream* os) {
    *os << ::testing::PrintToString(c.text);
}

class LineReaderTest : public ::testing::TestWithParam<LinesCase> {};

// Every buffer size, so endings and lines that cross the buffer's end are covered too.
TEST_P(LineReaderTest, EndsLinesAtCrLfOrCrLf) {
    for (size_t size : {1u, 2u, 3u, 4u, 7u, 4096u}) {
        EXPECT_EQ(ReadLines(GetParam().text, size), GetParam().lines) << "buffer " << size;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, LineReaderTest,
                         ::testing::Values(LinesCase{"a\nbb\n", {"a", "bb"}},
                                           LinesCase{"a\r\nbb\r\n", {"a", "bb"}},
                                           LinesCase{"a\rbb\r", {"a", "bb"}},
                                           LinesCase{"last without ending", {"last without ending"}},
                                           LinesCase{"a\r\n\r\nb", {"a", "", "b"}},
                                           LinesCase{"\n\n", {"", ""}}, LinesCase{"a\n\rb", {"a", "", "b"}},
                                           LinesCase{"", {}}));

}  // namespace
}  // namespace corvane::platform
