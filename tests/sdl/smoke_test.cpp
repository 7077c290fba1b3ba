// Starts the real program binary on SDL's offscreen video driver and dummy audio driver.
//
// Frames are observed through the program's frame log: with QUILLOWBEE_FRAME_LOG=<file> it
// appends "window <ms>", "first-frame <ms>", "ready <ms>" (start-up over, the frame loop
// waiting for input) and at the end "frames <handed over> <presented>".
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "platform/sdl/instance_lock.h"
#include "sdl_test_support.h"

namespace {

using namespace std::chrono_literals;
using sdl_testing::Program;
using sdl_testing::ReadFile;
using sdl_testing::TempDir;
using sdl_testing::WaitUntil;

constexpr auto kStartLimit = 30s;
constexpr auto kEndLimit = 15s;

// The environment of a test run: headless drivers, a lock folder, settings folders and frame log
// of its own.
struct RunEnvironment {
    TempDir runtime;
    std::filesystem::path log = runtime.Path() / "frames.log";
    std::map<std::string, std::string> Variables() const {
        return {{"SDL_VIDEODRIVER", "offscreen"},
                {"SDL_AUDIODRIVER", "dummy"},
                {"XDG_RUNTIME_DIR", runtime.Path().string()},
                // No settings file of this machine's reaches a test run.
                {"XDG_CONFIG_HOME", (runtime.Path() / "config").string()},
                {"XDG_CONFIG_DIRS", (runtime.Path() / "system").string()},
                {"QUILLOWBEE_FRAME_LOG", log.string()}};
    }
    bool Logged(const std::string& event) const {
        std::istringstream lines(ReadFile(log));
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind(event + " ", 0) == 0) {
                return true;
            }
        }
        return false;
    }
    // "frames <handed over> <presented>", or -1s when the program did not write it.
    std::pair<long, long> Frames() const {
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
};

int CountLines(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

struct CommandLineCase {
    std::vector<std::string> args;
    int status;
    std::string stdoutHas;  // "" for an empty stdout
    std::string stderrHas;  // "" for an empty stderr
};

TEST(SmokeTest, TheCommandLineAnswersLikeACommandLineProgram) {
    const CommandLineCase cases[] = {
        {{"--help"}, 0, "Usage: quillowbee", ""},
        {{"--windowed", "--help"}, 0, "--renderer=software", ""},
        {{"--version"}, 0, "quillowbee 1.", ""},
        {{"--help"}, 0, "--key-delay=MS", ""},
        {{"--bogus"}, 2, "", "Try 'quillowbee --help'"},
        {{"--bogus"}, 2, "", "'--bogus'"},
        {{"--renderer=fast"}, 2, "", "Try 'quillowbee --help'"},
        {{"--windowed", "extra"}, 2, "", "'extra'"},
        {{"-h"}, 2, "", "Try 'quillowbee --help'"},
        // A wrong setting option is the adult's mistake, told before anything is shown.
        {{"--key-delay=700"}, 2, "", "--key-delay=700: not allowed (allowed: 500, 1000"},
        {{"--key-delay"}, 2, "", "needs a value"},
        {{"--exit-locked=yes"}, 2, "", "allowed: True, False"},
        {{"--film-speed=slower"}, 2, "", "slow, normal, fast"},
        {{"--disable-item=Djur:9"}, 2, "", "a position is 1 to 8"},
        {{"--disable-item=Drake:1"}, 2, "", "no theme is named 'Drake'"},
        {{"--disable-item=Yrke:1,Yrke:2,Yrke:3,Yrke:4,Yrke:5,Yrke:6,Yrke:7,Yrke:8"},
         2,
         "",
         "every item of Yrke"},
        {{"--settings", "--escape-locks=5"}, 2, "", "lock number 1 to 4"},
    };
    TempDir folder;
    RunEnvironment environment;
    for (const CommandLineCase& c : cases) {
        Program program(folder.Path(), environment.Variables(), c.args);
        EXPECT_EQ(program.Wait(kEndLimit), c.status) << c.args[0];
        const std::string out = program.Stdout();
        const std::string err = program.Stderr();
        if (c.stdoutHas.empty()) {
            EXPECT_EQ(out, "") << c.args[0];
        } else {
            EXPECT_NE(out.find(c.stdoutHas), std::string::npos) << c.args[0] << ": " << out;
        }
        if (c.stderrHas.empty()) {
            EXPECT_EQ(err, "") << c.args[0];
        } else {
            EXPECT_NE(err.find(c.stderrHas), std::string::npos) << c.args[0] << ": " << err;
        }
    }
    EXPECT_FALSE(environment.Logged("window")) << "an answer on the command line opened a window";
}

TEST(SmokeTest, AStartWithoutContentEndsWithOneLineAndStatusOne) {
    TempDir folder;
    RunEnvironment environment;
    Program program(folder.Path(), environment.Variables(), {});
    EXPECT_EQ(program.Wait(kEndLimit), 1);
    const std::string err = program.Stderr();
    EXPECT_EQ(err.rfind("quillowbee: ", 0), 0u) << err;
    EXPECT_EQ(CountLines(err), 1) << err;
    EXPECT_EQ(program.Stdout(), "");
    // The screen was taken and given back: the log was closed by an orderly end.
    EXPECT_TRUE(environment.Logged("window"));
    EXPECT_TRUE(environment.Logged("frames"));
}

TEST(SmokeTest, ASecondCopyEndsAtOnceShowingNothing) {
    TempDir folder;
    RunEnvironment environment;
    std::optional<platform::InstanceLock> first;
    {
        sdl_testing::ScopedEnv runtime{"XDG_RUNTIME_DIR", environment.runtime.Path().string()};
        first.emplace();  // this test process plays the copy that already runs
    }
    ASSERT_FALSE(first->HeldElsewhere());
    Program second(folder.Path(), environment.Variables(), {});
    EXPECT_EQ(second.Wait(kEndLimit), 0);
    EXPECT_EQ(second.Stdout(), "");
    EXPECT_EQ(second.Stderr(), "");
    EXPECT_FALSE(environment.Logged("window"));
}

class SmokeDemoTest : public ::testing::TestWithParam<int> {
  protected:
    void SetUp() override {
        if (!std::filesystem::is_directory(QUILLOWBEE_DEMO_DIR)) {
            GTEST_SKIP() << "no demo content in " << QUILLOWBEE_DEMO_DIR
                         << " (make demo generates it)";
        }
    }
};

// The whole program on the demo content: it starts, shows frames, refuses a second copy while
// it runs and ends cleanly on a termination request.
TEST_P(SmokeDemoTest, RunsShowsFramesAndEndsCleanlyOnRequest) {
    RunEnvironment environment;
    Program program(QUILLOWBEE_DEMO_DIR, environment.Variables(), {});
    ASSERT_TRUE(
        WaitUntil([&] { return environment.Logged("ready") || program.Wait(0ms); }, kStartLimit))
        << "no start within the limit";
    ASSERT_FALSE(program.Wait(0ms)) << "ended early: " << program.Stderr();
    EXPECT_TRUE(environment.Logged("first-frame"));

    auto secondVariables = environment.Variables();
    const auto secondLog = environment.runtime.Path() / "second.log";
    secondVariables["QUILLOWBEE_FRAME_LOG"] = secondLog.string();
    Program second(QUILLOWBEE_DEMO_DIR, secondVariables, {});
    EXPECT_EQ(second.Wait(kEndLimit), 0);
    EXPECT_EQ(second.Stderr(), "");
    EXPECT_EQ(ReadFile(secondLog).find("window"), std::string::npos);
    EXPECT_FALSE(program.Wait(0ms)) << "the first copy ended with the second";

    program.Signal(GetParam());
    EXPECT_EQ(program.Wait(kEndLimit), 0) << program.Stderr();
    EXPECT_EQ(program.Stderr(), "");
    const auto [handedOver, presented] = environment.Frames();
    // At least the first picture and the black one on the way out.
    EXPECT_GE(presented, 2);
    EXPECT_GE(handedOver, presented);
}

INSTANTIATE_TEST_SUITE_P(Signals, SmokeDemoTest, ::testing::Values(SIGTERM, SIGINT),
                         [](const auto& info) {
                             return std::string(info.param == SIGTERM ? "Sigterm" : "Sigint");
                         });

}  // namespace
