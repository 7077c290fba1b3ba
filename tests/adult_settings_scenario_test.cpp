// The user's settings file is read at start-up; what each value does is shown where it acts.
#include <gtest/gtest.h>

#include <tuple>

#include "support/form_harness.h"
#include "support/mini_pack.h"
#include "support/test_files.h"

namespace {

TEST(SettingsScenarioTest, StartUpReadsTheUsersFile) {
    testing_support::ScopedCurrentDir cwd(testing_support::SharedMiniPack());
    testing_support::FormHarness h;
    h.platform.settings.files = {{"settings.ini",
                                  "[Settings]\nexitLocked=True\ndisabledItems=Djur:Sak0\n"
                                  "buildUpSteps=0\nfilmDelayFactor=3.0\n",
                                  ""}};
    ::testing::internal::CaptureStderr();
    h.form.StartUp();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    const ChoiceSettings& s = h.form.settings;
    EXPECT_EQ(std::tuple(s.exitLocked, s.itemEnabled[24], s.itemEnabled[25], s.buildUpSteps,
                         s.filmDelayFactor),
              std::tuple(true, false, true, int16_t{0}, 3.0));
}

}  // namespace
