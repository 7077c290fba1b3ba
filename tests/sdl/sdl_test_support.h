#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/test_files.h"

namespace sdl_testing {

using testing_support::ReadFile;
using testing_support::ScopedEnv;
using testing_support::TempDir;

// A PCM wave file of `frames` frames of a quiet tone.
void WriteWave(const std::filesystem::path& path, int rate, int channels, int bits, int frames);

// The environment of one run of the program: headless drivers, and a lock folder, data folders
// and frame log of its own, so that it meets no other copy and no installed content. With
// QUILLOWBEE_FRAME_LOG=<file> the program appends "window <ms>", "first-frame <ms>", "ready <ms>"
// (start-up over, the main menu drawn and the frame loop waiting for input) and at the end
// "frames <handed over> <presented>".
struct RunEnvironment {
    TempDir runtime;
    std::filesystem::path log = runtime.Path() / "frames.log";
    std::map<std::string, std::string> Variables() const;
    bool Logged(const std::string& event) const;
    // "frames <handed over> <presented>", or -1s when the program did not write it.
    std::pair<long, long> Frames() const;
};

// The program binary (or another `executable`), started with its own folder, environment
// additions and arguments.
class Program {
  public:
    Program(const std::filesystem::path& folder, const std::map<std::string, std::string>& env,
            const std::vector<std::string>& args);
    Program(const std::filesystem::path& executable, const std::filesystem::path& folder,
            const std::map<std::string, std::string>& env, const std::vector<std::string>& args);
    ~Program();  // kills the process if it still runs
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    int Pid() const { return pid_; }
    // The exit status, or nothing if the process did not end within `limit` (a signal death
    // reads as 128 + signal).
    std::optional<int> Wait(std::chrono::milliseconds limit);
    void Signal(int signal);
    std::string Stdout() const { return ReadFile(outPath_); }
    std::string Stderr() const { return ReadFile(errPath_); }

  private:
    TempDir outputs_;
    std::filesystem::path outPath_;
    std::filesystem::path errPath_;
    int pid_ = -1;
    std::optional<int> status_;
};

// Polls `done` every 20 ms until it holds or `limit` passes; returns whether it held.
template <typename F>
bool WaitUntil(F done, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

}  // namespace sdl_testing
