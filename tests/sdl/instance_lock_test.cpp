#include "platform/sdl/instance_lock.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/sdl/sdl_presentation.h"
#include "platform/sdl/sdl_window_system.h"
#include "support/test_files.h"

namespace platform {
namespace {

using testing_support::ScopedEnv;
using testing_support::TempDir;

TEST(InstanceLockTest, TheLockFileIsPerUser) {
    TempDir dir;
    const std::string fallback = "/tmp/quillowbee-" + std::to_string(getuid()) + ".lock";
    const std::pair<std::optional<std::string>, std::string> cases[] = {
        {dir.Path().string(), (dir.Path() / "quillowbee.lock").string()},
        {std::nullopt, fallback},
        {"", fallback},
        {"relative/run", fallback},  // only an absolute runtime folder counts
    };
    for (const auto& [runtime, expected] : cases) {
        ScopedEnv variable{"XDG_RUNTIME_DIR", runtime};
        EXPECT_EQ(InstanceLock::LockPath(), expected) << runtime.value_or("(unset)");
    }
}

TEST(InstanceLockTest, OnlyTheFirstHolderRunsUntilItGoes) {
    TempDir dir;
    ScopedEnv variable{"XDG_RUNTIME_DIR", dir.Path().string()};
    auto first = std::make_unique<InstanceLock>();
    EXPECT_FALSE(first->HeldElsewhere());
    {
        InstanceLock second;
        EXPECT_TRUE(second.HeldElsewhere());
        InstanceLock third;
        EXPECT_TRUE(third.HeldElsewhere());
    }
    EXPECT_TRUE(std::filesystem::exists(dir.Path() / "quillowbee.lock"));
    first.reset();
    InstanceLock next;
    EXPECT_FALSE(next.HeldElsewhere());
}

TEST(InstanceLockTest, AnUnusableLockFolderDoesNotStopTheProgram) {
    ScopedEnv variable{"XDG_RUNTIME_DIR", "/nonexistent/quillowbee-test"};
    InstanceLock lock;
    EXPECT_FALSE(lock.HeldElsewhere());
}

// The window system asks once and keeps the lock: asking again must not find its own lock.
TEST(InstanceLockTest, TheWindowSystemKeepsItsLockForTheRun) {
    TempDir dir;
    ScopedEnv variable{"XDG_RUNTIME_DIR", dir.Path().string()};
    SdlPresentation presentation({});
    SdlWindowSystem first(presentation);
    EXPECT_FALSE(first.IsPreviousInstance());
    EXPECT_FALSE(first.IsPreviousInstance());
    SdlWindowSystem second(presentation);
    EXPECT_TRUE(second.IsPreviousInstance());
}

}  // namespace
}  // namespace platform
