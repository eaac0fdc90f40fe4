#include "platform/external_command.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <future>
#include <thread>

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

// A program that asks a question (unzip before overwriting, or for a password) must never wait on the
// caller's input. Our own stdin here is a pipe that stays silent; should the program wait on it after
// all, a fallback answers after a while, so the test ends either way and the answer shows the fault.
TEST(RunExternalCommandTest, TheProgramReadsNoInput) {
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    int savedStdin = dup(STDIN_FILENO);
    ASSERT_EQ(dup2(pipeFds[0], STDIN_FILENO), STDIN_FILENO);
    close(pipeFds[0]);
    std::promise<void> returned;
    std::thread fallback([writeEnd = pipeFds[1], ended = returned.get_future()] {
        if (ended.wait_for(std::chrono::seconds(3)) == std::future_status::timeout) {
            EXPECT_EQ(write(writeEnd, "y\n", 2), 2);
        }
        close(writeEnd);
    });

    int status = RunExternalCommand("sh", R"(-c "if read answer; then exit 1; fi")");
    returned.set_value();
    fallback.join();
    dup2(savedStdin, STDIN_FILENO);
    close(savedStdin);
    EXPECT_EQ(status, 0) << "the program read an answer from the caller's input";
}

// Points one of our own streams at a file while it lives.
class StreamToFile {
  public:
    StreamToFile(int stream, const std::string& path) : stream_(stream), saved_(dup(stream)) {
        int file = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(file, stream_);
        close(file);
    }
    ~StreamToFile() {
        dup2(saved_, stream_);
        close(saved_);
    }

  private:
    int stream_;
    int saved_;
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The program writes no log: what unzip and curl print goes nowhere, while their error output still
// reaches standard error.
TEST(RunExternalCommandTest, OutputNeverReachesOurStandardOutput) {
    corvane::testing::TempFolder folder;
    std::string out = folder.path() + "/out";
    std::string err = folder.path() + "/err";
    std::fflush(stdout);
    std::fflush(stderr);
    int status = 0;
    {
        StreamToFile toOut(STDOUT_FILENO, out);
        StreamToFile toErr(STDERR_FILENO, err);
        status = RunExternalCommand("sh", R"(-c "echo printed; echo complained >&2")");
    }
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadFile(out), "");
    EXPECT_EQ(ReadFile(err), "complained\n");
}

// unzip asks for a password on the terminal, not on its input: the program runs as the leader of a session
// of its own, which has no terminal to ask on.
TEST(RunExternalCommandTest, TheProgramRunsInASessionOfItsOwn) {
    EXPECT_EQ(RunExternalCommand("awk", R"("{ exit !($6 == $1) }" /proc/self/stat)"), 0);
}

}  // namespace
}  // namespace corvane::platform
