// The user's settings file reaches what the child sees: the whole start-up on a small content
// pack, then the menus and a film.
#include <gtest/gtest.h>

#include "content/millisecond_clock.h"
#include "support/form_harness.h"
#include "support/mini_pack.h"
#include "support/test_files.h"

namespace {

TEST(SettingsScenarioTest, TheUsersFileIsSeenInTheProgram) {
    testing_support::ScopedCurrentDir cwd(testing_support::SharedMiniPack());
    testing_support::FormHarness h;
    MainMenuForm& form = h.form;
    h.platform.settings.files = {{"settings.ini",
                                  "[Settings]\nexitLocked=True\ndisabledItems=Djur:Sak0\n"
                                  "buildUpSteps=0\nfilmDelayFactor=3.0\n",
                                  ""}};
    h.platform.counter.SetMs(1000000);
    ::testing::internal::CaptureStderr();
    form.StartUp();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    form.isRunning = true;
    h.Pass();
    h.Key(platform::kKeyEscape);
    form.OnCloseRequest();
    EXPECT_TRUE(form.isRunning);

    h.Click(600, 100);  // the Djur sub-menu, its focus past the hidden first item
    EXPECT_EQ(form.subMenuFocus, 1);
    h.Pass();
    h.Click(300, 130);  // the second item: its film starts at once, three times as slow
    h.Pass();
    ASSERT_EQ(form.requestedScreen, 6);
    h.Pass();
    EXPECT_EQ(form.filmDeadline - GameUtil::GetMilliseconds(), 300);
    h.Key(platform::kKeyDelete, platform::kShiftCtrl);
    EXPECT_FALSE(form.isRunning);
}

}  // namespace
