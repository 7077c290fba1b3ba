#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "content/millisecond_clock.h"
#include "content/random_numbers.h"
#include "display/display_objects.h"
#include "sound/dsound.h"
#include "support/activity_scene.h"

namespace {

using testing_support::ActivityScene;
using testing_support::ColourIndexOf;

constexpr char kComplexSeries[] = "Item\\Komplex\\Byggupp\\";
constexpr char kSimpleSeries[] = "Item\\Enkel\\Byggupp\\";
constexpr char kSettingsWrite[] = "Quillowbee/Settings/movieOnHd=False";
constexpr int16_t kItem = 9;

// Picture n of the complex series is colour 26 - n, of the simple series 13 - n; the
// hard-disk copy of the complex series is colour n.
int32_t Complex(int32_t n) {
    return 26 - n;
}
int32_t Simple(int32_t n) {
    return 13 - n;
}
int32_t HardDisk(int32_t n) {
    return n;
}
// A colour no build-up picture has, to see that nothing was drawn over it.
constexpr int32_t kUntouched = 15;

std::string Local(const std::string& folder, int32_t n) {
    return "local:Item/" + folder + "/Byggupp/" + testing_support::PictureFileName(n);
}
std::string OnHardDisk(int32_t n) {
    return "hd:Item/Komplex/Byggupp/" + testing_support::PictureFileName(n);
}

class BuildUpTest : public ::testing::Test {
  protected:
    ActivityScene scene;
    MainMenuForm& form = scene.form;

    void SetUp() override {
        scene.WriteSeries(kComplexSeries, 10, Complex(0), -1);
        scene.WriteSeries(kSimpleSeries, 10, Simple(0), -1);
        form.currentScreen = Screen::kBuildUp;
        form.requestedScreen = Screen::kBuildUp;
        form.settings.keyDelay = 500;
    }

    // Item 9 with a build-up whose last picture is `last` in both sets, the build-up started.
    void Start(int16_t steps, int16_t last, bool reverse = false, bool simple = false) {
        scene.SetItem(kItem, last, last, {100});
        form.settings.buildUpSteps = steps;
        form.settings.reversePlay = reverse;
        form.settings.simpleContent = simple;
        form.requestedScreen = Screen::kBuildUp;
        form.buildUpStride = 1;  // as the film loader leaves it
        form.StartBuildUp();
    }

    // One key press after waiting `wait` milliseconds; the sounds it played.
    std::vector<int16_t> Press(int64_t wait) {
        scene.platform.counter.AdvanceMs(wait);
        const size_t plays = scene.platform.sound.plays.size();
        form.StepBuildUp();
        return scene.SoundsSince(plays);
    }

    static bool IsOneBuildUpSound(const std::vector<int16_t>& sounds) {
        return sounds.size() == 1 && sounds[0] >= DSound::kFirstBuildSound &&
               sounds[0] <= DSound::kLastBuildSound;
    }
};

TEST_F(BuildUpTest, SeriesRunsThroughItsModesAndHandsOverToTheFilm) {
    struct Case {
        const char* name;
        int16_t steps;
        int16_t last;
        bool reverse;
        bool simple;
        int64_t wait;
        std::vector<int32_t> shown;  // after the set-up, then after each step
        size_t filmAfterStep;
        int16_t stride;
    };
    const Case cases[] = {
        {"ten steps forwards", 10, 3, false, false, 501, {0, 1, 2, 3, 3}, 4, 1},
        {"ten steps backwards", 10, 3, true, false, 501, {3, 2, 1, 0, 0}, 4, 1},
        {"ten steps, simple set", 10, 3, false, true, 501, {0, 1, 2, 3, 3}, 4, 1},
        {"ten steps of one picture", 10, 0, false, false, 0, {0, 0}, 1, 1},
        {"four steps of 11 pictures", 4, 10, false, false, 501, {0, 2, 4, 6, 8}, 4, 2},
        {"four steps of 11 pictures backwards", 4, 10, true, false, 501, {10, 8, 6, 4, 2}, 4, 2},
        {"four steps of 7 pictures", 4, 6, false, false, 501, {0, 2, 4, 6, 6}, 4, 2},
        {"four steps of 3 pictures", 4, 2, false, false, 501, {0, 1, 2, 2}, 3, 1},
        {"two steps", 2, 8, false, false, 0, {0, 8, 8}, 2, 8},
        {"two steps backwards", 2, 8, true, false, 0, {8, 0, 0}, 2, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Start(c.steps, c.last, c.reverse, c.simple);
        EXPECT_EQ(form.buildUpStride, c.stride);
        std::vector<int32_t> shown = {scene.PresentedColour()};
        for (size_t step = 1; step <= c.filmAfterStep; ++step) {
            SCOPED_TRACE(testing::Message() << "step " << step);
            EXPECT_EQ(form.requestedScreen, Screen::kBuildUp);
            EXPECT_TRUE(IsOneBuildUpSound(Press(c.wait)));
            EXPECT_EQ(form.buildUpStepsTaken, static_cast<int16_t>(step));
            shown.push_back(scene.PresentedColour());
        }
        EXPECT_EQ(form.requestedScreen, Screen::kFilm);
        std::vector<int32_t> expected;
        for (int32_t n : c.shown) {
            expected.push_back(c.simple ? Simple(n) : Complex(n));
        }
        EXPECT_EQ(shown, expected);
    }
}

TEST_F(BuildUpTest, LoadsOnePictureAheadAndNothingPastTheEnd) {
    struct Case {
        bool reverse;
        std::vector<std::vector<int32_t>> loads;  // by the set-up, then by each step
        std::vector<int16_t> indices;             // buildUpIndex after the set-up and each step
    };
    const Case cases[] = {
        {false, {{0, 1}, {2}, {3}, {}, {}}, {0, 1, 2, 3, -1}},
        {true, {{3, 2}, {1}, {0}, {}, {}}, {3, 2, 1, 0, -1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reverse ? "backwards" : "forwards");
        size_t before = scene.decoder->Paths().size();
        Start(10, 3, c.reverse);
        for (size_t step = 0; step < c.loads.size(); ++step) {
            SCOPED_TRACE(testing::Message() << "step " << step);
            if (step > 0) {
                before = scene.decoder->Paths().size();
                Press(501);
            }
            std::vector<std::string> expected;
            for (int32_t n : c.loads[step]) {
                expected.push_back(Local("Komplex", n));
            }
            EXPECT_EQ(scene.RequestedPictures(before), expected);
            EXPECT_EQ(form.buildUpIndex, c.indices[step]);
            if (c.loads[step].empty()) {
                EXPECT_FALSE(form.nextBuildUpPicture);
            } else {
                ASSERT_TRUE(form.nextBuildUpPicture);
                EXPECT_EQ(ColourIndexOf(form.nextBuildUpPicture->PixelAt(400, 300)),
                          Complex(c.loads[step].back()));
                EXPECT_EQ(form.nextBuildUpPicture->Width(), 800);
                EXPECT_EQ(form.nextBuildUpPicture->Height(), 600);
                EXPECT_EQ(form.nextBuildUpPicture->Caps(), 0x840);
            }
        }
    }
}

TEST_F(BuildUpTest, TwoStepsOfOnePictureNeverEndAndTheCountStopsAtItsLargestValue) {
    Start(2, 0);
    EXPECT_EQ(form.buildUpStride, 0);
    for (int step = 0; step < 4; ++step) {
        const size_t before = scene.decoder->Paths().size();
        EXPECT_TRUE(IsOneBuildUpSound(Press(0)));
        EXPECT_EQ(form.buildUpIndex, 0);
        EXPECT_EQ(scene.PresentedColour(), Complex(0));
        EXPECT_EQ(scene.RequestedPictures(before), (std::vector<std::string>{Local("Komplex", 0)}));
    }
    form.buildUpStepsTaken = 32766;
    Press(0);
    EXPECT_EQ(form.buildUpStepsTaken, 32767);
    Press(0);
    EXPECT_EQ(form.buildUpStepsTaken, 32767);
    EXPECT_EQ(form.requestedScreen, Screen::kBuildUp);
}

TEST_F(BuildUpTest, NoBuildUpGoesStraightToTheFilm) {
    scene.SetItem(kItem, 3, 3, {100});
    form.settings.buildUpSteps = 0;
    form.buildUpIndex = 2;
    form.stepTime = 777;
    const int presents = scene.platform.display.presents;

    form.StartBuildUp();

    EXPECT_EQ(form.requestedScreen, Screen::kFilm);
    EXPECT_TRUE(scene.decoder->Paths().empty());
    EXPECT_FALSE(form.buildUpPicture);
    EXPECT_EQ(scene.platform.display.presents, presents);
    EXPECT_EQ(form.buildUpIndex, 2);
    EXPECT_EQ(form.stepTime, 777);
}

TEST_F(BuildUpTest, EnteringTheActivityLoadsTheFilmThenShowsTheFirstPicture) {
    scene.WriteSeries("Item\\Komplex\\Film\\", 2, 0, 1);
    struct Case {
        int16_t steps;
        std::vector<std::string> requested;
        int16_t requestedScreen;
    };
    const Case cases[] = {
        {10,
         {"local:Item/Komplex/Film/01.jpg", "local:Item/Komplex/Film/02.jpg",
          "local:Item/Komplex/Film/03.jpg", Local("Komplex", 0), Local("Komplex", 1)},
         Screen::kBuildUp},
        {0,
         {"local:Item/Komplex/Film/01.jpg", "local:Item/Komplex/Film/02.jpg",
          "local:Item/Komplex/Film/03.jpg"},
         Screen::kFilm},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.steps);
        scene.SetItem(kItem, 3, 3, {100, 100, 100});
        form.settings.buildUpSteps = c.steps;
        form.requestedScreen = Screen::kBuildUp;
        scene.FillBackBuffer(kUntouched);
        const size_t before = scene.decoder->Paths().size();

        form.EnterScreen();

        EXPECT_EQ(scene.RequestedPictures(before), c.requested);
        EXPECT_EQ(form.requestedScreen, c.requestedScreen);
        EXPECT_EQ(form.filmPictures.size(), 3u);
        EXPECT_FALSE(form.isBusy);
        if (c.steps != 0) {
            EXPECT_EQ(scene.PresentedColour(), Complex(0));
            EXPECT_EQ(form.stepTime, scene.Now());
            EXPECT_EQ(form.buildUpStepsTaken, 0);
        }
    }
}

TEST_F(BuildUpTest, PressWithinTheKeyDelayInTheMiddleDoesNothingAtAll) {
    struct Case {
        bool reverse;
        int16_t keyDelay;
    };
    for (const Case& c : {Case{false, 500}, Case{true, 500}, Case{false, 2500}}) {
        SCOPED_TRACE(testing::Message() << (c.reverse ? "backwards " : "forwards ") << c.keyDelay);
        form.settings.keyDelay = c.keyDelay;
        Start(10, 3, c.reverse);
        const int16_t first = form.buildUpIndex;
        // At the first picture the step needs no waiting.
        EXPECT_TRUE(IsOneBuildUpSound(Press(0)));
        const int16_t middle = form.buildUpIndex;
        ASSERT_NE(middle, first);
        const int32_t stepTime = form.stepTime;
        const int presents = scene.platform.display.presents;
        const Surface* ahead = form.nextBuildUpPicture.get();
        const size_t loads = scene.decoder->Paths().size();

        EXPECT_TRUE(Press(c.keyDelay).empty());
        EXPECT_EQ(form.buildUpIndex, middle);
        EXPECT_EQ(form.stepTime, stepTime);
        EXPECT_EQ(scene.platform.display.presents, presents);
        EXPECT_EQ(form.nextBuildUpPicture.get(), ahead);
        EXPECT_EQ(scene.decoder->Paths().size(), loads);
        EXPECT_EQ(form.buildUpStepsTaken, 1);

        EXPECT_TRUE(IsOneBuildUpSound(Press(1)));
        EXPECT_NE(form.buildUpIndex, middle);
        EXPECT_EQ(form.stepTime, scene.Now());

        EXPECT_TRUE(Press(1).empty());
        EXPECT_TRUE(IsOneBuildUpSound(Press(c.keyDelay)));
        // At the last picture of the series the step needs no waiting either.
        ASSERT_EQ(form.buildUpIndex, c.reverse ? 0 : 3);
        EXPECT_TRUE(IsOneBuildUpSound(Press(0)));
        EXPECT_EQ(form.requestedScreen, Screen::kFilm);
    }
}

TEST_F(BuildUpTest, PacingHoldsAcrossTheThirtyTwoBitTurnOfTheClock) {
    scene.platform.counter.SetMs(2147483647LL - 200);
    Start(10, 3);
    Press(0);
    ASSERT_EQ(form.buildUpIndex, 1);
    Press(500);
    ASSERT_LT(scene.Now(), 0);  // the reading has turned
    EXPECT_EQ(form.buildUpIndex, 1);
    Press(1);
    EXPECT_EQ(form.buildUpIndex, 2);
    EXPECT_EQ(form.stepTime, scene.Now());
}

TEST_F(BuildUpTest, SoundIsDrawnFromTheClockReadRightBeforeTheStep) {
    Start(10, 3);
    const int32_t at = scene.Now();
    const std::vector<int16_t> first = Press(0);
    ASSERT_TRUE(IsOneBuildUpSound(first));

    for (int32_t seed : {1, 99, 123456}) {
        Start(10, 3);
        GameUtil::SeedRandom(seed);
        GameUtil::RandomBetween(1, 1000);
        scene.platform.counter.SetMs(at);
        EXPECT_EQ(Press(0), first) << seed;
    }
}

TEST_F(BuildUpTest, MissingPictureAtTheSetUpIsRetriedOnceAndTheSeriesStillReachesTheFilm) {
    struct Case {
        int32_t missing;
        std::vector<std::string> requested;
        int presents;
        std::vector<int32_t> shown;  // after each step
    };
    const Case cases[] = {
        {0,
         {Local("Komplex", 0), Local("Komplex", 0)},
         0,
         {kUntouched, Complex(2), Complex(3), Complex(3)}},
        {1,
         {Local("Komplex", 0), Local("Komplex", 1), Local("Komplex", 0), Local("Komplex", 1)},
         2,
         {Complex(0), Complex(2), Complex(3), Complex(3)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.missing);
        scene.WriteSeries(kComplexSeries, 10, Complex(0), -1);
        scene.RemovePicture(kComplexSeries, c.missing);
        scene.platform.settings.writes.clear();
        scene.FillBackBuffer(kUntouched);
        form.stepTime = 4242;
        form.buildUpStepsTaken = 7;
        const int presents = scene.platform.display.presents;
        const size_t before = scene.decoder->Paths().size();

        Start(10, 3);

        EXPECT_EQ(scene.RequestedPictures(before), c.requested);
        EXPECT_EQ(scene.platform.display.presents - presents, c.presents);
        EXPECT_FALSE(form.buildUpPicture);
        EXPECT_FALSE(form.nextBuildUpPicture);
        EXPECT_EQ(form.stepTime, 4242);
        EXPECT_EQ(form.buildUpStepsTaken, 7);
        EXPECT_EQ(scene.SettingsWrites(),
                  (std::vector<std::string>{kSettingsWrite, kSettingsWrite}));

        form.stepTime = scene.Now();
        std::vector<int32_t> shown;
        for (size_t step = 0; step < c.shown.size(); ++step) {
            EXPECT_TRUE(IsOneBuildUpSound(Press(501)));
            shown.push_back(scene.PresentedColour());
        }
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(form.requestedScreen, Screen::kFilm);
        EXPECT_EQ(scene.SettingsWrites().size(), 2u);
    }
}

TEST_F(BuildUpTest, MissingPictureDuringTheStepsHoldsThePictureShownUntilTheNextOne) {
    struct Case {
        int32_t missing;
        std::vector<std::vector<int32_t>> loads;  // by each step
        std::vector<int32_t> shown;               // after each step
        std::vector<int16_t> stepsTaken;          // after each step
    };
    const Case cases[] = {
        {2, {{2, 2}, {3}, {}, {}}, {1, 1, 3, 3}, {0, 1, 2, 3}},
        {3, {{2}, {3, 3}, {}, {}}, {1, 2, 2, 2}, {1, 1, 2, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.missing);
        scene.WriteSeries(kComplexSeries, 10, Complex(0), -1);
        scene.RemovePicture(kComplexSeries, c.missing);
        scene.platform.settings.writes.clear();
        Start(10, 3);
        ASSERT_EQ(scene.PresentedColour(), Complex(0));

        for (size_t step = 0; step < c.loads.size(); ++step) {
            SCOPED_TRACE(testing::Message() << "step " << step + 1);
            const size_t before = scene.decoder->Paths().size();
            EXPECT_TRUE(IsOneBuildUpSound(Press(501)));
            std::vector<std::string> expected;
            for (int32_t n : c.loads[step]) {
                expected.push_back(Local("Komplex", n));
            }
            EXPECT_EQ(scene.RequestedPictures(before), expected);
            EXPECT_EQ(scene.PresentedColour(), Complex(c.shown[step]));
            EXPECT_EQ(form.buildUpStepsTaken, c.stepsTaken[step]);
            EXPECT_TRUE(form.buildUpPicture);  // the failure releases nothing
        }
        EXPECT_EQ(form.requestedScreen, Screen::kFilm);
        EXPECT_EQ(scene.SettingsWrites(),
                  (std::vector<std::string>{kSettingsWrite, kSettingsWrite}));
        EXPECT_FALSE(form.settings.movieOnHd);
    }
}

TEST_F(BuildUpTest, HardDiskCopyIsReadWhileMovieOnHdAndTheRetryReadsBesideTheProgram) {
    struct Case {
        const char* name;
        bool writeHardDisk;
        int32_t removeFromHardDisk;  // -1: none
        std::vector<std::string> startLoads;
        std::vector<std::string> stepLoads;
        std::vector<int32_t> shown;  // after the set-up and two steps
        size_t writes;
    };
    const Case cases[] = {
        {"complete copy",
         true,
         -1,
         {OnHardDisk(0), OnHardDisk(1)},
         {OnHardDisk(2)},
         {HardDisk(0), HardDisk(1), HardDisk(2)},
         0},
        {"no copy",
         false,
         -1,
         {OnHardDisk(0), Local("Komplex", 0), Local("Komplex", 1)},
         {Local("Komplex", 2)},
         {Complex(0), Complex(1), Complex(2)},
         1},
        {"third picture missing from the copy",
         true,
         2,
         {OnHardDisk(0), OnHardDisk(1)},
         {OnHardDisk(2), Local("Komplex", 2)},
         {HardDisk(0), HardDisk(1), Complex(2)},
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(scene.dir.Path() / "data-home");
        std::filesystem::remove_all(scene.dir.Path() / "C:");
        if (c.writeHardDisk) {
            scene.WriteSeries(kComplexSeries, 3, HardDisk(0), 1, true);
        }
        if (c.removeFromHardDisk >= 0) {
            scene.RemovePicture(kComplexSeries, c.removeFromHardDisk, true);
        }
        scene.platform.settings.writes.clear();
        form.settings.movieOnHd = true;
        size_t before = scene.decoder->Paths().size();

        Start(10, 3);
        std::vector<int32_t> shown = {scene.PresentedColour()};
        EXPECT_EQ(scene.RequestedPictures(before), c.startLoads);

        before = scene.decoder->Paths().size();
        Press(501);
        shown.push_back(scene.PresentedColour());
        EXPECT_EQ(scene.RequestedPictures(before), c.stepLoads);
        Press(501);
        shown.push_back(scene.PresentedColour());

        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(scene.SettingsWrites().size(), c.writes);
        EXPECT_EQ(form.settings.movieOnHd, c.writes == 0);
    }
}

TEST_F(BuildUpTest, DisplayLossRestartsTheBuildUpFromItsFirstPicture) {
    if (!scene.RecoveryBuilt()) {
        GTEST_SKIP() << "the display-loss recovery (RecoverLostDisplay) is not built in this tree";
    }
    scene.WriteMenuPictures();
    scene.WriteSeries("Item\\Komplex\\Film\\", 0, 0, 1);
    Start(10, 3);
    Press(0);
    Press(501);
    ASSERT_EQ(form.buildUpIndex, 2);
    scene.platform.display.lost = true;
    scene.platform.window.onYield = [&] { scene.platform.display.lost = false; };

    scene.harness.Pass();

    EXPECT_EQ(form.currentScreen, Screen::kBuildUp);
    EXPECT_EQ(form.requestedScreen, Screen::kBuildUp);
    EXPECT_EQ(form.buildUpIndex, 0);
    EXPECT_EQ(form.buildUpStepsTaken, 0);
    EXPECT_EQ(scene.PresentedColour(), Complex(0));
    ASSERT_TRUE(form.nextBuildUpPicture);
    EXPECT_EQ(ColourIndexOf(form.nextBuildUpPicture->PixelAt(400, 300)), Complex(1));
    ASSERT_EQ(form.filmPictures.size(), 1u);
    EXPECT_TRUE(form.filmPictures[0]);
}

TEST(BuildUpSteps, NextIndexIsOneStrideOnOrMinusOnePastTheSeries) {
    testing_support::FormHarness harness;
    MainMenuForm& form = harness.form;
    struct Case {
        bool reverse;
        int16_t index;
        int16_t stride;
        int16_t last;
        int16_t next;
    };
    const Case cases[] = {
        {false, 0, 1, 3, 1},   {false, 2, 1, 3, 3}, {false, 3, 1, 3, -1}, {false, 8, 2, 10, 10},
        {false, 9, 2, 10, -1}, {false, 0, 0, 0, 0}, {false, 0, 8, 8, 8},  {false, 8, 8, 8, -1},
        {true, 3, 1, 3, 2},    {true, 1, 1, 3, 0},  {true, 0, 1, 3, -1},  {true, 2, 2, 10, 0},
        {true, 1, 2, 10, -1},  {true, 8, 8, 8, 0},  {true, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        form.settings.reversePlay = c.reverse;
        form.buildUpIndex = c.index;
        form.buildUpStride = c.stride;
        form.buildUpLast = c.last;
        EXPECT_EQ(form.NextBuildUpIndex(), c.next)
            << (c.reverse ? "backwards " : "forwards ") << c.index << " + " << c.stride;
        EXPECT_EQ(form.buildUpIndex, c.index);
    }
}

}  // namespace
