// The program on a machine whose ALSA finds no sound device: an empty ALSA configuration stands
// in for a machine without a sound card, where ALSA would otherwise report each failed step of
// its search on stderr.
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "sdl_test_support.h"

namespace {

using namespace std::chrono_literals;
using sdl_testing::Program;
using sdl_testing::ReadFile;
using sdl_testing::TempDir;
using sdl_testing::WaitUntil;

// The names of the program's threads.
std::vector<std::string> ThreadNames(int pid) {
    std::vector<std::string> names;
    const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
        std::string name = ReadFile(task.path() / "comm");
        while (!name.empty() && name.back() == '\n') {
            name.pop_back();
        }
        names.push_back(name);
    }
    return names;
}

TEST(SilentSoundTest, WithoutASoundDeviceTheProgramRunsSilentAndPrintsNothing) {
    if (!std::filesystem::is_directory(QUILLOWBEE_DEMO_DIR)) {
        GTEST_SKIP() << "no demo content in " << QUILLOWBEE_DEMO_DIR << " (make demo generates it)";
    }
    TempDir runtime;
    const auto config = runtime.Path() / "asound.conf";
    std::ofstream(config).put('\n');
    const auto log = runtime.Path() / "frames.log";
    Program program(QUILLOWBEE_DEMO_DIR,
                    {{"SDL_VIDEODRIVER", "offscreen"},
                     {"SDL_AUDIODRIVER", "alsa"},
                     {"ALSA_CONFIG_PATH", config.string()},
                     {"XDG_RUNTIME_DIR", runtime.Path().string()},
                     {"QUILLOWBEE_FRAME_LOG", log.string()}},
                    {});
    ASSERT_TRUE(WaitUntil(
        [&] { return ReadFile(log).find("ready ") != std::string::npos || program.Wait(0ms); },
        30s))
        << "no start within the limit";
    ASSERT_FALSE(program.Wait(0ms)) << "ended early: " << program.Stderr();
    // The sound system that found no device was shut down again, its device watch with it.
    for (const std::string& name : ThreadNames(program.Pid())) {
        EXPECT_EQ(name.find("Audio"), std::string::npos) << name;
        EXPECT_EQ(name.find("Hotplug"), std::string::npos) << name;
    }
    program.Signal(SIGTERM);
    EXPECT_EQ(program.Wait(15s), 0);
    EXPECT_EQ(program.Stderr(), "");
    EXPECT_EQ(program.Stdout(), "");
}

}  // namespace
