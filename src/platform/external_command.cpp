#include "platform/external_command.h"

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <mutex>
#include <set>

#include "platform/unique_fd.h"

namespace corvane::platform {

std::vector<std::string> SplitParameterText(const std::string& text) {
    std::vector<std::string> arguments;
    std::string current;
    bool started = false;  // a quoted empty part ("") still makes an argument
    bool quoted = false;
    for (char c : text) {
        if (c == '"') {
            quoted = !quoted;
            started = true;
        } else if (!quoted && (c == ' ' || c == '\t' || c == '\n')) {
            if (started) arguments.push_back(std::move(current));
            current.clear();
            started = false;
        } else {
            current += c;
            started = true;
        }
    }
    if (started) arguments.push_back(std::move(current));
    return arguments;
}

namespace {

// Puts the descriptor at the place; one already there loses its close-on-exec mark.
bool PlaceDescriptor(int fd, int place) {
    return fd == place ? fcntl(place, F_SETFD, 0) == 0 : dup2(fd, place) == place;
}

// The child between fork and exec. The program has other threads, so only async-signal-safe calls are
// made here (glibc's execvp searches PATH in buffers on the stack). A failure is told to the parent through
// the report pipe, which closes unwritten when the exec succeeds.
[[noreturn]] void StartInChild(pid_t parent, int null, int report, char* const* argv) {
    // The command ends with us (a killed program would leave unzip filling a folder nobody removes). Had
    // we ended already, before the signal was asked for, it would never come: the parent is tested after.
    if (prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || getppid() != parent) _exit(127);
    // Input comes from /dev/null and the program runs in a session of its own, without a terminal: a
    // program that asks a question (unzip for a password, which it asks on the terminal) gets no answer and
    // goes on instead of waiting for one nobody gives. The program writes no log, so what the command
    // prints goes nowhere; its complaints still reach standard error.
    // The program blocks its termination signals for the thread that waits for them; the command must
    // not inherit that.
    sigset_t none;
    sigemptyset(&none);
    int error = 0;
    if (sigprocmask(SIG_SETMASK, &none, nullptr) != 0 || setsid() < 0 ||
        !PlaceDescriptor(null, STDIN_FILENO) || !PlaceDescriptor(null, STDOUT_FILENO)) {
        error = errno;
    } else {
        execvp(argv[0], argv);
        error = errno;
    }
    ssize_t ignored = write(report, &error, sizeof error);
    (void)ignored;
    _exit(127);
}

// The commands running now, so that the program's end can stop them; after that none starts.
std::mutex commandsMutex;
std::set<pid_t> runningCommands;
bool commandsStopped = false;

// Each command leads a session and a process group of its own, so the group takes what it started along.
void Kill(pid_t pid) {
    kill(-pid, SIGKILL);
    kill(pid, SIGKILL);  // the child may not have made its group yet
}

}  // namespace

void StopExternalCommands() {
    std::lock_guard lock(commandsMutex);
    commandsStopped = true;
    for (pid_t pid : runningCommands) Kill(pid);
}

int RunExternalCommand(const std::string& program, const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    UniqueFd null(open("/dev/null", O_RDWR | O_CLOEXEC));
    if (!null) return -1;
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) return -1;
    UniqueFd reportReading(report[0]);
    UniqueFd reportWriting(report[1]);
    pid_t parent = getpid();
    pid_t pid = -1;
    {
        // Started and listed in one step, so that a stop never misses a command that is starting.
        std::lock_guard lock(commandsMutex);
        if (!commandsStopped) {
            pid = fork();
            if (pid == 0) StartInChild(parent, null.Get(), reportWriting.Get(), argv.data());
            if (pid > 0) runningCommands.insert(pid);
        }
    }
    // The parent's copies go now, so that the read below ends when the child's exec closes the last writer.
    null.Reset();
    reportWriting.Reset();
    if (pid < 0) return -1;
    int childError = 0;
    ssize_t told = 0;
    while ((told = read(reportReading.Get(), &childError, sizeof childError)) < 0 && errno == EINTR) {
    }
    reportReading.Reset();
    // The ended command is taken off the list before it is reaped, so that a stop never signals its
    // process id once another process may have it.
    siginfo_t ended{};
    while (waitid(P_PID, static_cast<id_t>(pid), &ended, WEXITED | WNOWAIT) != 0 && errno == EINTR) {
    }
    {
        std::lock_guard lock(commandsMutex);
        runningCommands.erase(pid);
    }
    int status = 0;
    pid_t waited;
    while ((waited = waitpid(pid, &status, 0)) < 0 && errno == EINTR) {
    }
    if (waited < 0) return -1;
    if (told != 0) return -1;  // not started
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int RunExternalCommand(const std::string& program, const std::string& parameterText) {
    return RunExternalCommand(program, SplitParameterText(parameterText));
}

}  // namespace corvane::platform
