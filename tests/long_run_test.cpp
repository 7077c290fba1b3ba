// Left running for days, the film and the menus neither end nor grow.
#include <gtest/gtest.h>

#include <fstream>

#include "content/millisecond_clock.h"
#include "support/form_harness.h"
#include "support/mini_pack.h"
#include "support/test_files.h"

namespace {

// Resident memory of this process in KiB.
long ResidentKiB() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * 4;
}

class LongRunTest : public ::testing::Test {
  protected:
    LongRunTest() : cwd_(dir_.Path()) {
        testing_support::WriteMiniPack(dir_.Path(), {.delays = "30000,25000,32767,20000"});
        // Start a day and a half before the millisecond clock passes 2^31.
        h_.platform.counter.SetMs(2147483648LL - 36LL * 3600 * 1000);
        h_.form.StartUp();
        h_.form.isRunning = true;
    }
    void PassesEvery(int64_t ms, int64_t count) {
        for (int64_t i = 0; i < count; ++i) {
            h_.platform.counter.AdvanceMs(ms);
            h_.Pass();
        }
    }

    testing_support::TempDir dir_;
    testing_support::ScopedCurrentDir cwd_;
    testing_support::FormHarness h_;
};

TEST_F(LongRunTest, AnEndlessFilmRunsSeventyTwoHours) {
    h_.form.settings.filmDelayFactor = 3.0;
    h_.form.selectedItem = 24;
    h_.form.menuContext = 10;
    h_.form.requestedScreen = 5;
    h_.Pass();
    h_.form.settings.buildUpSteps = 0;
    h_.form.requestedScreen = 6;
    PassesEvery(1000, 600);
    const long before = ResidentKiB();
    const int32_t startedAt = GameUtil::GetMilliseconds();
    int16_t lastIndex = h_.form.filmIndex;
    int changes = 0;
    // 72 hours at one pass every 15 s; each picture is held 60-98 s.
    for (int i = 0; i < 72 * 240; ++i) {
        PassesEvery(15000, 1);
        changes += h_.form.filmIndex != lastIndex;
        lastIndex = h_.form.filmIndex;
    }
    EXPECT_TRUE(h_.form.isRunning);
    EXPECT_EQ(h_.form.currentScreen, 6);
    EXPECT_GT(GameUtil::ElapsedMs(GameUtil::GetMilliseconds(), startedAt), 72 * 3600 * 1000 - 1);
    EXPECT_LT(GameUtil::GetMilliseconds(), 0);  // the clock's reading has wrapped past 2^31
    // The pictures kept changing at their pace on both sides of the wrap.
    EXPECT_GT(changes, 72 * 3600 / 100);
    EXPECT_GT(h_.form.filmPasses, 600);
    EXPECT_LT(ResidentKiB() - before, 2048);
}

TEST_F(LongRunTest, TheFilmsPassCounterStopsAtItsTop) {
    h_.form.selectedItem = 8;
    h_.form.menuContext = 8;
    h_.form.settings.buildUpSteps = 0;
    h_.form.requestedScreen = 5;
    h_.Pass();
    h_.Pass();
    ASSERT_EQ(h_.form.currentScreen, 6);
    h_.form.filmPasses = 32765;
    PassesEvery(100000, 5 * 4);  // five more passes through four pictures
    EXPECT_EQ(h_.form.filmPasses, 32767);
    EXPECT_TRUE(h_.form.isRunning);
    EXPECT_EQ(h_.form.currentScreen, 6);
}

TEST_F(LongRunTest, TheMenusStayAWeek) {
    // One pass a minute for a week, the pointer wandering over the main menu and a sub-menu.
    const platform::Point spots[] = {{100, 100}, {500, 100}, {100, 400}, {700, 500}};
    PassesEvery(60000, 60);
    const long before = ResidentKiB();
    for (int i = 0; i < 7 * 24 * 60; ++i) {
        h_.platform.window.pointer = spots[i % 4];
        if (i % 500 == 0) {
            h_.form.requestedScreen = h_.form.currentScreen == 0 ? 3 : 0;
            h_.form.menuContext = h_.form.requestedScreen;
        }
        PassesEvery(60000, 1);
    }
    EXPECT_TRUE(h_.form.isRunning);
    EXPECT_LT(ResidentKiB() - before, 2048);
}

}  // namespace
