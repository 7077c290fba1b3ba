#pragma once

#include <sys/types.h>
#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace testing_support {
// What to start (the command looked up in PATH), variables added to the environment, the folder it
// starts in and files for its output ("" keeps the test's own); fd3 becomes its descriptor 3.
struct Launch {
    std::vector<std::string> argv;
    std::map<std::string, std::string> env;
    std::filesystem::path folder = {}, stdoutFile = {}, stderrFile = {};
    int fd3 = -1;
};

// A started process that is always ended and reaped (SIGTERM, then SIGKILL after 2 s), and that
// dies with the test process, so an aborted test leaves nothing behind.
class ChildProcess {
  public:
    explicit ChildProcess(const Launch& launch);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    pid_t Pid() const { return pid_; }
    // The exit status once the process has ended within `limit` (128 + signal after a signal).
    std::optional<int> Wait(std::chrono::milliseconds limit);
    bool Running() { return !Wait(std::chrono::milliseconds(0)).has_value(); }
    void Signal(int signal);

  private:
    pid_t pid_ = -1;
    std::optional<int> status_;
};

// The environment of one headless run of the program: SDL's offscreen and dummy drivers, and a
// lock folder, settings and data folders and a frame log of its own below `dir`, so that it meets
// no other copy, no installed content and no settings of this machine.
std::map<std::string, std::string> HeadlessProgramEnvironment(const std::filesystem::path& dir);

// A tool run to its end: its status (-1 when not within its limit) and standard output.
struct ToolResult {
    int status = -1;
    std::string output;
};
ToolResult RunTool(const std::vector<std::string>& argv,
                   const std::map<std::string, std::string>& env, std::chrono::milliseconds limit);
bool FoundInPath(const std::string& name);

// Polls `done` every 20 ms until it holds or `limit` passes; returns whether it held.
template <typename F>
bool WaitUntil(F done, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}
}  // namespace testing_support
