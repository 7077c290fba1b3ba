#include "platform/sdl/instance_lock.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/sdl/sdl_presentation.h"
#include "platform/sdl/sdl_window_system.h"
#include "support/test_files.h"

namespace platform {
namespace {

using testing_support::ScopedEnv;

// The lock file is per user; an unusable lock folder does not stop the program.
TEST(InstanceLockTest, TheLockFileIsPerUser) {
    testing_support::TempDir dir;
    const std::string fallback = "/tmp/quillowbee-" + std::to_string(getuid()) + ".lock";
    const std::pair<std::optional<std::string>, std::string> cases[] = {
        {dir.Path().string(), (dir / "quillowbee.lock").string()},
        {std::nullopt, fallback},
        {"relative/run", fallback},  // only an absolute runtime folder counts
        {"/nonexistent/run", "/nonexistent/run/quillowbee.lock"}};
    for (const auto& [runtime, expected] : cases) {
        ScopedEnv variable{"XDG_RUNTIME_DIR", runtime};
        EXPECT_EQ(InstanceLock::LockPath(), expected) << runtime.value_or("(unset)");
        EXPECT_TRUE(expected == fallback || !InstanceLock().HeldElsewhere()) << expected;
    }
}

// Only the first holder runs until it goes; the window system asks once and keeps its lock.
TEST(InstanceLockTest, OnlyTheFirstHolderRunsUntilItGoes) {
    testing_support::TempDir dir;
    ScopedEnv variable{"XDG_RUNTIME_DIR", dir.Path().string()};
    // Of two locks held at once exactly one runs; both are gone before the window asks.
    EXPECT_NE(InstanceLock().HeldElsewhere(), InstanceLock().HeldElsewhere());
    SdlPresentation presentation({});
    SdlWindowSystem window(presentation);
    EXPECT_FALSE(window.IsPreviousInstance());
    EXPECT_FALSE(window.IsPreviousInstance());  // must not find its own lock
    EXPECT_TRUE(SdlWindowSystem(presentation).IsPreviousInstance());
}

}  // namespace
}  // namespace platform
