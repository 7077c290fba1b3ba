#include "support/child_process.h"

#include "support/test_files.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace testing_support {

namespace {

using Clock = std::chrono::steady_clock;

void RedirectTo(const std::filesystem::path& file, int target) {
    if (file.empty()) {
        return;
    }
    const int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || dup2(fd, target) < 0) {
        _exit(126);
    }
    close(fd);
}

// Runs in the new process between fork and exec.
[[noreturn]] void BecomeChild(const Launch& launch, pid_t parent) {
    // Dies with the test: a test killed by its time limit must not leave a server running.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) {
        _exit(125);
    }
    const int nothing = open("/dev/null", O_RDONLY | O_CLOEXEC);
    dup2(nothing, 0);
    RedirectTo(launch.stdoutFile, 1);
    RedirectTo(launch.stderrFile, 2);
    if (launch.fd3 >= 0) {
        if (launch.fd3 == 3) {
            fcntl(3, F_SETFD, 0);
        } else {
            dup2(launch.fd3, 3);
        }
    }
    if (!launch.folder.empty() && chdir(launch.folder.c_str()) != 0) {
        _exit(126);
    }
    for (const auto& [name, value] : launch.env) {
        setenv(name.c_str(), value.c_str(), 1);
    }
    std::vector<char*> argv;
    for (const std::string& arg : launch.argv) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
}

}  // namespace

ChildProcess::ChildProcess(const Launch& launch) {
    if (launch.argv.empty()) {
        throw std::invalid_argument("no command to start");
    }
    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ < 0) {
        throw std::runtime_error("cannot start " + launch.argv[0]);
    }
    if (pid_ == 0) {
        BecomeChild(launch, parent);
    }
}

ChildProcess::~ChildProcess() {
    Stop(std::chrono::seconds(2));
}

std::optional<int> ChildProcess::Wait(std::chrono::milliseconds limit) {
    const auto end = Clock::now() + limit;
    while (!status_) {
        int status = 0;
        const pid_t done = waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        } else if (done < 0 && errno != EINTR) {
            status_ = -1;  // not ours to wait for any more
        } else if (Clock::now() >= end) {
            break;
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    return status_;
}

void ChildProcess::Signal(int signal) {
    if (!Wait(std::chrono::milliseconds(0))) kill(pid_, signal);
}

void ChildProcess::Stop(std::chrono::milliseconds grace) {
    if (Wait(std::chrono::milliseconds(0))) {
        return;
    }
    kill(pid_, SIGTERM);
    if (!Wait(grace)) {
        kill(pid_, SIGKILL);
        while (!Wait(std::chrono::seconds(1))) {
        }
    }
}

ToolResult RunTool(const std::vector<std::string>& argv,
                   const std::map<std::string, std::string>& env, std::chrono::milliseconds limit) {
    const TempDir output;
    Launch launch;
    launch.argv = argv;
    launch.env = env;
    launch.stdoutFile = output / "out";
    ChildProcess tool(launch);
    ToolResult result;
    result.status = tool.Wait(limit).value_or(-1);
    result.output = output.Read("out");
    return result;
}

bool FoundInPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::istringstream folders(path != nullptr ? path : "/usr/bin:/bin");
    for (std::string folder; std::getline(folders, folder, ':');) {
        const std::filesystem::path candidate =
            std::filesystem::path(folder.empty() ? "." : folder) / name;
        if (access(candidate.c_str(), X_OK) == 0 && std::filesystem::is_regular_file(candidate)) {
            return true;
        }
    }
    return false;
}

}  // namespace testing_support
