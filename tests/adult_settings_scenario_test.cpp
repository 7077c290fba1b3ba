// Each setting reaches what the child sees: the whole start-up on a small content pack, with the
// setting given in the user's settings file.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "content/millisecond_clock.h"
#include "support/form_harness.h"
#include "support/mini_pack.h"
#include "support/test_files.h"

namespace {

using testing_support::FormHarness;
using testing_support::MenuColour;
using testing_support::PixelMatches;

// The program started with a settings file, on the main menu after its first pass.
struct Started {
    explicit Started(const std::string& settings) : cwd(testing_support::SharedMiniPack()) {
        h.platform.settings.files = {{"settings.ini", "[Settings]\n" + settings, ""}};
        h.platform.counter.SetMs(1000000);
        ::testing::internal::CaptureStderr();
        h.form.StartUp();
        errors = ::testing::internal::GetCapturedStderr();
        h.form.isRunning = true;
        h.Pass();
    }

    testing_support::ScopedCurrentDir cwd;
    FormHarness h;
    MainMenuForm& form = h.form;
    std::string errors;
};

struct Scenario {
    const char* name;
    std::string settings;  // the [Settings] lines of the user's file
    std::function<void(Started&)> check;
};

void ExitLocked(Started& r) {
    EXPECT_TRUE(PixelMatches(r.h.platform.display.PixelAt(765, 565),
                             MenuColour("Grafik\\Meny\\StoppLapp.jpg")))
        << "no stop note";
    r.h.Key(platform::kKeyEscape);
    r.h.Click(760, 560);
    r.form.OnCloseRequest();
    EXPECT_TRUE(r.form.isRunning);
    r.h.Key(platform::kKeyDelete, platform::kShiftCtrl);
    EXPECT_FALSE(r.form.isRunning);
}

void FirstDjurItemHidden(Started& r) {
    r.h.Click(600, 100);
    EXPECT_EQ(r.form.subMenuFocus, 1);
    EXPECT_EQ(r.h.platform.window.pointer, (platform::Point{305, 130}));
    r.h.Pass();
    EXPECT_TRUE(
        PixelMatches(r.h.platform.display.PixelAt(100, 200), testing_support::NoteColour(3, 0)))
        << "no note over the hidden item";
    r.h.Click(110, 130);
    EXPECT_EQ(r.form.requestedScreen, 4);
    for (int space = 0; space < 7; ++space) {
        r.h.Key(platform::kKeySpace);
        EXPECT_NE(r.form.subMenuFocus, 0);
    }
    EXPECT_EQ(r.form.subMenuFocus, 1);
}

// A few settings followed end to end; each setting's effect is checked where it is applied.
TEST(SettingsScenarioTest, EachSettingIsSeenInTheProgram) {
    const Scenario scenarios[] = {
        {"the exit lock", "exitLocked=True\n", ExitLocked},
        {"a hidden item from the file", "disabledItems=Djur:Sak0\n", FirstDjurItemHidden},
        {"a slow film", "buildUpSteps=0\nfilmDelayFactor=3.0\n",
         [](Started& r) {
             for (const platform::Point at :
                  {platform::Point{600, 100}, platform::Point{110, 130}}) {
                 r.h.Click(at.x, at.y);  // the Djur sub-menu, its first item
                 r.h.Pass();
             }
             ASSERT_EQ(r.form.requestedScreen, 6) << "the film does not start at once";
             r.h.Pass();
             EXPECT_EQ(r.form.filmDeadline - GameUtil::GetMilliseconds(), 300);
         }},
    };
    for (const Scenario& s : scenarios) {
        SCOPED_TRACE(s.name);
        Started run(s.settings);
        EXPECT_EQ(run.errors, "");
        s.check(run);
    }
}

}  // namespace
