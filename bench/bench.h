#pragma once

#include <functional>
#include <string>
#include <vector>

// The benchmark program's registry: each bench file registers its measurements, and
// `quillowbee-bench [name-substring...]` runs those that match, printing one line per figure.
namespace bench {

struct Case {
    std::string name;
    std::function<void()> run;
};

std::vector<Case>& Registry();

struct Register {
    Register(std::string name, std::function<void()> run) {
        Registry().push_back({std::move(name), std::move(run)});
    }
};

// Prints "name: value unit" (and a note) in the program's report format, and keeps the value for
// the summary of goals printed at the end of the run.
void Report(const std::string& name, double value, const std::string& unit,
            const std::string& note = "");

// Processor time of this process so far, in milliseconds.
double ProcessCpuMs();
// Wall-clock milliseconds from an arbitrary origin.
double WallMs();

// The demo content folder and the program binary beside the benchmark program.
std::string DemoDir();
std::string ProgramPath();

}  // namespace bench
