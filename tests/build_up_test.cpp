// The build-up: its modes, pacing, loading one picture ahead, and its missing pictures.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "display/display_objects.h"
#include "sound/dsound.h"
#include "support/activity_scene.h"

namespace testing_support {
namespace {

constexpr char kComplexSeries[] = "Item\\Komplex\\Byggupp\\";
constexpr int32_t kUntouched = 15;  // a colour no build-up picture has

// Picture n of the complex series is colour 26 - n, of the simple series 13 - n; the hard-disk
// copy of the complex series is colour n.
constexpr auto Complex = [](int32_t n) { return 26 - n; };

std::vector<std::string> Locals(const std::vector<int32_t>& numbers, const char* set = "Komplex") {
    std::vector<std::string> paths;
    for (int32_t n : numbers)
        paths.push_back(std::string("local:Item/") + set + "/Byggupp/" + PictureFileName(n));
    return paths;
}

class BuildUpTest : public ::testing::Test {
  protected:
    ActivityScene scene;
    MainMenuForm& form = scene.form;

    BuildUpTest() {
        scene.WriteSeries(kComplexSeries, 10, Complex(0), -1);
        scene.WriteSeries("Item\\Enkel\\Byggupp\\", 10, 13, -1);
        form.currentScreen = Screen::kBuildUp;
        form.settings.keyDelay = 500;
    }

    // Item 9 with a build-up whose last picture is `last` in both sets, the build-up started.
    void Start(int16_t steps, int16_t last, bool reverse = false, bool simple = false) {
        scene.SetItem(9, last, last, {100});
        form.settings.buildUpSteps = steps;
        form.settings.reversePlay = reverse;
        form.settings.simpleContent = simple;
        form.requestedScreen = Screen::kBuildUp;
        form.buildUpStride = 1;  // as the film loader leaves it
        form.StartBuildUp();
    }

    // One key press after waiting `wait` ms; true when it stepped with one build-up sound.
    bool Press(int64_t wait) {
        scene.platform.counter.AdvanceMs(wait);
        const size_t plays = scene.platform.sound.plays.size();
        form.StepBuildUp();
        const std::vector<int16_t> sounds = scene.SoundsSince(plays);
        EXPECT_LE(sounds.size(), 1u);
        for (int16_t s : sounds)
            EXPECT_TRUE(s >= DSound::kFirstBuildSound && s <= DSound::kLastBuildSound) << s;
        return !sounds.empty();
    }
};

TEST_F(BuildUpTest, ModesStridesAndTheHandOverToTheFilm) {
    // clang-format off
    const struct {
        const char* name;
        int16_t steps, last;
        bool reverse, simple;
        int16_t stride;
        std::vector<int32_t> shown;  // picture numbers after the set-up, then after each step
        std::vector<int32_t> loads;  // every picture read, in order
    } cases[] = {
        {"every picture", 10, 3, false, false, 1, {0, 1, 2, 3, 3}, {0, 1, 2, 3}},
        {"simple set", 10, 3, false, true, 1, {0, 1, 2, 3, 3}, {0, 1, 2, 3}},
        {"one picture", 10, 0, false, false, 1, {0, 0}, {0}},
        // Four steps: the stride is a quarter of the last number, halves rounded to even.
        {"four steps of 11", 4, 10, false, false, 2, {0, 2, 4, 6, 8}, {0, 2, 4, 6, 8, 10}},
        {"four steps of 11 backwards", 4, 10, true, false, 2, {10, 8, 6, 4, 2}, {10, 8, 6, 4, 2, 0}},
        {"four steps of 7", 4, 6, false, false, 2, {0, 2, 4, 6, 6}, {0, 2, 4, 6}},
        {"four steps of 3", 4, 2, false, false, 1, {0, 1, 2, 2}, {0, 1, 2}},
        {"first and last", 2, 8, false, false, 8, {0, 8, 8}, {0, 8}},
        {"none", 0, 3, false, false, 1, {}, {}},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const size_t before = scene.decoder->Paths().size();
        scene.FillBackBuffer(kUntouched);
        Start(c.steps, c.last, c.reverse, c.simple);
        EXPECT_EQ(form.buildUpStride, c.stride);
        std::vector<int32_t> shown;
        for (size_t step = 0; step < c.shown.size(); ++step) {
            if (step > 0) {
                EXPECT_EQ(form.requestedScreen, Screen::kBuildUp);
                EXPECT_TRUE(Press(501));
                EXPECT_EQ(form.buildUpStepsTaken, static_cast<int16_t>(step));
            }
            shown.push_back(c.simple ? 13 - scene.PresentedColour() : 26 - scene.PresentedColour());
        }
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(form.requestedScreen, Screen::kFilm);
        EXPECT_EQ(scene.RequestedPictures(before), Locals(c.loads, c.simple ? "Enkel" : "Komplex"));
    }
}

TEST_F(BuildUpTest, TwoStepsOfOnePictureNeverEndAndTheCountStopsAtItsTop) {
    Start(2, 0);
    EXPECT_EQ(form.buildUpStride, 0);
    for (int step = 0; step < 3; ++step) EXPECT_TRUE(Press(0) && form.buildUpIndex == 0) << step;
    form.buildUpStepsTaken = 32766;
    Press(0), Press(0);
    EXPECT_EQ(form.buildUpStepsTaken, 32767);
    EXPECT_EQ(form.requestedScreen, Screen::kBuildUp);
}

// In the middle a step needs more than the key delay since the last; at either end none.
TEST_F(BuildUpTest, KeyDelayPacesTheStepsInTheMiddleOnly) {
    for (int64_t start : {1000000LL, 2147483647LL - 200}) {
        for (const bool reverse : {false, true}) {
            SCOPED_TRACE(testing::Message() << start << (reverse ? " backwards" : " forwards"));
            scene.platform.counter.SetMs(start);
            Start(10, 3, reverse);
            EXPECT_TRUE(Press(0));  // from the first picture
            const auto state = [&] {
                return std::tuple(form.buildUpIndex, form.stepTime, scene.decoder->Paths().size());
            };
            const auto middle = state();
            EXPECT_FALSE(Press(500));
            EXPECT_EQ(state(), middle);
            EXPECT_TRUE(Press(1));
            EXPECT_EQ(form.stepTime, scene.Now());
            EXPECT_TRUE(Press(501));
            ASSERT_EQ(form.buildUpIndex, reverse ? 0 : 3);
            EXPECT_TRUE(Press(0));  // from the last picture
            EXPECT_EQ(form.requestedScreen, Screen::kFilm);
        }
    }
}

// A missing picture is read once more (movieOnHd as for the film); the series reaches the film
// whatever is missing, the picture shown holding until the next one.
TEST_F(BuildUpTest, AMissingPictureIsRetriedOnceAndTheSeriesStillReachesTheFilm) {
    const auto L = [](int32_t n) { return Locals({n})[0]; };  // beside the program
    const auto H = [](int32_t n) { return "hd:Item/Komplex/Byggupp/" + PictureFileName(n); };
    // clang-format off
    const struct {
        const char* name;
        bool movieOnHd, copy;
        int32_t missing, missingFromCopy;  // -1: none
        std::vector<std::string> startLoads;
        std::vector<int32_t> shown;  // after each step
        std::vector<std::string> stepLoads;
        size_t writes;
    } cases[] = {
        // At the set-up nothing is kept, and the steps go on without a picture ahead.
        {"first missing", false, false, 0, -1, {L(0), L(0)}, {kUntouched, Complex(2), Complex(3), Complex(3)}, {L(2), L(3)}, 2},
        {"second missing", false, false, 1, -1, {L(0), L(1), L(0), L(1)}, {Complex(0), Complex(2), Complex(3), Complex(3)}, {L(2), L(3)}, 2},
        {"third missing", false, false, 2, -1, {L(0), L(1)}, {Complex(1), Complex(1), Complex(3), Complex(3)}, {L(2), L(2), L(3)}, 2},
        {"last missing", false, false, 3, -1, {L(0), L(1)}, {Complex(1), Complex(2), Complex(2), Complex(2)}, {L(2), L(3), L(3)}, 2},
        {"complete copy", true, true, -1, -1, {H(0), H(1)}, {1, 2, 3, 3}, {H(2), H(3)}, 0},
        {"no copy", true, false, -1, -1, {H(0), L(0), L(1)}, {Complex(1), Complex(2), Complex(3), Complex(3)}, {L(2), L(3)}, 1},
        {"third missing from the copy", true, true, -1, 2, {H(0), H(1)}, {1, Complex(2), Complex(3), Complex(3)}, {H(2), L(2), L(3)}, 1},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const char* copy : {"data-home", "C:"})
            std::filesystem::remove_all(scene.dir.Path() / copy);
        if (c.copy) scene.WriteSeries(kComplexSeries, 3, 0, 1, true);
        if (c.missingFromCopy >= 0) scene.RemovePicture(kComplexSeries, c.missingFromCopy, true);
        scene.WriteSeries(kComplexSeries, 10, Complex(0), -1);
        if (c.missing >= 0) scene.RemovePicture(kComplexSeries, c.missing);
        scene.platform.settings.writes.clear();
        scene.FillBackBuffer(kUntouched);
        form.settings.movieOnHd = c.movieOnHd;
        size_t before = scene.decoder->Paths().size();
        Start(10, 3);
        EXPECT_EQ(scene.RequestedPictures(before), c.startLoads);
        EXPECT_EQ(form.buildUpPicture == nullptr, c.missing == 0 || c.missing == 1);

        before = scene.decoder->Paths().size();
        form.stepTime = scene.Now();
        std::vector<int32_t> shown;
        while (shown.size() < c.shown.size())
            shown.push_back(Press(501) ? scene.PresentedColour() : -1);
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(scene.RequestedPictures(before), c.stepLoads);
        EXPECT_EQ(form.requestedScreen, Screen::kFilm);
        EXPECT_EQ(scene.SettingsWrites(),
                  std::vector<std::string>(c.writes, "Quillowbee/Settings/movieOnHd=False"));
    }
}

}  // namespace
}  // namespace testing_support
