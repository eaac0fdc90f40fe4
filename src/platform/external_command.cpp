#include "platform/external_command.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

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

int RunExternalCommand(const std::string& program, const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    // Input comes from /dev/null and the program runs in a session of its own, without a terminal: a program
    // that asks a question (unzip for a password, which it asks on the terminal) gets no answer and goes on
    // instead of waiting for one nobody gives.
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    if (posix_spawn_file_actions_init(&actions) != 0) return -1;
    if (posix_spawnattr_init(&attributes) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return -1;
    }
    pid_t pid = 0;
    // The program writes no log, so what the command prints goes nowhere; its complaints still reach
    // standard error.
    bool started = posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0) == 0 &&
                   posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0) == 0 &&
                   posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID) == 0 &&
                   posix_spawnp(&pid, program.c_str(), &actions, &attributes, argv.data(), environ) == 0;
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (!started) return -1;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int RunExternalCommand(const std::string& program, const std::string& parameterText) {
    return RunExternalCommand(program, SplitParameterText(parameterText));
}

}  // namespace corvane::platform
