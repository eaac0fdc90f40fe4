// Starts tests/support/export_server.py on a free loopback port and stops it again.
#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

extern char** environ;

namespace corvane::testing {

class ExportServer {
  public:
    // Arguments as for the script, e.g. {"--mode", "404"}. port() is 0 when it did not start.
    explicit ExportServer(const std::vector<std::string>& arguments = {}) {
        std::string script =
            std::string(__FILE__).substr(0, std::string(__FILE__).rfind('/')) + "/export_server.py";
        std::vector<std::string> all{"python3", script, "--port", "0"};
        all.insert(all.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (auto& a : all) argv.push_back(a.data());
        argv.push_back(nullptr);

        int pipeFds[2];
        if (pipe(pipeFds) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
        // Nothing else of this process: a pipe held by the server would not end when this process does.
        posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
        bool started = posix_spawnp(&pid_, "python3", &actions, nullptr, argv.data(), environ) == 0;
        posix_spawn_file_actions_destroy(&actions);
        close(pipeFds[1]);
        if (!started) pid_ = 0;
        FILE* out = fdopen(pipeFds[0], "r");
        if (started && out && std::fscanf(out, "%d", &port_) != 1) port_ = 0;
        if (out) std::fclose(out);
    }
    ~ExportServer() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    ExportServer(const ExportServer&) = delete;
    ExportServer& operator=(const ExportServer&) = delete;

    int port() const { return port_; }
    std::string Url() const {
        return "http://127.0.0.1:" + std::to_string(port_) + "/export/txt/sha256/full/";
    }
    std::string ProbeHost() const { return "127.0.0.1:" + std::to_string(port_); }
    // Points the program's export address and connection probe at this server.
    void Use() const {
        setenv("CORVANE_EXPORT_URL", Url().c_str(), 1);
        setenv("CORVANE_PROBE_HOST", ProbeHost().c_str(), 1);
    }

  private:
    pid_t pid_ = 0;
    int port_ = 0;
};

}  // namespace corvane::testing
