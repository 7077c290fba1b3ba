#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "content/millisecond_clock.h"
#include "display/display_objects.h"
#include "base/system_failure.h"
#include "sound/dsound.h"
#include "support/activity_scene.h"

namespace {

using testing_support::ActivityScene;
using testing_support::ColourIndexOf;

constexpr char kComplexFilm[] = "Item\\Komplex\\Film\\";
constexpr char kSimpleFilm[] = "Item\\Enkel\\Film\\";
constexpr char kSettingsWrite[] = "Quillowbee/Settings/movieOnHd=False";
constexpr char kNeedsRecovery[] =
    "advancing the film goes through RecoverLostDisplay, which is not built in this tree";

// Item 9 is slot 1 of theme 2: its activity runs in menu context 8 and returns to sub-menu 2.
constexpr int16_t kItem = 9;
constexpr int16_t kSubMenu = 2;

class FilmTest : public ::testing::Test {
  protected:
    ActivityScene scene;
    MainMenuForm& form = scene.form;
    // Set once a pass has met the key handling's stub (see PassAsksToLeave).
    bool keyHandlerIsStub = false;

    // Item `item` with a film of delays.size() pictures, picture n in colour n, loaded and
    // entered as the frame loop enters screen 6. stepTime lies far back, so that the Escape
    // handling accepts a request to leave.
    void StartFilm(int16_t item, const std::vector<int16_t>& delays) {
        scene.SetItem(item, 3, 3, delays);
        scene.WriteSeries(kComplexFilm, static_cast<int32_t>(delays.size()) - 1, 0, 1);
        Restart();
    }

    void Restart() {
        form.LoadFilm();
        form.menuContext = static_cast<int16_t>(form.selectedItem / 8 + 1 + 6);
        form.currentScreen = Screen::kFilm;
        form.requestedScreen = Screen::kFilm;
        form.stepTime = GameUtil::AddMs(scene.Now(), -10000);
        form.EnterScreen();
    }

    // One film pass. True when it asked to leave the film with Form_KeyUp(27, 0): where the key
    // handling is not built yet its stub fails, which shows the call; once it is built an
    // accepted request asks for the sub-menu and one refused within keyDelay clicks.
    bool PassAsksToLeave() {
        const size_t plays = scene.platform.sound.plays.size();
        const int16_t requested = form.requestedScreen;
        try {
            form.DrawFilmFrame();
        } catch (const SystemFailure& failure) {
            if (std::string_view(failure.what()) != "Form_KeyUp is not built yet") {
                throw;
            }
            keyHandlerIsStub = true;
            return true;
        }
        const std::vector<int16_t> sounds = scene.SoundsSince(plays);
        return form.requestedScreen != requested || std::ranges::count(sounds, DSound::kClick) > 0;
    }

    void ExpectReturnedToSubMenu() {
        if (!keyHandlerIsStub) {
            EXPECT_EQ(form.requestedScreen, kSubMenu);
        }
    }

    // Sounds played by one pass (the film's own; no leave request is due in these passes).
    std::vector<int16_t> PassSounds() {
        const size_t plays = scene.platform.sound.plays.size();
        form.DrawFilmFrame();
        return scene.SoundsSince(plays);
    }
};

TEST_F(FilmTest, LoadsEveryPictureInOrderWithItsDelay) {
    const std::vector<int16_t> delays = {120, 80, 300, 45};
    scene.SetItem(kItem, 3, 3, delays);
    scene.WriteSeries(kComplexFilm, 3, 0, 1);
    scene.WriteSeries(kSimpleFilm, 3, 10, 1);
    struct Case {
        bool simple;
        bool reverse;
        const char* folder;
        int32_t firstColour;
        int16_t firstIndex;
    };
    const Case cases[] = {
        {false, false, "Item/Komplex/Film/", 0, 0},
        {false, true, "Item/Komplex/Film/", 0, 3},
        {true, false, "Item/Enkel/Film/", 10, 0},
        {true, true, "Item/Enkel/Film/", 10, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.folder) + (c.reverse ? " backwards" : " forwards"));
        form.settings.simpleContent = c.simple;
        form.settings.reversePlay = c.reverse;
        form.buildUpStride = 5;
        form.filmPasses = 9;
        const size_t before = scene.decoder->Paths().size();

        form.LoadFilm();

        std::vector<std::string> expected;
        for (int n = 0; n < 4; ++n) {
            expected.push_back("local:" + std::string(c.folder) +
                               testing_support::PictureFileName(n));
        }
        EXPECT_EQ(scene.RequestedPictures(before), expected);
        ASSERT_EQ(form.filmPictures.size(), 4u);
        for (int n = 0; n < 4; ++n) {
            ASSERT_TRUE(form.filmPictures[n]) << n;
            EXPECT_EQ(form.filmPictures[n]->Width(), 800);
            EXPECT_EQ(form.filmPictures[n]->Height(), 600);
            EXPECT_EQ(form.filmPictures[n]->Caps(), 0x840);
            EXPECT_EQ(ColourIndexOf(form.filmPictures[n]->PixelAt(400, 300)), c.firstColour + n);
        }
        EXPECT_EQ(form.filmDelays, delays);
        EXPECT_EQ(form.filmIndex, c.firstIndex);
        EXPECT_EQ(form.buildUpStride, 1);
        EXPECT_EQ(form.filmPasses, 0);
    }
    EXPECT_TRUE(scene.SettingsWrites().empty());
}

TEST_F(FilmTest, ReloadingReplacesTheWholeList) {
    scene.SetItem(kItem, 3, 3, {100, 100, 100, 100, 100, 100, 100, 100, 100, 100});
    scene.WriteSeries(kComplexFilm, 9, 0, 1);
    form.LoadFilm();
    ASSERT_EQ(form.filmPictures.size(), 10u);

    scene.SetItem(kItem, 3, 3, {70, 90});
    form.LoadFilm();

    ASSERT_EQ(form.filmPictures.size(), 2u);
    EXPECT_TRUE(form.filmPictures[0] && form.filmPictures[1]);
    EXPECT_EQ(form.filmDelays, (std::vector<int16_t>{70, 90}));
}

TEST_F(FilmTest, MissingPictureIsRetriedOnceThenEveryPictureIsEmpty) {
    scene.SetItem(kItem, 3, 3, {100, 100, 100, 100});
    for (int32_t missing : {0, 2, 3}) {
        SCOPED_TRACE(missing);
        scene.WriteSeries(kComplexFilm, 3, 0, 1);
        scene.RemovePicture(kComplexFilm, missing);
        scene.platform.settings.writes.clear();
        form.settings.movieOnHd = false;
        form.settings.reversePlay = true;
        const size_t before = scene.decoder->Paths().size();

        form.LoadFilm();

        std::vector<std::string> attempt;
        for (int32_t n = 0; n <= missing; ++n) {
            attempt.push_back("local:Item/Komplex/Film/" + testing_support::PictureFileName(n));
        }
        std::vector<std::string> expected = attempt;
        expected.insert(expected.end(), attempt.begin(), attempt.end());
        EXPECT_EQ(scene.RequestedPictures(before), expected);
        ASSERT_EQ(form.filmPictures.size(), 4u);
        for (const SurfaceSlot& picture : form.filmPictures) {
            EXPECT_FALSE(picture);
        }
        EXPECT_EQ(form.filmIndex, 3);
        EXPECT_EQ(scene.SettingsWrites(),
                  (std::vector<std::string>{kSettingsWrite, kSettingsWrite}));
        EXPECT_FALSE(form.settings.movieOnHd);
    }
}

TEST_F(FilmTest, HardDiskCopyIsReadWhileMovieOnHdAndTheRetryReadsBesideTheProgram) {
    scene.SetItem(kItem, 3, 3, {100, 100});
    scene.WriteSeries(kComplexFilm, 1, 0, 1);
    struct Case {
        const char* name;
        bool writeHardDisk;
        int32_t removeFromHardDisk;  // -1: none
        std::vector<std::string> requested;
        std::vector<int32_t> colours;
        size_t writes;
    };
    const Case cases[] = {
        {"complete copy",
         true,
         -1,
         {"hd:Item/Komplex/Film/01.jpg", "hd:Item/Komplex/Film/02.jpg"},
         {13, 14},
         0},
        {"no copy",
         false,
         -1,
         {"hd:Item/Komplex/Film/01.jpg", "local:Item/Komplex/Film/01.jpg",
          "local:Item/Komplex/Film/02.jpg"},
         {0, 1},
         1},
        {"second picture missing from the copy",
         true,
         1,
         {"hd:Item/Komplex/Film/01.jpg", "hd:Item/Komplex/Film/02.jpg",
          "local:Item/Komplex/Film/01.jpg", "local:Item/Komplex/Film/02.jpg"},
         {0, 1},
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(scene.dir.Path() / "data-home");
        std::filesystem::remove_all(scene.dir.Path() / "C:");
        if (c.writeHardDisk) {
            scene.WriteSeries(kComplexFilm, 1, 13, 1, true);
        }
        if (c.removeFromHardDisk >= 0) {
            scene.RemovePicture(kComplexFilm, c.removeFromHardDisk, true);
        }
        scene.platform.settings.writes.clear();
        form.settings.movieOnHd = true;
        const size_t before = scene.decoder->Paths().size();

        form.LoadFilm();

        EXPECT_EQ(scene.RequestedPictures(before), c.requested);
        for (size_t n = 0; n < c.colours.size(); ++n) {
            ASSERT_TRUE(form.filmPictures.at(n));
            EXPECT_EQ(ColourIndexOf(form.filmPictures[n]->PixelAt(1, 1)), c.colours[n]);
        }
        EXPECT_EQ(scene.SettingsWrites().size(), c.writes);
        EXPECT_EQ(form.settings.movieOnHd, c.writes == 0);
    }
}

TEST_F(FilmTest, ForwardsFilmPlaysItsPassesAndAsksToLeaveAtTheLastWrap) {
    StartFilm(kItem, {100, 100, 100, 100});
    form.settings.filmRepeats = 2;
    if (!scene.RecoveryBuilt()) {
        GTEST_SKIP() << kNeedsRecovery;
    }
    std::vector<int32_t> shown;
    std::vector<int16_t> passes;
    std::vector<bool> leave;
    for (int pass = 0; pass < 8; ++pass) {
        scene.platform.counter.AdvanceMs(101);
        leave.push_back(PassAsksToLeave());
        shown.push_back(scene.BackBufferColour());
        passes.push_back(form.filmPasses);
    }
    EXPECT_EQ(shown, (std::vector<int32_t>{0, 1, 2, 3, 0, 1, 2, 3}));
    EXPECT_EQ(passes, (std::vector<int16_t>{0, 0, 0, 1, 1, 1, 1, 2}));
    EXPECT_EQ(leave, (std::vector<bool>{false, false, false, false, false, false, false, true}));
    EXPECT_EQ(form.filmIndex, 0);
    ExpectReturnedToSubMenu();
}

TEST_F(FilmTest, BackwardsFilmCountsDownAndWrapsToItsLastPicture) {
    form.settings.reversePlay = true;
    StartFilm(kItem, {100, 100, 100, 100});
    ASSERT_EQ(form.filmIndex, 3);
    if (!scene.RecoveryBuilt()) {
        GTEST_SKIP() << kNeedsRecovery;
    }
    std::vector<int32_t> shown;
    std::vector<int16_t> passes;
    for (int pass = 0; pass < 6; ++pass) {
        scene.platform.counter.AdvanceMs(101);
        EXPECT_FALSE(PassAsksToLeave());
        shown.push_back(scene.BackBufferColour());
        passes.push_back(form.filmPasses);
    }
    EXPECT_EQ(shown, (std::vector<int32_t>{3, 2, 1, 0, 3, 2}));
    EXPECT_EQ(passes, (std::vector<int16_t>{0, 0, 0, 1, 1, 1}));
}

TEST_F(FilmTest, EndsByItselfOnlyBelowSixteenRepeatsOnceThePassesAreDone) {
    StartFilm(kItem, {100, 100});
    struct Case {
        int16_t repeats;
        int16_t passes;
        bool leaves;
    };
    const Case cases[] = {{2, 0, false},   {2, 1, false},    {2, 2, true},      {2, 3, true},
                          {4, 3, false},   {4, 4, true},     {8, 7, false},     {8, 8, true},
                          {16, 16, false}, {16, 100, false}, {16, 32767, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.repeats << " repeats, " << c.passes << " passes");
        Restart();
        form.settings.filmRepeats = c.repeats;
        form.filmPasses = c.passes;
        EXPECT_EQ(PassAsksToLeave(), c.leaves);
        EXPECT_EQ(form.filmIndex, 0);  // the deadline has not passed
    }
}

TEST_F(FilmTest, AdvancesOnlyWhenTheClockIsStrictlyPastTheDeadline) {
    StartFilm(kItem, {100, 100});
    const int32_t deadline = form.filmDeadline;
    scene.platform.counter.AdvanceMs(100);
    ASSERT_EQ(scene.Now(), deadline);

    form.DrawFilmFrame();
    EXPECT_EQ(form.filmIndex, 0);
    EXPECT_EQ(form.filmDeadline, deadline);
    EXPECT_EQ(scene.BackBufferColour(), 0);

    if (!scene.RecoveryBuilt()) {
        GTEST_SKIP() << kNeedsRecovery;
    }
    scene.platform.counter.AdvanceMs(1);
    form.DrawFilmFrame();
    EXPECT_EQ(form.filmIndex, 1);
    EXPECT_EQ(form.filmDeadline, scene.Now() + 100);
}

TEST_F(FilmTest, NewDeadlineRoundsTheWholeSumHalvesToEven) {
    StartFilm(kItem, {100, 100});
    if (!scene.RecoveryBuilt()) {
        GTEST_SKIP() << kNeedsRecovery;
    }
    struct Case {
        int64_t now;
        double factor;
        int16_t delay;
        int32_t deadline;
    };
    const Case cases[] = {
        {1000, 0.5, 3, 1002},    {1001, 0.5, 3, 1002},   {1003, 0.5, 3, 1004},
        {1000, 0.33, 100, 1033}, {1000, 3.0, 100, 1300}, {1000, 1.0, 120, 1120},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.now << " + " << c.factor << " x " << c.delay);
        form.filmIndex = 0;
        form.filmDelays[1] = c.delay;
        form.settings.filmDelayFactor = c.factor;
        scene.platform.counter.SetMs(c.now);
        form.filmDeadline = static_cast<int32_t>(c.now - 1);

        form.DrawFilmFrame();

        EXPECT_EQ(form.filmIndex, 1);
        EXPECT_EQ(form.filmDeadline, c.deadline);
    }
}

TEST_F(FilmTest, NewDeadlineCountsFromTheClockReadAfterTheRecoveryWait) {
    StartFilm(kItem, {100, 250});
    if (!scene.RecoveryBuilt()) {
        GTEST_SKIP() << kNeedsRecovery;
    }
    scene.platform.counter.AdvanceMs(101);
    const int32_t before = scene.Now();
    scene.platform.window.onYield = [&] { scene.platform.counter.AdvanceMs(7); };

    form.DrawFilmFrame();

    EXPECT_EQ(form.filmIndex, 1);
    EXPECT_GT(GameUtil::ElapsedMs(scene.Now(), before), 0);
    EXPECT_EQ(form.filmDeadline, GameUtil::AddMs(scene.Now(), 250));
}

TEST_F(FilmTest, FailingCopySuppressesTheAutomaticEnd) {
    StartFilm(kItem, {100, 100});
    struct Case {
        const char* name;
        bool smallPicture;
        bool displayLost;
        bool leaves;
    };
    const Case cases[] = {
        {"copied", false, false, true},
        {"picture smaller than its source rectangle", true, false, false},
        {"display lost", false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Restart();
        form.settings.filmRepeats = 2;
        form.filmPasses = 2;
        if (c.smallPicture) {
            SurfaceRequest request;
            request.flags = 7;
            request.caps = 0x840;
            request.width = 400;
            request.height = 300;
            form.filmPictures[0] = GameUtil::displayDevice->CreateSurface(request);
        }
        scene.platform.display.lost = c.displayLost;
        EXPECT_EQ(PassAsksToLeave(), c.leaves);
        scene.platform.display.lost = false;
    }
}

TEST_F(FilmTest, FailingCopyStillAdvancesTheFilm) {
    StartFilm(kItem, {100, 100});
    if (!scene.RecoveryBuilt()) {
        GTEST_SKIP() << kNeedsRecovery;
    }
    SurfaceRequest request;
    request.flags = 7;
    request.caps = 0x840;
    request.width = 400;
    request.height = 300;
    form.filmPictures[1] = GameUtil::displayDevice->CreateSurface(request);
    form.settings.filmRepeats = 2;
    form.filmPasses = 1;

    std::vector<bool> leave;
    for (int pass = 0; pass < 3; ++pass) {
        scene.platform.counter.AdvanceMs(101);
        leave.push_back(PassAsksToLeave());
    }
    // The third pass copies picture 0 after the second pass's failed copy wrapped the film.
    EXPECT_EQ(leave, (std::vector<bool>{false, false, true}));
    EXPECT_EQ(form.filmPasses, 2);
}

TEST_F(FilmTest, RepeatsTheLeaveRequestEveryPassUntilItIsAccepted) {
    StartFilm(kItem, {100, 100});
    form.settings.filmRepeats = 2;
    form.filmPasses = 2;
    form.settings.keyDelay = 500;
    form.stepTime = scene.Now();

    EXPECT_TRUE(PassAsksToLeave());
    EXPECT_EQ(form.requestedScreen, Screen::kFilm);
    scene.platform.counter.AdvanceMs(100);
    form.filmDeadline = GameUtil::AddMs(scene.Now(), 1000);
    EXPECT_TRUE(PassAsksToLeave());
    EXPECT_EQ(form.requestedScreen, Screen::kFilm);

    scene.platform.counter.AdvanceMs(3000);
    form.filmDeadline = GameUtil::AddMs(scene.Now(), 1000);
    EXPECT_TRUE(PassAsksToLeave());
    ExpectReturnedToSubMenu();
}

TEST_F(FilmTest, EmptyPictureHoldsTheFilm) {
    struct Case {
        const char* name;
        bool failedLoad;
    };
    for (const Case& c : {Case{"after a failed load", true}, Case{"one picture empty", false}}) {
        SCOPED_TRACE(c.name);
        StartFilm(8, {100, 100, 100});
        if (c.failedLoad) {
            scene.RemovePicture(kComplexFilm, 2);
            Restart();
        } else {
            form.filmIndex = 1;
            form.filmPictures[1].reset();
        }
        const int16_t index = form.filmIndex;
        form.settings.filmRepeats = 2;
        form.filmPasses = 2;
        form.filmDeadline = GameUtil::AddMs(scene.Now(), -50);
        const int32_t deadline = form.filmDeadline;
        scene.FillBackBuffer(20);
        const size_t plays = scene.platform.sound.plays.size();
        const int yields = scene.platform.window.yields;

        for (int pass = 0; pass < 3; ++pass) {
            scene.platform.counter.AdvanceMs(200);
            EXPECT_FALSE(PassAsksToLeave());
        }
        EXPECT_EQ(scene.BackBufferColour(), 20);
        EXPECT_EQ(form.filmIndex, index);
        EXPECT_EQ(form.filmDeadline, deadline);
        EXPECT_EQ(form.requestedScreen, Screen::kFilm);
        EXPECT_TRUE(scene.SoundsSince(plays).empty());
        EXPECT_EQ(scene.platform.window.yields, yields);  // no recovery wait either
    }
}

TEST_F(FilmTest, ViolinFilmKeepsItsSoundLooping) {
    StartFilm(8, {100, 100});
    EXPECT_EQ(PassSounds(), (std::vector<int16_t>{DSound::kViolin}));
    EXPECT_EQ(PassSounds(), (std::vector<int16_t>{}));
    scene.platform.sound.FinishOneShots();
    EXPECT_EQ(PassSounds(), (std::vector<int16_t>{}));
    DSound::StopAllSounds();
    EXPECT_EQ(PassSounds(), (std::vector<int16_t>{DSound::kViolin}));
    EXPECT_NE(DSound::GetSoundStatus(DSound::kViolin) & platform::kSoundStatusLooping, 0);
}

TEST_F(FilmTest, HenFilmLoopsItsSoundAndCallsOnPictureSixWhenSilent) {
    StartFilm(24, {100, 100, 100, 100, 100, 100, 100, 100});
    struct Step {
        int16_t picture;
        bool finishOneShots;
        bool stopAll;
        std::vector<int16_t> sounds;
    };
    const Step steps[] = {
        {0, false, false, {DSound::kHen}},
        {5, false, false, {}},
        {6, false, false, {DSound::kHenCall}},
        {6, false, false, {}},                 // the call is still sounding
        {6, true, false, {DSound::kHenCall}},  // it ended while picture 6 is held
        {7, true, false, {}},
        {6, false, true, {DSound::kHen, DSound::kHenCall}},
        {0, true, false, {}},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::Message() << "picture " << s.picture);
        form.filmIndex = s.picture;
        if (s.finishOneShots) {
            scene.platform.sound.FinishOneShots();
        }
        if (s.stopAll) {
            DSound::StopAllSounds();
        }
        EXPECT_EQ(PassSounds(), s.sounds);
    }
}

TEST_F(FilmTest, OtherItemsPlayNoSoundOfTheirOwn) {
    for (int16_t item : {0, 7, 9, 16, 23, 25, 31}) {
        SCOPED_TRACE(item);
        StartFilm(item, {100, 100, 100, 100, 100, 100, 100, 100});
        for (int16_t picture : {0, 6}) {
            form.filmIndex = picture;
            EXPECT_TRUE(PassSounds().empty());
        }
    }
}

TEST_F(FilmTest, DisplayLossGoesOnFromTheSamePictureAndPassWithANewDeadline) {
    StartFilm(kItem, {100, 100, 240, 100});
    if (!scene.RecoveryBuilt()) {
        GTEST_SKIP() << kNeedsRecovery;
    }
    scene.WriteMenuPictures();
    form.filmIndex = 2;
    form.filmPasses = 1;
    form.filmDeadline = GameUtil::AddMs(scene.Now(), 50);
    scene.platform.display.lost = true;
    // The display comes back after 30 ms of waiting.
    scene.platform.window.onYield = [&] {
        if (scene.platform.display.lost) {
            scene.platform.counter.AdvanceMs(30);
            scene.platform.display.lost = false;
        }
    };

    scene.harness.Pass();

    EXPECT_EQ(form.currentScreen, Screen::kFilm);
    EXPECT_EQ(form.filmIndex, 2);
    EXPECT_EQ(form.filmPasses, 1);
    EXPECT_EQ(scene.PresentedColour(), 2);
    EXPECT_NE(std::ranges::count(scene.platform.display.calls, "RestoreAllSurfaces"), 0);
    // Entering the film again counted the picture's whole delay from the end of the wait.
    EXPECT_EQ(form.filmDeadline, GameUtil::AddMs(scene.Now(), 240));
}

TEST_F(FilmTest, PassCounterStopsAtItsLargestValue) {
    StartFilm(kItem, {100, 100, 100});
    if (!scene.RecoveryBuilt()) {
        GTEST_SKIP() << kNeedsRecovery;
    }
    struct Case {
        bool reverse;
        int16_t atWrap;
        int16_t after;
        int16_t passes;
        int16_t expected;
    };
    const Case cases[] = {
        {false, 2, 0, 32766, 32767},
        {false, 2, 0, 32767, 32767},
        {true, 0, 2, 32766, 32767},
        {true, 0, 2, 32767, 32767},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.reverse ? "backwards " : "forwards ") << c.passes);
        form.settings.reversePlay = c.reverse;
        form.filmIndex = c.atWrap;
        form.filmPasses = c.passes;
        scene.platform.counter.AdvanceMs(101);
        form.filmDeadline = GameUtil::AddMs(scene.Now(), -1);

        form.DrawFilmFrame();

        EXPECT_EQ(form.filmIndex, c.after);
        EXPECT_EQ(form.filmPasses, c.expected);
    }
}

TEST_F(FilmTest, ClockCrossingTwoToTheThirtyFirstMillisecondsKeepsTheTiming) {
    scene.platform.counter.SetMs(2147483600LL);
    StartFilm(kItem, {100, 100});
    const int32_t deadline = form.filmDeadline;
    ASSERT_LT(deadline, 0);  // the deadline lies past the 32-bit turn

    for (int64_t step : {30, 30, 40}) {  // the last pass falls exactly on the deadline
        scene.platform.counter.AdvanceMs(step);
        form.DrawFilmFrame();
        EXPECT_EQ(form.filmIndex, 0) << scene.Now();
    }
    ASSERT_EQ(scene.Now(), deadline);

    if (!scene.RecoveryBuilt()) {
        GTEST_SKIP() << kNeedsRecovery;
    }
    scene.platform.counter.AdvanceMs(1);
    form.DrawFilmFrame();
    EXPECT_EQ(form.filmIndex, 1);
    EXPECT_EQ(form.filmDeadline, GameUtil::AddMs(scene.Now(), 100));
}

}  // namespace
