// Running a program of its own: how it ended and what it said on its standard error.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <string>
#include <vector>

#include "platform/portable/program_run.h"
#include "support/test_files.h"

namespace {

using Kind = platform::ProgramEnd::Kind;

TEST(RunProgram, TellsHowItEndedAndWhatItSaid) {
    const testing_support::TempDir dir;
    dir.Write("not-executable", "#!/bin/sh\nexit 0\n");
    // A descriptor of the caller's that is not closed on exec must not reach the child.
    const int open = ::open("/dev/null", O_RDONLY);
    ASSERT_GE(open, 3);
    const std::string fd = std::to_string(open);
    const struct {
        const char* name;
        std::vector<std::string> argv;
        Kind kind;
        int code;
        std::string said;
        bool ignorePipe = false;  // the caller ignores SIGPIPE
    } cases[] = {
        // clang-format off
        {"standard output is not kept", {"/bin/sh", "-c", "echo out; echo err >&2; exit 3"}, Kind::Exited, 3, "err\n"},
        {"standard input is empty", {"/bin/sh", "-c", "cat; echo done >&2"}, Kind::Exited, 0, "done\n"},
        {"arguments reach it as given, through no shell", {"/bin/sh", "-c", "printf '%s|' \"$@\" >&2", "sh", "a b", "$HOME", ";exit 4"}, Kind::Exited, 0, "a b|$HOME|;exit 4|"},
        // It is never left blocked on a full pipe, and the start of what it said is kept.
        {"a long error output", {"/bin/sh", "-c", "head -c 300000 /dev/zero | tr '\\0' x >&2; echo end >&2; exit 6"}, Kind::Exited, 6, std::string(platform::kMostErrorOutput, 'x')},
        {"ended by a signal", {"/bin/sh", "-c", "echo going >&2; kill -TERM $$"}, Kind::Signalled, SIGTERM, "going\n"},
        {"a signal the caller ignores ends it too", {"/bin/sh", "-c", "kill -PIPE $$; exit 5"}, Kind::Signalled, SIGPIPE, "", true},
        {"the caller's other descriptors are closed", {"/bin/sh", "-c", "[ -e /proc/self/fd/" + fd + " ] && echo open >&2; exit 0"}, Kind::Exited, 0, ""},
        {"not there", {(dir / "missing").string()}, Kind::NotStarted, ENOENT, ""},
        {"not executable", {(dir / "not-executable").string()}, Kind::NotStarted, EACCES, ""},
        {"a bare name is not looked up in PATH", {"sh", "-c", "exit 0"}, Kind::NotStarted, ENOENT, ""},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto previous = std::signal(SIGPIPE, c.ignorePipe ? SIG_IGN : SIG_DFL);
        const platform::ProgramEnd end = platform::RunProgram(c.argv);
        std::signal(SIGPIPE, previous);
        EXPECT_EQ(end.kind, c.kind);
        EXPECT_EQ(end.code, c.code);
        EXPECT_EQ(end.errorOutput, c.said);
    }
    ::close(open);
}

}  // namespace
