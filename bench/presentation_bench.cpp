// Presentation and whole-program figures:
//   (a) processor time to compose one 800 x 600 menu frame (a full-screen copy and a quadrant
//       highlight) and hand it to the SDL presentation, in-process on SDL's offscreen driver;
//   (b) processor share of the idle main menu, (c) its peak memory, (d) the time from process
//       start to the first picture and to the end of start-up: build/quillowbee on the demo
//       content under Xvfb, observed through /proc/<pid> and the program's frame log
//       (QUILLOWBEE_FRAME_LOG, steady-clock milliseconds per milestone).
#include <SDL.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "bench.h"
#include "display/display_device.h"
#include "platform/sdl/sdl_presentation.h"
#include "platform/sdl/sdl_text_renderer.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

void Skip(const std::string& name, const std::string& why) {
    std::printf("%-58s    skipped  %s\n", name.c_str(), why.c_str());
    std::fflush(stdout);
}

// ---- (a) one menu frame in-process ----

// Processor milliseconds a frame, or nothing when there is no video. `ownSize`: in a window of
// the picture's own size rather than full screen on the driver's 1024 x 768 desktop (scaled).
struct FrameCost {
    double cpuMs = 0;
    std::string note;
};

std::optional<FrameCost> MenuFrameCost(bool changing, bool ownSize, std::string& why) {
    if (std::getenv("SDL_VIDEODRIVER") == nullptr) {
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    }
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        why = std::string("no video: ") + SDL_GetError();
        return std::nullopt;
    }
    FrameCost cost;
    {
        platform::PresentationOptions options;
        options.windowed = ownSize;
        platform::SdlPresentation presentation(options);
        platform::SdlTextRenderer text;
        DisplayDevice device(presentation, text);
        device.SetCooperativeLevel(81);
        device.SetDisplayMode(800, 600, 16, 0, 0);
        SurfaceRequest primaryRequest;
        primaryRequest.flags = 0x21;
        primaryRequest.caps = 0x218;
        primaryRequest.backBufferCount = 1;
        auto primary = device.CreateSurface(primaryRequest);
        Surface* back = primary->GetAttachedSurface(4);
        SurfaceRequest plain;
        plain.flags = 7;
        plain.caps = 0x40;
        plain.width = 800;
        plain.height = 600;
        auto background = device.CreateSurface(plain);
        plain.width = 310;
        plain.height = 285;
        auto highlight = device.CreateSurface(plain);
        for (int32_t y = 0; y < 600; ++y) {
            for (int32_t x = 0; x < 800; ++x) {
                background->Row(y)[x] = static_cast<uint16_t>(x * 7 + y * 13);
            }
        }
        highlight->BltColorFill({0, 0, 310, 285}, 0x00FFFF);
        auto compose = [&](int frame) {
            back->BltFast(0, 0, background.get(), {0, 0, 800, 600}, 16);
            const int32_t x = changing && frame % 2 == 1 ? 445 : 45;
            back->BltFast(x, 25, highlight.get(), {0, 0, 310, 285}, 16);
            primary->Flip(nullptr, 1);
        };
        for (int i = 0; i < 10; ++i) {
            compose(i);
        }
        constexpr int kFrames = 180;
        const long presentedBefore = presentation.PresentedFrames();
        const double cpu0 = bench::ProcessCpuMs();
        const double wall0 = bench::WallMs();
        for (int i = 0; i < kFrames; ++i) {
            compose(i);
        }
        const double cpu = bench::ProcessCpuMs() - cpu0;
        const double wall = bench::WallMs() - wall0;
        char note[160];
        std::snprintf(note, sizeof note, "%.1f frames/s, %ld of %d presented, %s",
                      kFrames * 1000.0 / wall, presentation.PresentedFrames() - presentedBefore,
                      kFrames,
                      presentation.IsSoftware() ? "software, window surface" : "accelerated");
        cost = {cpu / kFrames, note};
    }
    SDL_Quit();
    return cost;
}

// The floor of a changed frame scaled to 1024 x 768: SDL's bilinear scaler drawing just the two
// changed quadrants' parts (widened as the presentation widens them) from a 32-bit copy of the
// picture into a window-sized surface, milliseconds of processor time a frame; negative when SDL
// cannot.
double ScaledQuadrantsMs() {
    SDL_Surface* window = SDL_CreateRGBSurfaceWithFormat(0, 1024, 768, 32, SDL_PIXELFORMAT_RGB888);
    SDL_Surface* picture = SDL_CreateRGBSurfaceWithFormat(0, 800, 600, 32, SDL_PIXELFORMAT_RGB888);
    double ms = -1;
    if (window != nullptr && picture != nullptr) {
        const SDL_Rect from[] = {{25, 0, 375, 325}, {400, 0, 375, 325}};
        const SDL_Rect to[] = {{32, 0, 480, 416}, {512, 0, 480, 416}};
        constexpr int kFrames = 180;
        const double cpu0 = bench::ProcessCpuMs();
        bool drawn = true;
        for (int i = 0; i < kFrames; ++i) {
            drawn = drawn && SDL_SoftStretchLinear(picture, &from[0], window, &to[0]) == 0 &&
                    SDL_SoftStretchLinear(picture, &from[1], window, &to[1]) == 0;
        }
        ms = drawn ? (bench::ProcessCpuMs() - cpu0) / kFrames : -1;
    }
    SDL_FreeSurface(picture);
    SDL_FreeSurface(window);
    return ms;
}

void MeasureMenuFrame(bool changing) {
    const std::string name = changing ? "(a') compose + present a changed menu frame, cpu"
                                      : "(a) compose + present an unchanged menu frame, cpu";
    std::string why;
    const auto scaled = MenuFrameCost(changing, false, why);
    if (!scaled) {
        Skip(name, why);
        return;
    }
    if (!changing) {
        bench::Report(name, scaled->cpuMs, "ms/frame", "target < 0.2 ms; " + scaled->note);
        return;
    }
    // What the scaling costs: the same frames at the picture's own size.
    const auto own = MenuFrameCost(changing, true, why);
    char note[240];
    std::snprintf(note, sizeof note,
                  "target <= 0.6 ms; scaled to 1024 x 768, %s; unscaled %.3f ms; floor: SDL "
                  "scaling the two changed quadrants alone %.3f ms",
                  scaled->note.c_str(), own ? own->cpuMs : 0.0, ScaledQuadrantsMs());
    bench::Report(name, scaled->cpuMs, "ms/frame", note);
}

bench::Register unchangedFrame("presentation: unchanged menu frame",
                               [] { MeasureMenuFrame(false); });
bench::Register changedFrame("presentation: changed menu frame", [] { MeasureMenuFrame(true); });

// ---- (b), (c), (d): the program under Xvfb ----

pid_t Spawn(const std::vector<std::string>& args, const fs::path& folder,
            const std::map<std::string, std::string>& env) {
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(folder.c_str()) != 0) {
            _exit(126);
        }
        for (const auto& [name, value] : env) {
            setenv(name.c_str(), value.c_str(), 1);
        }
        std::vector<std::string> copy = args;
        std::vector<char*> argv;
        for (std::string& arg : copy) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        std::freopen("/dev/null", "w", stdout);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

std::optional<int> WaitFor(pid_t pid, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        if (std::chrono::steady_clock::now() > end) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(5ms);
    }
}

void Stop(pid_t pid) {
    kill(pid, SIGTERM);
    if (!WaitFor(pid, 10s)) {
        kill(pid, SIGKILL);
        WaitFor(pid, 10s);
    }
}

std::string ReadText(const fs::path& path) {
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// An Xvfb of its own on a free display number, 800 x 600 like the program's picture.
class VirtualDisplay {
  public:
    VirtualDisplay() {
        for (int n = 99; n < 140; ++n) {
            if (fs::exists("/tmp/.X11-unix/X" + std::to_string(n)) ||
                fs::exists("/tmp/.X" + std::to_string(n) + "-lock")) {
                continue;
            }
            name_ = ":" + std::to_string(n);
            pid_ =
                Spawn({"Xvfb", name_, "-screen", "0", "800x600x24", "-noreset", "-nolisten", "tcp"},
                      "/", {});
            const fs::path socket = "/tmp/.X11-unix/X" + std::to_string(n);
            for (int i = 0; i < 500 && !fs::exists(socket); ++i) {
                if (WaitFor(pid_, 10ms)) {
                    pid_ = -1;
                    break;
                }
            }
            if (pid_ > 0 && fs::exists(socket)) {
                return;
            }
            if (pid_ > 0) {
                Stop(pid_);
                pid_ = -1;
            }
        }
    }
    ~VirtualDisplay() {
        if (pid_ > 0) {
            Stop(pid_);
        }
    }
    bool Running() const { return pid_ > 0; }
    const std::string& Name() const { return name_; }

  private:
    std::string name_;
    pid_t pid_ = -1;
};

// One run of the program up to its idle main menu.
class ProgramRun {
  public:
    explicit ProgramRun(const std::string& display)
        : folder_(fs::temp_directory_path() / ("quillowbee-bench-" + std::to_string(getpid()))) {
        fs::create_directories(folder_);
        log_ = folder_ / "frames.log";
        fs::remove(log_);
        start_ = bench::WallMs();
        pid_ = Spawn({bench::ProgramPath()}, bench::DemoDir(),
                     {{"DISPLAY", display},
                      {"SDL_AUDIODRIVER", "dummy"},
                      {"XDG_RUNTIME_DIR", folder_.string()},
                      {"QUILLOWBEE_FRAME_LOG", log_.string()}});
    }
    ~ProgramRun() {
        if (pid_ > 0) {
            Stop(pid_);
        }
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    // Waits for the end of start-up; false if the program ended or did not get there.
    bool WaitReady() {
        for (int i = 0; i < 3000; ++i) {
            if (Milestone("ready")) {
                return true;
            }
            if (WaitFor(pid_, 10ms)) {
                pid_ = -1;
                return false;
            }
        }
        return false;
    }
    // Milliseconds from the start of the process to a milestone of its frame log.
    std::optional<double> Milestone(const std::string& event) const {
        std::istringstream lines(ReadText(log_));
        for (std::string line; std::getline(lines, line);) {
            std::istringstream words(line);
            std::string name;
            double ms = 0;
            if (words >> name >> ms && name == event) {
                return ms - start_;
            }
        }
        return std::nullopt;
    }
    pid_t Pid() const { return pid_; }

  private:
    fs::path folder_;
    fs::path log_;
    double start_ = 0;
    pid_t pid_ = -1;
};

// Nanoseconds each thread of a process has run (/proc/<pid>/task/*/schedstat), by thread name.
std::map<std::string, double> ThreadRunNs(pid_t pid) {
    std::map<std::string, double> run;
    std::error_code ignored;
    for (const auto& task :
         fs::directory_iterator("/proc/" + std::to_string(pid) + "/task", ignored)) {
        std::string name = ReadText(task.path() / "comm");
        name.erase(name.find_last_not_of('\n') + 1);
        std::istringstream fields(ReadText(task.path() / "schedstat"));
        double ns = 0;
        if (fields >> ns) {
            run[name] += ns;
        }
    }
    return run;
}

double StatusKib(pid_t pid, const std::string& key) {
    std::istringstream lines(ReadText("/proc/" + std::to_string(pid) + "/status"));
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(key + ":", 0) == 0) {
            return std::stod(line.substr(key.size() + 1));
        }
    }
    return 0;
}

std::optional<std::string> WhyNotRunnable() {
    if (!fs::is_directory(bench::DemoDir())) {
        return "no demo content in " + bench::DemoDir() + " (make demo)";
    }
    if (!fs::exists(bench::ProgramPath())) {
        return "no program at " + bench::ProgramPath();
    }
    if (std::system("command -v Xvfb > /dev/null 2>&1") != 0) {
        return "Xvfb is not installed";
    }
    return std::nullopt;
}

void MeasureIdleMenu() {
    const std::string cpuName = "(b) idle main menu under Xvfb, cpu";
    const std::string memoryName = "(c) idle main menu, peak memory VmHWM";
    if (auto why = WhyNotRunnable()) {
        Skip(cpuName, *why);
        Skip(memoryName, *why);
        return;
    }
    VirtualDisplay display;
    if (!display.Running()) {
        Skip(cpuName, "Xvfb did not start");
        Skip(memoryName, "Xvfb did not start");
        return;
    }
    ProgramRun run(display.Name());
    if (!run.WaitReady()) {
        Skip(cpuName, "the program did not reach its main menu");
        Skip(memoryName, "the program did not reach its main menu");
        return;
    }
    std::this_thread::sleep_for(1s);  // let the first frames and the music settle
    constexpr double kSeconds = 10;
    const auto run0 = ThreadRunNs(run.Pid());
    const double wall0 = bench::WallMs();
    std::this_thread::sleep_for(std::chrono::duration<double>(kSeconds));
    const auto run1 = ThreadRunNs(run.Pid());
    const double wallNs = (bench::WallMs() - wall0) * 1e6;
    double total = 0;
    double sound = 0;  // SDL's audio threads, which mix the looping menu music
    for (const auto& [name, ns] : run1) {
        const double share = (ns - (run0.count(name) != 0 ? run0.at(name) : 0.0)) / wallNs * 100;
        total += share;
        if (name.rfind("SDLAudio", 0) == 0) {
            sound += share;
        }
    }
    char note[160];
    std::snprintf(note, sizeof note,
                  "target <= 0.2 %%; of which sound mixing %.3f %%; all threads over 10 s, "
                  "/proc/<pid>/task/*/schedstat",
                  sound);
    bench::Report(cpuName, total, "% of one core", note);
    bench::Report(memoryName, StatusKib(run.Pid(), "VmHWM") / 1024.0, "MiB",
                  "target <= 41 MiB (no growth); /proc/<pid>/status");
}

bench::Register idleMenu("program: idle main menu cpu and memory", MeasureIdleMenu);

void MeasureStartUp() {
    const std::string firstName = "(d) process start to first picture under Xvfb";
    const std::string readyName = "(d) process start to start-up complete";
    if (auto why = WhyNotRunnable()) {
        Skip(firstName, *why);
        Skip(readyName, *why);
        return;
    }
    VirtualDisplay display;
    if (!display.Running()) {
        Skip(firstName, "Xvfb did not start");
        Skip(readyName, "Xvfb did not start");
        return;
    }
    std::vector<double> first;
    std::vector<double> ready;
    constexpr int kRuns = 7;
    for (int i = 0; i < kRuns; ++i) {
        ProgramRun run(display.Name());
        if (!run.WaitReady()) {
            Skip(firstName, "the program did not reach its main menu");
            Skip(readyName, "the program did not reach its main menu");
            return;
        }
        first.push_back(run.Milestone("first-frame").value_or(0));
        ready.push_back(run.Milestone("ready").value_or(0));
    }
    std::sort(first.begin(), first.end());
    std::sort(ready.begin(), ready.end());
    char note[160];
    std::snprintf(note, sizeof note, "goal <= 80 ms; median of %d, range %.0f-%.0f; frame log",
                  kRuns, first.front(), first.back());
    bench::Report(firstName, first[kRuns / 2], "ms", note);
    std::snprintf(note, sizeof note, "goal <= 120 ms; median of %d, range %.0f-%.0f; frame log",
                  kRuns, ready.front(), ready.back());
    bench::Report(readyName, ready[kRuns / 2], "ms", note);
}

bench::Register startUp("program: start-up times", MeasureStartUp);

}  // namespace
