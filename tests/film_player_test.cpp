// The film: loading and its retry, timing, passes and automatic end, and its own sounds.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "content/millisecond_clock.h"
#include "display/display_objects.h"
#include "sound/dsound.h"
#include "support/activity_scene.h"

namespace testing_support {
namespace {

constexpr char kComplexFilm[] = "Item\\Komplex\\Film\\";
constexpr int16_t kItem = 9;  // slot 1 of theme 2: the film returns to sub-menu 2

std::string Local(const char* set, int n) {
    return std::string("local:Item/") + set + "/Film/" + PictureFileName(n);
}

class FilmTest : public ::testing::Test {
  protected:
    ActivityScene scene;
    MainMenuForm& form = scene.form;

    // Item `item`'s film, picture n in colour n, entered; stepTime far back, so it may leave.
    void StartFilm(int16_t item, const std::vector<int16_t>& delays) {
        scene.SetItem(item, 3, 3, delays);
        scene.WriteSeries(kComplexFilm, static_cast<int32_t>(delays.size()) - 1, 0, 1);
        Restart();
    }
    void Restart() {
        form.LoadFilm();
        form.menuContext = static_cast<int16_t>(form.selectedItem / 8 + 1 + 6);
        form.currentScreen = form.requestedScreen = Screen::kFilm;
        form.stepTime = GameUtil::AddMs(scene.Now(), -10000);
        form.EnterScreen();
    }
    // One film pass; true when it asked to leave (the sub-menu, or a refused Escape's click).
    bool PassAsksToLeave() {
        const size_t plays = scene.platform.sound.plays.size();
        form.DrawFilmFrame();
        return form.requestedScreen != Screen::kFilm ||
               std::ranges::count(scene.SoundsSince(plays), DSound::kClick) > 0;
    }
};

// movieOnHd reads the hard-disk copy; a failure clears it and reads once more beside the program;
// a second failure leaves every picture empty.
TEST_F(FilmTest, LoadsItsPicturesAndRetriesAFailedLoadOnceBesideTheProgram) {
    const std::string hd = "hd:Item/Komplex/Film/";
    // clang-format off
    const struct {
        const char* name;
        bool movieOnHd, copy;
        int32_t missing;  // beside the program; -1: none
        std::vector<std::string> loads;
        std::vector<int32_t> colours;  // -1: empty
        size_t writes;
        bool simple = false;  // and backwards
    } cases[] = {
        {"beside the program", false, false, -1, {Local("Komplex", 0), Local("Komplex", 1)}, {0, 1}, 0},
        {"simple set, backwards", false, false, -1, {Local("Enkel", 0), Local("Enkel", 1)}, {10, 11}, 0, true},
        {"complete copy", true, true, -1, {hd + "01.jpg", hd + "02.jpg"}, {13, 14}, 0},
        {"no copy", true, false, -1, {hd + "01.jpg", Local("Komplex", 0), Local("Komplex", 1)}, {0, 1}, 1},
        {"missing twice", false, false, 1, {Local("Komplex", 0), Local("Komplex", 1), Local("Komplex", 0), Local("Komplex", 1)}, {-1, -1}, 2},
        {"first missing twice", false, false, 0, {Local("Komplex", 0), Local("Komplex", 0)}, {-1, -1}, 2},
    };
    // clang-format on
    scene.SetItem(kItem, 3, 3, {120, 80});
    scene.WriteSeries("Item\\Enkel\\Film\\", 1, 10, 1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const char* copy : {"data-home", "C:"})
            std::filesystem::remove_all(scene.dir.Path() / copy);
        scene.WriteSeries(kComplexFilm, 1, 0, 1);
        if (c.copy) scene.WriteSeries(kComplexFilm, 1, 13, 1, true);
        if (c.missing >= 0) scene.RemovePicture(kComplexFilm, c.missing);
        scene.platform.settings.writes.clear();
        form.settings.movieOnHd = c.movieOnHd;
        form.settings.simpleContent = form.settings.reversePlay = c.simple;
        form.buildUpStride = 5;
        form.filmPasses = 9;
        const size_t before = scene.decoder->Paths().size();
        form.LoadFilm();
        EXPECT_EQ(scene.RequestedPictures(before), c.loads);
        std::vector<int32_t> colours;
        for (const SurfaceSlot& p : form.filmPictures)
            colours.push_back(p ? ColourIndexOf(p->PixelAt(1, 1)) : -1);
        EXPECT_EQ(colours, c.colours);
        EXPECT_EQ(scene.SettingsWrites(),
                  std::vector<std::string>(c.writes, "Quillowbee/Settings/movieOnHd=False"));
        EXPECT_EQ(form.settings.movieOnHd, c.writes == 0 && c.movieOnHd);
        EXPECT_EQ(form.filmIndex, c.simple ? 1 : 0);  // backwards from the last picture
        EXPECT_EQ(form.buildUpStride, 1);
        if (c.writes < 2) {
            EXPECT_EQ(form.filmDelays, (std::vector<int16_t>{120, 80}));
            EXPECT_EQ(form.filmPasses, 0);
        }
    }
}

TEST_F(FilmTest, EndsByItselfOnlyBelowSixteenRepeatsAfterACopiedPicture) {
    StartFilm(kItem, {100, 100});
    const struct {
        int16_t repeats, passes;
        bool leaves;
        int failure;  // 0: none, 1: picture smaller than its source rectangle, 2: display lost
    } cases[] = {{2, 1, false, 0},      {2, 2, true, 0},  {2, 3, true, 0},
                 {8, 7, false, 0},      {8, 8, true, 0},  {16, 16, false, 0},
                 {16, 32767, false, 0}, {2, 2, false, 1}, {2, 2, false, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.repeats << "/" << c.passes << "/" << c.failure);
        Restart();
        form.settings.filmRepeats = c.repeats;
        form.filmPasses = c.passes;
        if (c.failure == 1)
            form.filmPictures[0] = GameUtil::displayDevice->CreateSurface(
                {.flags = 7, .height = 300, .width = 400, .caps = 0x840});
        scene.platform.display.lost = c.failure == 2;
        EXPECT_EQ(PassAsksToLeave(), c.leaves);
        EXPECT_EQ(form.filmIndex, 0);  // the deadline has not passed
        scene.platform.display.lost = false;
    }
}

// The next picture comes only strictly past the deadline; its delay counts from the end of the
// display wait, the sum rounded halves to even; each wrap counts a pass, up to the top.
TEST_F(FilmTest, AdvancesStrictlyPastTheDeadlineToTheNextPicturesDelay) {
    StartFilm(kItem, {100, 100, 100});
    // clang-format off
    const struct {
        const char* name;
        int64_t now;
        int32_t due;  // deadline - now
        int16_t index, passes;
        bool reverse;
        double factor;
        int16_t delay;  // of every picture but the one shown
        int64_t wait;   // the display wait takes this long
        int16_t nextIndex, nextPasses;
        int32_t next;  // new deadline - now after the pass; -1: the deadline is kept
    } cases[] = {
        {"on the deadline", 1000000, 0, 0, 0, false, 1.0, 100, 0, 0, 0, -1},
        {"just past it", 1000000, -1, 0, 0, false, 1.0, 100, 0, 1, 0, 100},
        {"on a deadline past the turn", 2147483700, 0, 0, 0, false, 1.0, 100, 0, 0, 0, -1},
        {"past the turn", 2147483700, -1, 0, 0, false, 1.0, 100, 0, 1, 0, 100},
        {"after a display wait", 1000000, -1, 0, 0, false, 1.0, 250, 7, 1, 0, 250},
        {"1000 + 1.5", 1000, -1, 0, 0, false, 0.5, 3, 0, 1, 0, 2},
        {"1001 + 1.5", 1001, -1, 0, 0, false, 0.5, 3, 0, 1, 0, 1},
        {"0.33 x 100", 1000, -1, 0, 0, false, 0.33, 100, 0, 1, 0, 33},
        {"a wrap", 1000000, -1, 2, 0, false, 1.0, 100, 0, 0, 1, 100},
        {"a wrap backwards", 1000000, -1, 0, 0, true, 1.0, 100, 0, 2, 1, 100},
        {"top passes forwards", 1000000, -1, 2, 32767, false, 1.0, 100, 0, 0, 32767, 100},
        {"top passes backwards", 1000000, -1, 0, 32767, true, 1.0, 100, 0, 2, 32767, 100},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scene.platform.counter.SetMs(c.now);
        form.filmDelays = {c.delay, c.delay, c.delay};
        form.filmDelays[c.index] = 1;
        form.settings.filmDelayFactor = c.factor;
        form.settings.reversePlay = c.reverse;
        form.filmIndex = c.index;
        form.filmPasses = c.passes;
        const int32_t deadline = form.filmDeadline = GameUtil::AddMs(scene.Now(), c.due);
        scene.platform.window.onYield = [&] { scene.platform.counter.AdvanceMs(c.wait); };
        form.DrawFilmFrame();
        EXPECT_EQ(scene.BackBufferColour(), c.index);
        EXPECT_EQ(form.filmIndex, c.nextIndex);
        EXPECT_EQ(form.filmPasses, c.nextPasses);
        EXPECT_EQ(form.filmDeadline, c.next < 0 ? deadline : GameUtil::AddMs(scene.Now(), c.next));
    }
    scene.platform.window.onYield = nullptr;
}

// After a failed load every picture is empty: the film holds what is shown, without a display wait
// (that it stays silent and never ends, the idle passes' film table shows).
TEST_F(FilmTest, AnEmptyPictureHoldsTheFilm) {
    StartFilm(8, {100, 100, 100});
    scene.RemovePicture(kComplexFilm, 2);
    Restart();
    form.filmDeadline = GameUtil::AddMs(scene.Now(), -50);
    scene.FillBackBuffer(20);
    const int yields = scene.platform.window.yields;
    EXPECT_FALSE(PassAsksToLeave());
    EXPECT_EQ(scene.BackBufferColour(), 20);
    EXPECT_EQ(scene.platform.window.yields, yields);
}

// The violin loops while its film runs; the hen loops and calls on picture 6 whenever the call
// is silent; other items have no sound of their own.
TEST_F(FilmTest, SoundsOfTheirOwn) {
    // clang-format off
    const struct {
        int16_t item, picture;
        bool finishOneShots, stopAll;
        std::vector<int16_t> sounds;
    } steps[] = {
        {8, 0, false, false, {DSound::kViolin}}, {8, 1, false, false, {}}, {8, 0, true, false, {}},
        {8, 0, false, true, {DSound::kViolin}},
        {24, 0, false, false, {DSound::kHen}}, {24, 6, false, false, {DSound::kHenCall}},
        {24, 6, false, false, {}},  // the call is still sounding
        {24, 6, true, false, {DSound::kHenCall}}, {24, 6, false, true, {DSound::kHen, DSound::kHenCall}},
        {9, 6, false, true, {}},
    };
    // clang-format on
    int16_t item = -1;
    for (const auto& s : steps) {
        SCOPED_TRACE(testing::Message() << "item " << s.item << ", picture " << s.picture);
        if (s.item != item) StartFilm(item = s.item, std::vector<int16_t>(8, 100));
        form.filmIndex = s.picture;
        if (s.finishOneShots) scene.platform.sound.FinishOneShots();
        if (s.stopAll) DSound::StopAllSounds();
        const size_t plays = scene.platform.sound.plays.size();
        form.DrawFilmFrame();
        EXPECT_EQ(scene.SoundsSince(plays), s.sounds);
    }
}

}  // namespace
}  // namespace testing_support
