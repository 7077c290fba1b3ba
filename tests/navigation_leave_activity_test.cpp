#include <gtest/gtest.h>

#include "content/millisecond_clock.h"
#include "navigation_fixture.h"
#include "sound/dsound.h"

namespace {

using testing_support::NavigationTest;

enum class Input { Escape, Space, Enter, Click };

enum class Result {
    Leaves,        // back to the sub-menu
    ClickOnly,     // within the key delay
    Silent,        // on the film within 3000 ms
    LockedRenews,  // an escape lock: stepTime renewed, nothing else
};

struct LeaveCase {
    int16_t screen;
    Input input;
    int32_t elapsed;  // ms since stepTime
    int16_t keyDelay;
    bool locked;
    Result result;
    int clicks;
};

// Both guard times of leaving an activity, measured from stepTime.
const LeaveCase kLeaveCases[] = {
    {6, Input::Escape, 500, 500, false, Result::ClickOnly, 1},
    {6, Input::Escape, 0, 500, false, Result::ClickOnly, 1},
    {6, Input::Escape, -10, 500, false, Result::ClickOnly, 1},  // a stepTime ahead of the clock
    {6, Input::Escape, 501, 500, false, Result::Silent, 0},
    {6, Input::Escape, 2999, 500, false, Result::Silent, 0},
    {6, Input::Escape, 3000, 500, false, Result::Leaves, 1},
    {6, Input::Escape, 2500, 2500, false, Result::ClickOnly, 1},
    {6, Input::Escape, 3000, 2500, false, Result::Leaves, 1},
    {6, Input::Escape, 3000, 500, true, Result::LockedRenews, 0},
    {6, Input::Escape, 2999, 500, true, Result::Silent, 0},
    {5, Input::Escape, 501, 500, false, Result::Leaves, 1},  // no 3000 ms guard on the build-up
    {5, Input::Escape, 500, 500, false, Result::ClickOnly, 1},
    {5, Input::Escape, 1001, 1000, false, Result::Leaves, 1},
    {5, Input::Escape, 1000, 1000, false, Result::ClickOnly, 1},
    {5, Input::Escape, 501, 500, true, Result::LockedRenews, 0},
    // Space, Enter and a click on the film go through Escape, each level with its own click.
    {6, Input::Space, 2999, 500, false, Result::Silent, 0},
    {6, Input::Space, 100, 500, false, Result::Silent, 0},
    {6, Input::Space, 3000, 500, false, Result::Leaves, 2},
    {6, Input::Enter, 3000, 2500, false, Result::Leaves, 2},
    {6, Input::Click, 2999, 500, false, Result::Silent, 0},
    {6, Input::Click, 3000, 500, false, Result::Leaves, 2},
    {6, Input::Space, 3000, 500, true, Result::LockedRenews, 1},
    {6, Input::Click, 4000, 500, true, Result::LockedRenews, 1},
};

// Clock readings to start from: an ordinary one, one just before the signed 32-bit reading turns
// negative and one just before it wraps back through zero.
const int64_t kStartTimes[] = {100000, 2147483647LL - 1000, 4294967296LL - 1000};

class LeaveActivityTest : public NavigationTest {
  protected:
    // An activity of theme 3 started from slot 2, with both kinds of pictures loaded and the film's
    // looping sound on.
    void StartActivity(int16_t screen) {
        Show(screen, 9);
        form.selectedItem = 18;
        form.subMenuFocus = 2;
        form.buildUpPicture = SolidSurface(8, 8, 0x0000FF);
        form.nextBuildUpPicture = SolidSurface(8, 8, 0x0000FF);
        form.filmPictures.resize(2);
        form.filmPictures[0] = SolidSurface(8, 8, 0x0000FF);
        form.filmPictures[1] = SolidSurface(8, 8, 0x0000FF);
        DSound::PlaySound(DSound::kViolin);
        h.platform.sound.plays.clear();
        h.platform.window.warps.clear();
    }

    void Send(Input input) {
        switch (input) {
            case Input::Escape:
                h.Key(platform::kKeyEscape);
                break;
            case Input::Space:
                h.Key(platform::kKeySpace);
                break;
            case Input::Enter:
                h.Key(platform::kKeyEnter);
                break;
            case Input::Click:
                h.Click(400, 300);
                break;
        }
    }

    bool ViolinSounds() { return h.platform.sound.Find("Fiol.wav")->playing; }
};

TEST_F(LeaveActivityTest, GuardTimesAcrossTheClocksWrap) {
    for (int64_t start : kStartTimes) {
        for (const LeaveCase& c : kLeaveCases) {
            SCOPED_TRACE(testing::Message()
                         << "start " << start << ", screen " << c.screen << ", input "
                         << static_cast<int>(c.input) << ", elapsed " << c.elapsed << ", key delay "
                         << c.keyDelay << ", locked " << c.locked);
            StartActivity(c.screen);
            form.settings.keyDelay = c.keyDelay;
            form.settings.escapeLocks = {false, false, false, false};
            form.settings.escapeLocks[2] = c.locked;
            SetNow(start);
            form.stepTime = GameUtil::GetMilliseconds();
            const int32_t before = form.stepTime;
            SetNow(start + c.elapsed);
            const int32_t now = GameUtil::GetMilliseconds();

            Send(c.input);

            EXPECT_EQ(Clicks(), c.clicks);
            EXPECT_EQ(Plays(), static_cast<size_t>(c.clicks));
            const bool leaves = c.result == Result::Leaves;
            const bool renews = leaves || c.result == Result::LockedRenews;
            EXPECT_EQ(form.stepTime, renews ? now : before);
            EXPECT_EQ(form.requestedScreen, leaves ? 3 : c.screen);
            EXPECT_EQ(form.menuContext, leaves ? 3 : 9);
            EXPECT_EQ(form.currentScreen, c.screen);
            EXPECT_EQ(form.buildUpPicture == nullptr, leaves);
            EXPECT_EQ(form.nextBuildUpPicture == nullptr, leaves);
            EXPECT_EQ(form.filmPictures[1] == nullptr, leaves && c.screen == 6);
            EXPECT_EQ(ViolinSounds(), !leaves);
            if (leaves) {
                EXPECT_EQ(h.platform.window.warps,
                          std::vector<platform::Point>{form.subMenuWarpPoints[2]});
            } else {
                EXPECT_TRUE(h.platform.window.warps.empty());
            }
        }
    }
}

TEST_F(LeaveActivityTest, EveryEscapeLockHolds) {
    for (size_t lock = 0; lock < 4; ++lock) {
        SCOPED_TRACE(testing::Message() << "lock " << lock);
        StartActivity(6);
        form.settings.escapeLocks = {false, false, false, false};
        form.settings.escapeLocks[lock] = true;
        form.stepTime = GameUtil::GetMilliseconds();
        h.platform.counter.AdvanceMs(5000);
        h.Key(platform::kKeyEscape);
        EXPECT_EQ(form.requestedScreen, 6);
        EXPECT_EQ(form.stepTime, GameUtil::GetMilliseconds());
        EXPECT_EQ(Plays(), 0u);
    }
}

TEST_F(LeaveActivityTest, ARenewedStepTimeStartsBothGuardsAgain) {
    StartActivity(6);
    form.settings.escapeLocks[0] = true;
    form.stepTime = GameUtil::GetMilliseconds();
    h.platform.counter.AdvanceMs(3000);
    h.Key(platform::kKeyEscape);  // renews stepTime
    form.settings.escapeLocks[0] = false;
    h.platform.counter.AdvanceMs(400);
    h.Key(platform::kKeyEscape);
    EXPECT_EQ(Clicks(), 1);
    h.platform.counter.AdvanceMs(2000);
    h.Key(platform::kKeyEscape);
    EXPECT_EQ(Clicks(), 1);
    EXPECT_EQ(form.requestedScreen, 6);
    h.platform.counter.AdvanceMs(600);
    h.Key(platform::kKeyEscape);
    EXPECT_EQ(form.requestedScreen, 3);
    EXPECT_EQ(Clicks(), 2);
}

TEST_F(LeaveActivityTest, EnterStartsAnActivityWhoseEscapeWarpsToTheEntryAfterIt) {
    Show(2, 2);
    form.settings.itemEnabled[10] = false;
    form.subMenuFocus = 1;
    h.platform.window.pointer = form.subMenuWarpPoints[1];
    h.Key(platform::kKeyEnter);
    EXPECT_EQ(form.selectedItem, 9);
    EXPECT_EQ(form.subMenuFocus, 3);
    EXPECT_EQ(form.requestedScreen, 5);
    Switch();  // the build-up's own entry work is left out here

    form.stepTime = GameUtil::GetMilliseconds();
    h.platform.counter.AdvanceMs(501);
    h.Key(platform::kKeyEscape);
    EXPECT_EQ(form.requestedScreen, 2);
    EXPECT_EQ(form.menuContext, 2);
    EXPECT_EQ(Pointer(), form.subMenuWarpPoints[3]);
}

}  // namespace
