#include "support/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

#include "support/test_files.h"

namespace testing_support {
namespace {
void RedirectTo(const std::filesystem::path& file, int target,
                int flags = O_WRONLY | O_CREAT | O_TRUNC) {
    const int fd = file.empty() ? target : open(file.c_str(), flags, 0644);
    if (fd < 0 || (fd != target && (dup2(fd, target) < 0 || close(fd) < 0))) _exit(126);
}

[[noreturn]] void BecomeChild(const Launch& launch, pid_t parent) {
    // Dies with the test, which may be killed by its time limit.
    if (prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || getppid() != parent) _exit(125);
    RedirectTo("/dev/null", 0, O_RDONLY);
    RedirectTo(launch.stdoutFile, 1);
    RedirectTo(launch.stderrFile, 2);
    if (launch.fd3 >= 0 && (launch.fd3 == 3 ? fcntl(3, F_SETFD, 0) : dup2(launch.fd3, 3)) < 0)
        _exit(126);
    if (!launch.folder.empty() && chdir(launch.folder.c_str()) != 0) _exit(126);
    for (const auto& [name, value] : launch.env) setenv(name.c_str(), value.c_str(), 1);
    std::vector<char*> argv;
    for (const std::string& arg : launch.argv) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
}
}  // namespace

ChildProcess::ChildProcess(const Launch& launch) {
    if (launch.argv.empty()) throw std::invalid_argument("no command to start");
    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ < 0) throw std::runtime_error("cannot start " + launch.argv[0]);
    if (pid_ == 0) BecomeChild(launch, parent);
}

ChildProcess::~ChildProcess() {
    Signal(SIGTERM);
    if (!Wait(std::chrono::seconds(2))) Signal(SIGKILL);
    while (!Wait(std::chrono::seconds(1))) continue;
}

std::optional<int> ChildProcess::Wait(std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!status_) {
        int status = 0;
        const pid_t done = waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        } else if (done < 0 && errno != EINTR) {
            status_ = -1;  // not ours to wait for any more
        } else if (std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        } else {
            break;
        }
    }
    return status_;
}

void ChildProcess::Signal(int signal) {
    if (!Wait(std::chrono::milliseconds(0))) kill(pid_, signal);
}

ToolResult RunTool(const std::vector<std::string>& argv,
                   const std::map<std::string, std::string>& env, std::chrono::milliseconds limit) {
    const TempDir output;
    ChildProcess tool({.argv = argv, .env = env, .stdoutFile = output / "out"});
    return {tool.Wait(limit).value_or(-1), output.Read("out")};
}

bool FoundInPath(const std::string& name) {
    const std::vector<std::string> lookUp = {"sh", "-c", "command -v \"$0\"", name};
    return RunTool(lookUp, {}, std::chrono::seconds(10)).status == 0;
}

std::map<std::string, std::string> HeadlessProgramEnvironment(const std::filesystem::path& dir) {
    // clang-format off
    return {{"SDL_VIDEODRIVER", "offscreen"}, {"SDL_AUDIODRIVER", "dummy"}, {"XDG_RUNTIME_DIR", dir.string()},
            {"XDG_CONFIG_HOME", (dir / "config").string()}, {"XDG_CONFIG_DIRS", (dir / "system").string()},
            {"XDG_DATA_HOME", (dir / "data").string()}, {"XDG_DATA_DIRS", (dir / "shared").string()},
            {"QUILLOWBEE_FRAME_LOG", (dir / "frames.log").string()}};
    // clang-format on
}
}  // namespace testing_support
