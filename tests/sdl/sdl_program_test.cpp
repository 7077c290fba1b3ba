// The program binary on SDL's offscreen video driver. Frames are observed through its frame log:
// with QUILLOWBEE_FRAME_LOG=<file> it appends "window <ms>", "first-frame <ms>", "ready <ms>"
// (the frame loop waiting for input) and at the end "frames <handed over> <presented>".
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <utility>

#include "support/child_process.h"
#include "support/test_files.h"

namespace {
namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing_support::ChildProcess;
using testing_support::ReadFile;
using testing_support::TempDir;

// One start of the program with a lock folder, frame log and output files of its own.
struct ProgramRun {
    TempDir dir;
    std::map<std::string, std::string> env =
        testing_support::HeadlessProgramEnvironment(dir.Path());
    std::unique_ptr<ChildProcess> process;

    ChildProcess& Start(const fs::path& folder, std::vector<std::string> args = {}) {
        args.insert(args.begin(), QUILLOWBEE_PROGRAM);
        // clang-format off
        const testing_support::Launch launch{.argv = args, .env = env, .folder = folder, .stdoutFile = dir / "out", .stderrFile = dir / "err"};
        // clang-format on
        process = std::make_unique<ChildProcess>(launch);
        return *process;
    }
    std::string Out() const { return dir.Read("out"); }
    std::string Err() const { return dir.Read("err"); }
    // The frame log's line for `event`, or nothing.
    std::optional<std::string> Logged(const std::string& event) const {
        std::istringstream lines(dir.Read("frames.log"));
        for (std::string line; std::getline(lines, line);)
            if (line.starts_with(event + " ")) return line;
        return std::nullopt;
    }
};

// The command line is answered without a window; content found nowhere is missing before the
// screen is taken, while theme files missing from a named folder are found missing at start-up,
// after it, and the screen is given back. A failure to run is one line on stderr.
TEST(SdlProgramTest, TheCommandLineAndMissingContentEndWithTheirStatus) {
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string out, err;  // text each must hold; "" for an empty one
        bool window = false;
    } const cases[] = {
        // clang-format off
        {{"--help"}, 0, "Usage: quillowbee", ""}, {{"--version"}, 0, "quillowbee 1.", ""},
        {{"--bogus"}, 2, "", "Try 'quillowbee --help'"}, {{"--windowed", "extra"}, 2, "", "'extra'"},
        {{"-h"}, 2, "", "Try 'quillowbee --help'"},
        // A wrong setting option is the adult's mistake, told before anything is shown.
        {{"--key-delay=700"}, 2, "", "--key-delay=700: not allowed (allowed: 500, 1000"}, {{"--key-delay"}, 2, "", "needs a value"},
        {{"--settings", "--escape-locks=5"}, 2, "", "lock number 1 to 4"}, {{"--content"}, 2, "", "needs a folder"},
        {{"--check", "a", "b"}, 2, "", "'b'"}, {{"--check", "--content=a", "b"}, 2, "", "two different folders"},
        {{"--check", "."}, 1, "53 menu pictures, 13 sounds, 0 activity pictures: 70 problems", ""},
        {{"--check"}, 1, "", "no content found"}, {{"--content=/nonexistent/pack"}, 1, "", "cannot use the content folder"},
        {{}, 1, "", "no content found"}, {{"--content=."}, 1, "", "Data\\Yrke.dat: cannot be opened", true}};
    // clang-format on
    TempDir folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.empty() ? "no options" : c.args[0]);
        ProgramRun run;
        EXPECT_EQ(run.Start(folder.Path(), c.args).Wait(15s), c.status);
        for (const auto& [text, want] :
             {std::pair(run.Out(), c.out), std::pair(run.Err(), c.err)}) {
            EXPECT_TRUE(want.empty() ? text.empty() : text.find(want) != std::string::npos) << text;
        }
        if (c.status == 1 && !c.err.empty()) {
            EXPECT_EQ(run.Err().rfind("quillowbee: ", 0), 0u) << run.Err();
            EXPECT_EQ(std::ranges::count(run.Err(), '\n'), 1) << run.Err();
        }
        EXPECT_EQ(run.Logged("window").has_value(), c.window);
        EXPECT_EQ(run.Logged("frames").has_value(), c.window) << "no orderly end";
    }
}

// On the demo content the program starts, shows frames and ends cleanly on each termination
// request; without a sound device (an empty ALSA configuration) it runs silent, prints nothing
// and has shut the sound system's threads down.
TEST(SdlProgramTest, TheDemoRunsAndEndsCleanlyOnRequest) {
    const std::pair<int, bool> cases[] = {{SIGTERM, true}, {SIGINT, true}, {SIGTERM, false}};
    for (const auto& [signal, soundCard] : cases) {  // and whether there is a sound card
        SCOPED_TRACE(signal == SIGTERM ? "SIGTERM" : "SIGINT");
        ProgramRun run;
        if (!soundCard) {
            run.dir.Write("asound.conf", "\n");
            run.env["SDL_AUDIODRIVER"] = "alsa";
            run.env["ALSA_CONFIG_PATH"] = (run.dir / "asound.conf").string();
        }
        ChildProcess& program = run.Start(QUILLOWBEE_DEMO_DIR);
        testing_support::WaitUntil([&] { return run.Logged("ready") || !program.Running(); }, 30s);
        ASSERT_TRUE(run.Logged("ready")) << run.Err();
        for (const auto& task :
             fs::directory_iterator("/proc/" + std::to_string(program.Pid()) + "/task")) {
            const std::string name = ReadFile(task.path() / "comm");
            EXPECT_TRUE(soundCard || (name.find("Audio") == std::string::npos &&
                                      name.find("Hotplug") == std::string::npos))
                << name;
        }
        program.Signal(signal);
        EXPECT_EQ(program.Wait(15s), 0) << run.Err();
        EXPECT_EQ(run.Out() + run.Err(), "");
        // Each milestone once, in order (the times cut off); at least the first picture and the
        // black one at the end are presented.
        std::istringstream lines(run.dir.Read("frames.log"));
        std::vector<std::string> events;
        long handed = -1, presented = -1;
        for (std::string line; std::getline(lines, line);) {
            events.push_back(line.substr(0, line.find(' ')));
            std::sscanf(line.c_str(), "frames %ld %ld", &handed, &presented);
        }
        EXPECT_EQ(events, (std::vector<std::string>{"window", "first-frame", "ready", "frames"}));
        EXPECT_TRUE(presented >= 2 && handed >= presented) << handed << " " << presented;
    }
}
}  // namespace
