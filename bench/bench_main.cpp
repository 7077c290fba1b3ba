#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <map>

#include "bench.h"

namespace bench {

std::vector<Case>& Registry() {
    static std::vector<Case> cases;
    return cases;
}

namespace {

std::map<std::string, double>& Reported() {
    static std::map<std::string, double> values;
    return values;
}

// The speed goals of the program and the report line that measures each; lower is better.
struct Goal {
    const char* figure;
    const char* line;
    double goal;
    const char* unit;
};
constexpr Goal kGoals[] = {
    {"entering an activity with 42 pictures / TurboJPEG's single-core decode",
     "activities: whole entry / TurboJPEG single-core decode", 0.60, ""},
    {"process start to first picture (frame log, Xvfb)",
     "(d) process start to first picture under Xvfb", 80, "ms"},
    {"process start to start-up complete", "(d) process start to start-up complete", 120, "ms"},
    {"compose and present a changed menu frame, CPU",
     "(a') compose + present a changed menu frame, cpu", 0.6, "ms"},
    {"idle main menu under Xvfb, CPU", "(b) idle main menu under Xvfb, cpu", 0.2, "% of a core"},
    {"peak memory, menus", "(c) idle main menu, peak memory VmHWM", 41, "MiB"},
};

void PrintGoals() {
    std::printf("\n%-72s %10s %10s\n", "figure", "now", "goal");
    for (const Goal& goal : kGoals) {
        const auto it = Reported().find(goal.line);
        char goalText[48];
        std::snprintf(goalText, sizeof goalText, "<= %g %s", goal.goal, goal.unit);
        if (it == Reported().end()) {
            std::printf("%-72s %10s %s  not measured in this run\n", goal.figure, "-", goalText);
        } else {
            std::printf("%-72s %10.3f %s  %s\n", goal.figure, it->second, goalText,
                        it->second <= goal.goal ? "met" : "missed");
        }
    }
    std::fflush(stdout);
}

}  // namespace

void Report(const std::string& name, double value, const std::string& unit,
            const std::string& note) {
    Reported()[name] = value;
    std::printf("%-58s %10.3f %s%s%s\n", name.c_str(), value, unit.c_str(),
                note.empty() ? "" : "  ", note.c_str());
    std::fflush(stdout);
}

double ProcessCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1000.0 + static_cast<double>(ts.tv_nsec) / 1e6;
}

double WallMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

namespace {
std::filesystem::path SelfDir() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path();
}
}  // namespace

std::string DemoDir() {
    return (SelfDir() / "demo").string();
}
std::string ProgramPath() {
    return (SelfDir() / "quillowbee").string();
}

}  // namespace bench

int main(int argc, char** argv) {
    int ran = 0;
    for (const bench::Case& c : bench::Registry()) {
        bool wanted = argc < 2;
        for (int i = 1; i < argc; ++i) {
            wanted = wanted || c.name.find(argv[i]) != std::string::npos;
        }
        if (wanted) {
            c.run();
            ++ran;
        }
    }
    if (ran == 0) {
        std::fprintf(stderr, "quillowbee-bench: no measurement matches\n");
        return 2;
    }
    bench::PrintGoals();
    return 0;
}
