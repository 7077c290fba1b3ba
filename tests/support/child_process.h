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

// What to start: the command (looked up in PATH when it has no slash), variables added to this
// process's environment and the folder it starts in ("" stays here).
struct Launch {
    std::vector<std::string> argv;
    std::map<std::string, std::string> env;
    std::filesystem::path folder;
    // Files for its output; "" keeps the test's own.
    std::filesystem::path stdoutFile;
    std::filesystem::path stderrFile;
    // When not -1: handed to the process as its descriptor 3.
    int fd3 = -1;
};

// A started process that is always ended and reaped: the destructor asks it to stop, and kills it
// if it does not. It also dies with the test process, so an aborted test leaves nothing behind.
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
    // Asks it to stop, then kills it after `grace`.
    void Stop(std::chrono::milliseconds grace);
    void Signal(int signal);

  private:
    pid_t pid_ = -1;
    std::optional<int> status_;
};

struct ToolResult {
    int status = -1;  // -1 when the tool did not end within its limit
    std::string output;
};

// Runs a command line tool to its end and collects what it writes to its standard output.
ToolResult RunTool(const std::vector<std::string>& argv,
                   const std::map<std::string, std::string>& env, std::chrono::milliseconds limit);

// Whether `name` is an executable file in one of the PATH folders.
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
