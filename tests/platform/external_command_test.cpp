#include "platform/external_command.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "support/temp_folder.h"

namespace corvane::platform {
namespace {

struct SplitCase {
    std::string text;
    std::vector<std::string> arguments;
};
inline void PrintTo(const SplitCase& c, std::ostream* os) {
    *os << ::testing::PrintToString(c.text);
}

class SplitParameterTextTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitParameterTextTest, SplitsAtBlanksAndKeepsQuotedPartsTogether) {
    EXPECT_EQ(SplitParameterText(GetParam().text), GetParam().arguments);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitParameterTextTest,
    ::testing::Values(
        SplitCase{R"(-o "/tmp/download.zip" -d "/tmp/")", {"-o", "/tmp/download.zip", "-d", "/tmp/"}},
        SplitCase{R"(-sI "http://h/a b" -o "/tmp/x y.txt")", {"-sI", "http://h/a b", "-o", "/tmp/x y.txt"}},
        SplitCase{"a\tb\nc  d", {"a", "b", "c", "d"}},
        SplitCase{"  leading and trailing  ", {"leading", "and", "trailing"}},
        SplitCase{R"(x "" y)", {"x", "", "y"}}, SplitCase{R"(a"b c"d)", {"ab cd"}}, SplitCase{"", {}}));

TEST(RunExternalCommandTest, ReturnsTheExitStatus) {
    EXPECT_EQ(RunExternalCommand("sh", R"(-c "exit 3")"), 3);
    EXPECT_EQ(RunExternalCommand("true", std::string()), 0);
}

TEST(RunExternalCommandTest, AProgramThatCannotBeFoundRunsNothing) {
    EXPECT_EQ(RunExternalCommand("corvane-no-such-program", "-x"), -1);
}

TEST(RunExternalCommandTest, PassesArgumentsWithoutAShell) {
    corvane::testing::TempFolder folder;
    std::string target = folder.path() + "/a;b $HOME";
    EXPECT_EQ(RunExternalCommand("touch", "\"" + target + "\""), 0);
    EXPECT_EQ(access(target.c_str(), F_OK), 0);
}

}  // namespace
}  // namespace corvane::platform
