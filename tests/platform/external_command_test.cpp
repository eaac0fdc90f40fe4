#include "platform/external_command.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
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

// Kills a caller of RunExternalCommand while its command runs and returns how the command ended: 0 killed
// with its caller, 1 it lived on, 2 the set-up failed. As a subreaper this process takes in the orphan,
// so that it can wait for it instead of init.
int KillTheCallerAndWatchItsCommand() {
    if (prctl(PR_SET_CHILD_SUBREAPER, 1) != 0) return 2;
    int started[2];
    if (pipe(started) != 0) return 2;
    pid_t caller = fork();
    if (caller < 0) return 2;
    if (caller == 0) {
        dup2(started[1], 9);
        RunExternalCommand("sh", R"(-c "echo >&9; exec sleep 20")");
        _exit(0);
    }
    close(started[1]);
    char line = 0;
    if (read(started[0], &line, 1) != 1) return 2;  // the command runs
    kill(caller, SIGKILL);
    waitpid(caller, nullptr, 0);
    int status = 0;
    if (waitpid(-1, &status, 0) <= 0) return 2;
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL ? 0 : 1;
}

// A command must not outlive the program: unzip would go on filling a folder nobody removes.
TEST(RunExternalCommandTest, TheProgramEndsWithItsCaller) {
    pid_t watcher = fork();
    ASSERT_GE(watcher, 0);
    if (watcher == 0) _exit(KillTheCallerAndWatchItsCommand());
    int status = 0;
    ASSERT_EQ(waitpid(watcher, &status, 0), watcher);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the command lived on after its caller was killed";
}

// The program's end kills a running command with what it started, and no command starts afterwards.
TEST(RunExternalCommandTest, StopKillsTheRunningCommandsAndStartsNoMore) {
    testing::TempFolder folder;
    std::string started = folder.path() + "/started";
    // The shell starts a child of its own, which the stop must end too.
    auto command = std::async(std::launch::async, [&] {
        return RunExternalCommand(
            "sh", std::vector<std::string>{"-c", "sleep 300 & echo $! > '" + started + "'; wait"});
    });
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    std::string grandchild;
    while (grandchild.empty() && std::chrono::steady_clock::now() < deadline) {
        std::ifstream(started) >> grandchild;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_FALSE(grandchild.empty());
    StopExternalCommands();
    ASSERT_EQ(command.wait_for(std::chrono::seconds(30)), std::future_status::ready);
    EXPECT_EQ(command.get(), -1);
    pid_t sleeper = std::stoi(grandchild);
    deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (kill(sleeper, 0) == 0 && std::chrono::steady_clock::now() < deadline) {
        waitpid(sleeper, nullptr, WNOHANG);  // reaped only if it became our child
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_NE(kill(sleeper, 0), 0) << "the command's own child lived on";
    EXPECT_EQ(RunExternalCommand("true", std::vector<std::string>{}), -1);
}

}  // namespace
}  // namespace corvane::platform
