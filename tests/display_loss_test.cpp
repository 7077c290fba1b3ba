// A lost display (the user switched away from the full-screen program) on every screen: the
// loop waits, input during the wait is handled, then everything is reloaded and the screen is
// entered again.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/form_harness.h"
#include "support/mini_pack.h"
#include "support/recording_decoder.h"
#include "support/test_files.h"

namespace {

struct Case {
    const char* name;
    int16_t screen;
    int16_t context;
    size_t reloads;  // pictures read again after the loss
};

class DisplayLossTest : public ::testing::TestWithParam<Case> {
  protected:
    // Shows the case's screen; on the film, one picture on.
    void Show() {
        const Case& c = GetParam();
        h.form.StartUp();
        h.form.isRunning = true;
        h.form.selectedItem = 25;
        h.form.menuContext = c.context;
        if (c.screen == 6) {
            h.form.requestedScreen = 5;  // the film's pictures are loaded on the way in
            h.Pass();
        }
        h.form.requestedScreen = c.screen;
        h.Pass();
        if (c.screen == 6) {
            h.platform.counter.AdvanceMs(500);
            h.Pass();  // the film moves on to its second picture
        }
        ASSERT_EQ(h.form.currentScreen, c.screen);
    }

    testing_support::ScopedCurrentDir cwd{testing_support::SharedMiniPack()};
    testing_support::FormHarness h;
};

TEST_P(DisplayLossTest, WaitsHandlesInputThenReloadsAndEntersAgain) {
    const Case& c = GetParam();
    Show();
    const int16_t filmIndex = h.form.filmIndex;
    const int16_t filmPasses = h.form.filmPasses;
    const size_t plays = h.platform.sound.plays.size();

    testing_support::ScopedRecordingDecoder decoder;
    h.platform.display.lost = true;
    int yields = 0;
    h.platform.window.onYield = [&] {
        if (++yields == 2) {
            // A right click while the display is away toggles the pointer marker.
            h.platform.window.pending.push_back({headless::InputEvent::Kind::MouseDown, 2});
        }
        if (yields == 5) {
            h.platform.display.lost = false;
        }
    };
    h.platform.counter.AdvanceMs(40);
    h.Pass();

    EXPECT_GE(yields, 5);
    EXPECT_TRUE(h.form.settings.showPointerSprite);
    EXPECT_EQ(std::count(h.platform.display.calls.begin(), h.platform.display.calls.end(),
                         "RestoreAllSurfaces"),
              1);
    EXPECT_EQ(decoder.Calls().size(), c.reloads);
    EXPECT_EQ(h.form.currentScreen, c.screen);
    EXPECT_TRUE(h.form.isRunning);
    EXPECT_FALSE(h.form.isBusy);
    // No music change: the screen did not change.
    for (size_t i = plays; i < h.platform.sound.plays.size(); ++i) {
        EXPECT_EQ(h.platform.sound.plays[i].find("Meny.wav"), std::string::npos);
    }
    if (c.screen == 5) {
        EXPECT_EQ(h.form.buildUpIndex, 0);  // the build-up starts again from its first picture
        EXPECT_TRUE(h.form.buildUpPicture);
    }
    if (c.screen == 6) {
        EXPECT_EQ(h.form.filmIndex, filmIndex);  // the film goes on where it was
        EXPECT_EQ(h.form.filmPasses, filmPasses);
    }
    for (const SurfaceSlot& slot : h.form.buttonPictures) {
        EXPECT_TRUE(slot);
    }
}

TEST_P(DisplayLossTest, AQuitDuringTheWaitEndsTheProgramWithoutWaitingForTheDisplay) {
    Show();
    testing_support::ScopedRecordingDecoder decoder;
    h.platform.display.lost = true;
    int yields = 0;
    h.platform.window.onYield = [&] {
        if (++yields == 2) {
            h.platform.window.pending.push_back({headless::InputEvent::Kind::Quit});
        }
        if (yields > 50) {
            h.platform.display.lost = false;  // keeps a wrong implementation from waiting for ever
        }
    };
    // On the film the picture's time is up as well, so the film looks at the display again.
    h.platform.counter.AdvanceMs(40);
    h.Pass();

    EXPECT_FALSE(h.form.isRunning);
    EXPECT_LE(yields, 3);
    EXPECT_TRUE(decoder.Calls().empty());
    EXPECT_EQ(std::count(h.platform.display.calls.begin(), h.platform.display.calls.end(),
                         "RestoreAllSurfaces"),
              0);
}

INSTANTIATE_TEST_SUITE_P(
    EveryScreen, DisplayLossTest,
    ::testing::Values(Case{"MainMenu", 0, 0, 53}, Case{"SubMenu", 2, 2, 53},
                      // The build-up screen reloads its film (4) and first two build-up pictures.
                      Case{"BuildUp", 5, 10, 53 + 4 + 2}, Case{"Film", 6, 10, 53},
                      Case{"Choices", 12, 12, 53}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
