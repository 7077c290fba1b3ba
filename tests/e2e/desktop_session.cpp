#include "desktop_session.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>
#include <thread>
#include <utility>

namespace e2e {

namespace fs = std::filesystem;
using testing_support::ChildProcess;
using testing_support::Launch;
using testing_support::ReadFile;
using testing_support::RunTool;
using testing_support::ToolResult;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

// Generous, since the machine may be busy with other tests; a wait that succeeds ends early.
constexpr auto kServerStart = 15s;
constexpr auto kProgramStart = 30s;
constexpr auto kScreenLimit = 10s;
constexpr auto kToolLimit = 15s;

}  // namespace

std::string DesktopSession::Unavailable() {
    for (const char* tool : {"Xvfb", "xdotool", "import"}) {
        if (!testing_support::FoundInPath(tool)) return std::string(tool) + " not found: skipped";
    }
    if (!fs::is_directory(QUILLOWBEE_DEMO_DIR)) {
        return std::string("no demo content in ") + QUILLOWBEE_DEMO_DIR +
               " (make demo generates it): end-to-end test skipped";
    }
    return "";
}

DesktopSession::DesktopSession(const std::string& settingsText, std::vector<std::string> arguments)
    : arguments_(std::move(arguments)) {
    for (const char* sub : {"config", "runtime", "data"}) fs::create_directories(folder_ / sub);
    fs::permissions(folder_.Path() / "runtime", fs::perms::owner_all);
    if (!settingsText.empty())
        testing_support::WriteFile(SettingsFolder() / "settings.ini", settingsText);
    StartDisplay();
    StartProgram();
    const bool ready = testing_support::WaitUntil(
        [&] {
            return ReadFile(FrameLog()).find("ready ") != std::string::npos || !program_->Running();
        },
        kProgramStart);
    if (!ready || !program_->Running()) {
        throw std::runtime_error("the program did not get ready on display " + display_ + ": " +
                                 ProgramErrors());
    }
}

DesktopSession::~DesktopSession() = default;

void DesktopSession::StartDisplay() {
    // -displayfd lets the server take the first free display itself and write its number once
    // it accepts connections, so tests running side by side never race for one. -noreset keeps
    // it from starting over (and putting the pointer back in the middle) whenever its last
    // client leaves.
    const fs::path numberFile = folder_ / "display";
    const int fd = open(numberFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    Launch launch;
    launch.argv = {"Xvfb", "-displayfd", "3", "-screen", "0", "1024x768x24", "-noreset"};
    launch.stderrFile = folder_ / "xvfb.log";
    launch.fd3 = fd;
    server_ = std::make_unique<ChildProcess>(launch);
    close(fd);
    std::string number;
    testing_support::WaitUntil(
        [&] {
            number = ReadFile(numberFile);
            return number.find('\n') != std::string::npos || !server_->Running();
        },
        kServerStart);
    if (number.find('\n') == std::string::npos) {
        throw std::runtime_error("Xvfb did not start: " + ReadFile(folder_ / "xvfb.log"));
    }
    display_ = ":" + number.substr(0, number.find('\n'));
}

void DesktopSession::StartProgram() {
    Launch launch;
    launch.argv = {QUILLOWBEE_PROGRAM};
    launch.argv.insert(launch.argv.end(), arguments_.begin(), arguments_.end());
    launch.env = {{"DISPLAY", display_},
                  {"SDL_VIDEODRIVER", "x11"},
                  {"SDL_AUDIODRIVER", "dummy"},
                  {"XDG_CONFIG_HOME", (folder_ / "config").string()},
                  {"XDG_CONFIG_DIRS", (folder_ / "system").string()},
                  {"XDG_RUNTIME_DIR", (folder_ / "runtime").string()},
                  {"XDG_DATA_HOME", (folder_ / "data").string()},
                  {"QUILLOWBEE_FRAME_LOG", FrameLog().string()}};
    launch.folder = QUILLOWBEE_DEMO_DIR;
    launch.stdoutFile = folder_ / "program.out";
    launch.stderrFile = folder_ / "program.err";
    program_ = std::make_unique<ChildProcess>(launch);
}

std::string DesktopSession::Xdotool(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "xdotool");
    const ToolResult result = RunTool(arguments, {{"DISPLAY", display_}}, kToolLimit);
    if (result.status != 0) {
        throw std::runtime_error("xdotool " + arguments.at(1) + " failed on display " + display_);
    }
    return result.output;
}

// Each xdotool run has handed its requests to the server before it ends, so input from one run
// always comes before input from the next.
void DesktopSession::MoveTo(Point picture, bool click) {
    const Point screen = ScreenFromPicture(picture);
    std::vector<std::string> arguments = {"mousemove", std::to_string(screen.x),
                                          std::to_string(screen.y)};
    if (click) arguments.insert(arguments.end(), {"click", "1"});
    Xdotool(arguments);
}

void DesktopSession::Press(const std::string& key) {
    Xdotool({"key", key});
}

void DesktopSession::PressWith(const std::string& modifier, const std::string& key) {
    // "xdotool key ctrl+Delete" lets go of the modifier first.
    Xdotool({"keydown", modifier, "key", key, "keyup", modifier});
}

::testing::AssertionResult DesktopSession::WaitForPointer(Point picture) {
    const auto end = Clock::now() + kScreenLimit;
    for (;;) {
        Point screen{-1, -1};  // from "x:<x> y:<y> screen:<n> window:<id>"
        std::sscanf(Xdotool({"getmouselocation"}).c_str(), "x:%d y:%d", &screen.x, &screen.y);
        const Point at = PictureFromScreen(screen);
        if (at == picture) return ::testing::AssertionSuccess();
        if (Clock::now() >= end) {
            return ::testing::AssertionFailure()
                   << "the pointer is at (" << at.x << ", " << at.y << "), not at (" << picture.x
                   << ", " << picture.y << ")";
        }
        std::this_thread::sleep_for(50ms);
    }
}

Image DesktopSession::Screenshot() {
    const ToolResult result =
        RunTool({"import", "-display", display_, "-window", "root", "-depth", "8", "ppm:-"}, {},
                kToolLimit);
    if (result.status != 0) {
        throw std::runtime_error("no screenshot of display " + display_);
    }
    return ParsePpm(result.output);
}

int DesktopSession::WaitForOneOf(const std::vector<const Image*>& candidates) {
    const auto end = Clock::now() + kScreenLimit;
    do {
        const Image shot = Screenshot();
        for (size_t i = 0; i < candidates.size(); ++i) {
            if (Compare(shot, *candidates[i]).patches == 0) return static_cast<int>(i);
        }
        std::this_thread::sleep_for(50ms);
    } while (Clock::now() < end && program_->Running());
    return -1;
}

::testing::AssertionResult DesktopSession::WaitForScreen(const Image& expected,
                                                         const std::string& what) {
    if (WaitForOneOf({&expected}) == 0) return ::testing::AssertionSuccess();
    const Difference difference = Compare(Screenshot(), expected);
    return ::testing::AssertionFailure()
           << "the screen does not show " << what << " (" << difference.patches
           << " patches differ, by up to " << difference.largest << ")"
           << (program_->Running() ? "" : "; the program ended: " + ProgramErrors());
}

}  // namespace e2e
