// Each setting reaches what the child sees: the whole start-up on a small content pack, with the
// setting given in the user's settings file.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "content/millisecond_clock.h"
#include "support/form_harness.h"
#include "support/mini_pack.h"
#include "support/test_files.h"

namespace {

using testing_support::ActivityColour;
using testing_support::FormHarness;
using testing_support::MenuColour;
using testing_support::PixelMatches;

// The program started with a settings file, on the main menu after its first pass.
struct Started {
    Started(const std::filesystem::path& pack, const std::string& settings) : cwd(pack) {
        h.platform.settings.files = {{"settings.ini", "[Settings]\n" + settings, ""}};
        h.platform.counter.SetMs(1000000);
        ::testing::internal::CaptureStderr();
        h.form.StartUp();
        errors = ::testing::internal::GetCapturedStderr();
        h.form.isRunning = true;
        h.Pass();
    }
    void Later(int ms) { h.platform.counter.AdvanceMs(ms); }
    // Opens the Djur sub-menu and clicks on the entry of `slot`; the next pass enters it.
    void ChooseDjur(int slot) {
        h.Click(600, 100);
        h.Pass();
        h.Click(110 + 195 * (slot % 4), slot < 4 ? 130 : 370);
        h.Pass();
    }
    bool Shows(testing_support::Rgb colour) {
        return PixelMatches(h.platform.display.PixelAt(400, 300), colour);
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
    std::optional<testing_support::MiniPackOptions> pack = std::nullopt;  // a pack of its own
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

void FilmDeadlineIn(Started& r, int ms) {
    r.ChooseDjur(0);
    ASSERT_EQ(r.form.requestedScreen, 6) << "the film does not start at once";
    r.h.Pass();
    EXPECT_EQ(r.form.currentScreen, 6);
    EXPECT_EQ(r.form.filmDeadline - GameUtil::GetMilliseconds(), ms);
}

TEST(SettingsScenarioTest, EachSettingIsSeenInTheProgram) {
    // The build-up shows `pictures`, one a step; the step after the last (`more` 0) or the one
    // that shows it (`more` -1) asks for the film.
    const auto built = [](std::vector<int> pictures, int more) {
        return [pictures, more](Started& r) {
            r.ChooseDjur(0);
            for (size_t i = 0; i < pictures.size() + static_cast<size_t>(more); ++i) {
                if (i < pictures.size()) {
                    EXPECT_TRUE(r.Shows(ActivityColour(24, "Komplex\\Byggupp\\", pictures[i])));
                }
                EXPECT_EQ(r.form.requestedScreen, 5);
                r.Later(600);
                r.h.Key(platform::kKeySpace);
            }
            EXPECT_EQ(r.form.requestedScreen, 6);
            EXPECT_TRUE(r.Shows(ActivityColour(24, "Komplex\\Byggupp\\", pictures.back())));
        };
    };
    const Scenario scenarios[] = {
        {"the exit lock", "exitLocked=True\n", ExitLocked},
        {"an escape lock keeps the child in the build-up", "escapeLocks=4\n",
         [](Started& r) {
             r.ChooseDjur(0);
             r.Later(4000);
             r.h.Key(platform::kKeyEscape);
             r.h.Pass();
             EXPECT_EQ(r.form.currentScreen, 5);
         }},
        {"the key delay paces the steps", "keyDelay=2000\n",
         [](Started& r) {
             r.ChooseDjur(0);
             for (const auto& [later, index] : {std::pair{0, 1}, {1500, 1}, {600, 2}}) {
                 r.Later(later);
                 r.h.Key(platform::kKeySpace);
                 EXPECT_EQ(r.form.buildUpIndex, index);
             }
         }},
        {"a hidden item from the file", "disabledItems=Djur:Sak0\n", FirstDjurItemHidden},
        {"no build-up", "buildUpSteps=0\n", [](Started& r) { FilmDeadlineIn(r, 100); }},
        {"a build-up of first and last", "buildUpSteps=2\n", built({0, 3}, 0)},
        {"a build-up of four steps", "buildUpSteps=4\n", built({0, 2, 4, 6, 8}, -1),
         testing_support::MiniPackOptions{.complexLast = 10}},
        {"the simple pictures", "simpleContent=True\n",
         [](Started& r) {
             r.ChooseDjur(2);
             EXPECT_TRUE(r.Shows(ActivityColour(26, "Enkel\\Byggupp\\", 0)));
         }},
        {"backwards", "reversePlay=True\n",
         [](Started& r) {
             r.ChooseDjur(0);
             EXPECT_TRUE(r.Shows(ActivityColour(24, "Komplex\\Byggupp\\", 3)));
             EXPECT_EQ(r.form.filmIndex, 3);
         }},
        {"a film that ends by itself", "buildUpSteps=0\nfilmRepeats=2\n",
         [](Started& r) {
             r.ChooseDjur(0);
             for (int pass = 0; pass < 400 && r.form.currentScreen != 4; ++pass) {
                 r.Later(50);
                 r.h.Pass();
             }
             EXPECT_EQ(r.form.currentScreen, 4) << "the film did not end";
             EXPECT_EQ(r.form.filmPasses, 2);
         }},
        {"a slow film", "buildUpSteps=0\nfilmDelayFactor=3.0\n",
         [](Started& r) { FilmDeadlineIn(r, 300); }},
        {"a fast film", "buildUpSteps=0\nfilmDelayFactor=fast\n",
         [](Started& r) { FilmDeadlineIn(r, 33); }},
    };
    for (const Scenario& s : scenarios) {
        SCOPED_TRACE(s.name);
        std::unique_ptr<testing_support::TempDir> ownPack;
        if (s.pack) {
            ownPack = std::make_unique<testing_support::TempDir>();
            testing_support::WriteMiniPack(ownPack->Path(), *s.pack);
        }
        Started run(ownPack ? ownPack->Path() : testing_support::SharedMiniPack(), s.settings);
        EXPECT_EQ(run.errors, "");
        s.check(run);
    }
}

}  // namespace
