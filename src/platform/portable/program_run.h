#pragma once

#include <string>
#include <vector>

namespace platform {

// How a program run by RunProgram ended.
struct ProgramEnd {
    enum class Kind { NotStarted, Exited, Signalled };
    Kind kind = Kind::NotStarted;
    // Exited: its exit status. Signalled: the signal's number. NotStarted: the errno of the
    // failure to start it (ENOENT when the file is not there) or to wait for it.
    int code = 0;
    std::string errorOutput;  // what it wrote on its standard error, at most kMostErrorOutput
};

inline constexpr size_t kMostErrorOutput = 64 * 1024;

// Runs the program at argv[0] (a path; no shell, no search of PATH) with the arguments of
// `argv`, in the current folder and environment, its standard input and output on /dev/null and
// its standard error read; waits for it to end. Call it from one thread at a time per child: it
// reaps only the child it started.
ProgramEnd RunProgram(const std::vector<std::string>& argv);

// The folder of the running program's own executable (from /proc/self/exe); "" when unknown.
std::string OwnProgramFolder();

}  // namespace platform
