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

// The program binary, started with its own folder, environment additions and arguments.
class Program {
  public:
    Program(const std::filesystem::path& folder, const std::map<std::string, std::string>& env,
            const std::vector<std::string>& args);
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
