#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>

#include "bench.h"

namespace bench {

std::vector<Case>& Registry() {
    static std::vector<Case> cases;
    return cases;
}

void Report(const std::string& name, double value, const std::string& unit,
            const std::string& note) {
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
    return 0;
}
