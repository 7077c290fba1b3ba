// Left running across the clock's turn at 2^31 ms (almost 25 days), an endless film keeps its
// pace on both sides. Memory growth over days is measured by quillowbee-bench long-run.
#include <gtest/gtest.h>

#include "content/millisecond_clock.h"
#include "support/form_harness.h"
#include "support/mini_pack.h"
#include "support/test_files.h"

namespace testing_support {
namespace {

TEST(LongRun, AnEndlessFilmKeepsItsPaceAcrossTheClocksTurn) {
    TempDir dir;
    ScopedCurrentDir cwd(dir.Path());
    WriteMiniPack(dir.Path(), {.delays = "30000,25000,32767,20000"});
    FormHarness h;
    h.platform.counter.SetMs(2147483648LL - 3LL * 3600 * 1000);  // three hours before the turn
    h.form.StartUp();
    h.form.isRunning = true;
    h.form.settings.buildUpSteps = 0;
    h.form.settings.filmRepeats = 16;
    h.form.settings.filmDelayFactor = 3.0;
    h.form.selectedItem = 24;
    h.form.menuContext = 10;
    h.form.requestedScreen = 5;
    // Six hours at one pass every 15 s; each picture is held 60-98 s.
    int changes[2] = {0, 0};  // before and after the turn
    for (int i = 0, last = h.form.filmIndex; i < 6 * 240; ++i, last = h.form.filmIndex) {
        h.platform.counter.AdvanceMs(15000);
        h.Pass();
        changes[GameUtil::GetMilliseconds() < 0 ? 1 : 0] += h.form.filmIndex != last;
    }
    EXPECT_EQ(std::pair(h.form.isRunning, h.form.currentScreen), std::pair(true, int16_t{6}));
    EXPECT_GT(changes[0], 3 * 3600 / 100);
    EXPECT_GT(changes[1], 3 * 3600 / 100);
}

}  // namespace
}  // namespace testing_support
