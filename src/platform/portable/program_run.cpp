#include "platform/portable/program_run.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <system_error>

extern char** environ;

namespace platform {
namespace {

// Closes a descriptor once, whatever way the run leaves.
struct Descriptor {
    int fd = -1;
    ~Descriptor() { Close(); }
    void Close() {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
};

// The child starts with every signal unblocked and at its default action, whatever the
// caller's thread blocks or the program ignores (an ignored SIGPIPE would survive the exec).
struct SpawnAttributes {
    posix_spawnattr_t attributes;
    SpawnAttributes() {
        posix_spawnattr_init(&attributes);
        sigset_t none, all;
        sigemptyset(&none);
        sigfillset(&all);
        posix_spawnattr_setsigmask(&attributes, &none);
        posix_spawnattr_setsigdefault(&attributes, &all);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    }
    ~SpawnAttributes() { posix_spawnattr_destroy(&attributes); }
};

struct FileActions {
    posix_spawn_file_actions_t actions;
    FileActions() { posix_spawn_file_actions_init(&actions); }
    ~FileActions() { posix_spawn_file_actions_destroy(&actions); }
};

}  // namespace

ProgramEnd RunProgram(const std::vector<std::string>& argv) {
    ProgramEnd end;
    if (argv.empty()) {
        end.code = EINVAL;
        return end;
    }
    int ends[2] = {-1, -1};
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        end.code = errno;
        return end;
    }
    Descriptor readEnd{ends[0]}, writeEnd{ends[1]};

    FileActions files;
    posix_spawn_file_actions_addopen(&files.actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files.actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&files.actions, writeEnd.fd, STDERR_FILENO);
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
    // None of the caller's other descriptors (its window's connection, its lock) reach the child.
    posix_spawn_file_actions_addclosefrom_np(&files.actions, STDERR_FILENO + 1);
#endif
    const SpawnAttributes attributes;
    std::vector<char*> pointers;
    for (const std::string& argument : argv)
        pointers.push_back(const_cast<char*>(argument.c_str()));
    pointers.push_back(nullptr);
    pid_t child = -1;
    const int started = ::posix_spawn(&child, argv[0].c_str(), &files.actions,
                                      &attributes.attributes, pointers.data(), environ);
    writeEnd.Close();
    if (started != 0) {
        end.code = started;
        return end;
    }

    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(readEnd.fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        const size_t room = kMostErrorOutput - end.errorOutput.size();
        end.errorOutput.append(buffer, std::min(room, static_cast<size_t>(n)));
    }
    readEnd.Close();

    int status = 0;
    pid_t reaped;
    while ((reaped = ::waitpid(child, &status, 0)) < 0 && errno == EINTR) {
    }
    if (reaped < 0) {
        end.code = errno;  // someone else reaped it; how it ended is unknown
        return end;
    }
    if (WIFSIGNALED(status)) {
        end.kind = ProgramEnd::Kind::Signalled;
        end.code = WTERMSIG(status);
    } else {
        end.kind = ProgramEnd::Kind::Exited;
        end.code = WEXITSTATUS(status);
    }
    return end;
}

std::string OwnProgramFolder() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : self.parent_path().string();
}

}  // namespace platform
