#include "sdl_test_support.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace sdl_testing {

namespace {
void Put(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}
}  // namespace

void WriteWave(const std::filesystem::path& path, int rate, int channels, int bits, int frames) {
    const int sampleBytes = bits / 8;
    const uint32_t dataBytes = static_cast<uint32_t>(frames) * channels * sampleBytes;
    std::string out = "RIFF";
    Put(out, 36 + dataBytes, 4);
    out += "WAVEfmt ";
    Put(out, 16, 4);
    Put(out, 1, 2);
    Put(out, channels, 2);
    Put(out, rate, 4);
    Put(out, rate * channels * sampleBytes, 4);
    Put(out, channels * sampleBytes, 2);
    Put(out, bits, 2);
    out += "data";
    Put(out, dataBytes, 4);
    for (int i = 0; i < frames; ++i) {
        const double wave = 0.2 * std::sin(2 * M_PI * 440.0 * i / rate);
        for (int c = 0; c < channels; ++c) {
            if (bits == 8) {
                Put(out, static_cast<uint32_t>(128 + std::lround(wave * 127)), 1);
            } else {
                Put(out, static_cast<uint16_t>(static_cast<int16_t>(std::lround(wave * 32767))), 2);
            }
        }
    }
    std::ofstream(path, std::ios::binary) << out;
}

std::map<std::string, std::string> RunEnvironment::Variables() const {
    return {{"SDL_VIDEODRIVER", "offscreen"},
            {"SDL_AUDIODRIVER", "dummy"},
            {"XDG_RUNTIME_DIR", runtime.Path().string()},
            {"XDG_DATA_HOME", (runtime.Path() / "data").string()},
            {"XDG_DATA_DIRS", (runtime.Path() / "shared").string()},
            {"QUILLOWBEE_FRAME_LOG", log.string()}};
}

bool RunEnvironment::Logged(const std::string& event) const {
    std::istringstream lines(ReadFile(log));
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(event + " ", 0) == 0) {
            return true;
        }
    }
    return false;
}

std::pair<long, long> RunEnvironment::Frames() const {
    std::istringstream lines(ReadFile(log));
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string event;
        long handed = -1, shown = -1;
        if (words >> event && event == "frames" && words >> handed >> shown) {
            return {handed, shown};
        }
    }
    return {-1, -1};
}

Program::Program(const std::filesystem::path& folder, const std::map<std::string, std::string>& env,
                 const std::vector<std::string>& args)
    : Program(QUILLOWBEE_PROGRAM, folder, env, args) {}

Program::Program(const std::filesystem::path& executable, const std::filesystem::path& folder,
                 const std::map<std::string, std::string>& env,
                 const std::vector<std::string>& args)
    : outPath_(outputs_.Path() / "stdout"), errPath_(outputs_.Path() / "stderr") {
    std::vector<std::string> argvText{executable.string()};
    argvText.insert(argvText.end(), args.begin(), args.end());
    pid_ = fork();
    if (pid_ < 0) {
        throw std::runtime_error("fork failed");
    }
    if (pid_ == 0) {
        const int out = open(outPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open(errPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, 1);
        dup2(err, 2);
        if (chdir(folder.c_str()) != 0) {
            _exit(126);
        }
        for (const auto& [name, value] : env) {
            setenv(name.c_str(), value.c_str(), 1);
        }
        std::vector<char*> argv;
        for (std::string& arg : argvText) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
}

Program::~Program() {
    if (!status_) {
        kill(pid_, SIGKILL);
        int ignored = 0;
        waitpid(pid_, &ignored, 0);
    }
}

std::optional<int> Program::Wait(std::chrono::milliseconds limit) {
    WaitUntil(
        [&] {
            if (status_) {
                return true;
            }
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            return status_.has_value();
        },
        limit);
    return status_;
}

void Program::Signal(int signal) {
    if (!status_) {
        kill(pid_, signal);
    }
}

}  // namespace sdl_testing
