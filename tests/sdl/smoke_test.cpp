// Starts the real program binary on SDL's offscreen video driver and dummy audio driver; frames
// are observed through the program's frame log (see RunEnvironment).
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
using sdl_testing::RunEnvironment;
using sdl_testing::TempDir;
using sdl_testing::WaitUntil;

constexpr auto kStartLimit = 30s;
constexpr auto kEndLimit = 15s;

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
        {{"--bogus"}, 2, "", "Usage: quillowbee"},
        {{"--bogus"}, 2, "", "'--bogus'"},
        {{"--renderer=fast"}, 2, "", "Usage: quillowbee"},
        {{"--windowed", "extra"}, 2, "", "'extra'"},
        {{"-h"}, 2, "", "Usage: quillowbee"},
        {{"--content"}, 2, "", "needs a folder"},
        {{"--check", "a", "b"}, 2, "", "'b'"},
        {{"--check", "--content=a", "b"}, 2, "", "two different folders"},
        {{"--check", "."}, 1, "Data/Yrke.dat: cannot be opened", ""},
        {{"--check", "."}, 1, "53 menu pictures, 13 sounds, 0 activity pictures: 70 problems", ""},
        {{"--check"}, 1, "", "no content found"},
        {{"--check", "/nonexistent/pack"},
         1,
         "",
         "cannot use the content folder /nonexistent/pack"},
        {{"--content=/nonexistent/pack"}, 1, "", "cannot use the content folder"},
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

// Found nowhere, the content is missing before the screen is taken; named, the theme files turn
// out missing at start-up, after it.
TEST(SmokeTest, AStartWithoutContentEndsWithOneLineAndStatusOne) {
    struct Case {
        std::vector<std::string> args;
        std::string says;
        bool window;
    };
    const Case cases[] = {
        {{}, "no content found", false},
        {{"--content=."}, "Data\\Yrke.dat: cannot be opened", true},
    };
    for (const Case& c : cases) {
        TempDir folder;
        RunEnvironment environment;
        Program program(folder.Path(), environment.Variables(), c.args);
        EXPECT_EQ(program.Wait(kEndLimit), 1);
        const std::string err = program.Stderr();
        EXPECT_EQ(err.rfind("quillowbee: ", 0), 0u) << err;
        EXPECT_NE(err.find(c.says), std::string::npos) << err;
        EXPECT_EQ(CountLines(err), 1) << err;
        EXPECT_EQ(program.Stdout(), "");
        // Where the screen was taken it was given back: the log was closed by an orderly end.
        EXPECT_EQ(environment.Logged("window"), c.window) << c.says;
        EXPECT_EQ(environment.Logged("frames"), c.window) << c.says;
    }
}

TEST(SmokeTest, ASecondCopyEndsAtOnceShowingNothing) {
    TempDir folder;
    // Theme files, so that the copy finds content here before it meets the first copy.
    for (const char* theme : {"Yrke", "Musik", "Sport", "Djur"}) {
        folder.Write(std::string("Data/") + theme + ".dat", "\n");
    }
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
