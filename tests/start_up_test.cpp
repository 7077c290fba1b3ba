#include <gtest/gtest.h>

#include <filesystem>

#include "content/data_file_reader.h"
#include "display/display_objects.h"
#include "sound/dsound.h"
#include "support/form_harness.h"
#include "support/mini_pack.h"
#include "support/test_files.h"

namespace {

using headless::InputEvent;
using testing_support::FormHarness;

class StartUpTest : public ::testing::Test {
  protected:
    StartUpTest() : cwd_(testing_support::SharedMiniPack()) {}

    // Runs the whole program; returns its exit status and what it printed on stderr.
    int Run(std::string* errors = nullptr) {
        h_.form.Form_Initialize();
        ::testing::internal::CaptureStderr();
        const int status = h_.form.Form_Load();
        const std::string printed = ::testing::internal::GetCapturedStderr();
        if (errors != nullptr) {
            *errors = printed;
        }
        return status;
    }
    void Queue(InputEvent::Kind kind, int16_t code = 0, int16_t shift = 0) {
        h_.platform.window.pending.push_back({kind, code, shift});
    }
    const std::vector<std::string>& DisplayCalls() { return h_.platform.display.calls; }

    testing_support::ScopedCurrentDir cwd_;
    FormHarness h_;
};

TEST_F(StartUpTest, LeavesTheMainMenuReadyWithItsMusic) {
    h_.form.StartUp();
    const MainMenuForm& f = h_.form;
    EXPECT_EQ(h_.platform.window.pointer, (platform::Point{260, 150}));
    EXPECT_EQ(f.currentScreen, 0);
    EXPECT_EQ(f.requestedScreen, 0);
    EXPECT_FALSE(f.isBusy);
    EXPECT_FALSE(f.isDrawing);
    EXPECT_FALSE(f.settings.showPointerSprite);
    EXPECT_EQ(h_.platform.window.pointerShapes, (std::vector<int16_t>{11, 0}));
    EXPECT_TRUE(h_.platform.window.shown);
    ASSERT_EQ(h_.platform.sound.plays.size(), 1u);
    EXPECT_TRUE(h_.platform.sound.plays[0].ends_with("StartMeny.wav"));
    EXPECT_EQ(f.filmPictures.size(), 1u);
    EXPECT_FALSE(f.filmPictures[0]);
    // Every picture slot is filled, and the item table is read.
    for (const auto& slot : f.buttonPictures) EXPECT_TRUE(slot);
    for (const auto& slot : f.notePictures) EXPECT_TRUE(slot);
    for (const auto& slot : f.choicePictures) EXPECT_TRUE(slot);
    EXPECT_TRUE(f.crossPicture);
    EXPECT_EQ(DataFileReader::itemTable[31].folder, "Tema4\\Sak7\\");
    EXPECT_EQ(f.settings.crossPositions[13], (platform::Point{299, 434}));
    EXPECT_EQ(f.subMenuWarpPoints[7], (platform::Point{695, 370}));
    // The screen was taken before anything was read, and the background shown early.
    ASSERT_GE(DisplayCalls().size(), 2u);
    EXPECT_EQ(DisplayCalls()[0], "SetCooperativeLevel 81");
    EXPECT_EQ(DisplayCalls()[1], "SetDisplayMode 800x600x16");
    EXPECT_EQ(h_.platform.display.presents, 1);
    EXPECT_TRUE(
        testing_support::PixelMatches(h_.platform.display.PixelAt(400, 300),
                                      testing_support::MenuColour("Grafik\\Meny\\StartMeny.jpg")));
}

TEST_F(StartUpTest, ASecondCopyEndsAtOnceShowingNothing) {
    h_.platform.window.previousInstance = true;
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(DisplayCalls().empty());
    EXPECT_FALSE(h_.platform.window.shown);
    EXPECT_EQ(h_.platform.display.presents, 0);
}

// Whatever fails during start-up, the desktop comes back, one line names what failed, status 1.
TEST_F(StartUpTest, FailuresEndThroughTheFailurePath) {
    const struct {
        const char* name;
        std::function<void(FormHarness&, const std::filesystem::path&)> breakIt;
        const char* named;
        bool soundCreated;
    } cases[] = {
        {"display mode refused",
         [](FormHarness& h, const auto&) { h.platform.display.refuseDisplayMode = true; },
         "display mode", false},
        {"sport data file missing",
         [](FormHarness&, const std::filesystem::path& root) {
             std::filesystem::remove(root / "Data/Sport.dat");
         },
         "Data\\Sport.dat", false},
        {"choices picture missing",
         [](FormHarness&, const std::filesystem::path& root) {
             std::filesystem::remove(root / "Grafik/Meny/Val/8Meny.jpg");
         },
         "8Meny.jpg", true},
        {"cross broken",
         [](FormHarness&, const std::filesystem::path& root) {
             testing_support::WriteFile(root / "Grafik/Meny/Val/kryss.bmp", "BM broken");
         },
         "kryss.bmp", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testing_support::TempDir dir;
        testing_support::ScopedCurrentDir cwd(dir.Path());
        testing_support::WriteMiniPack(dir.Path(), {.activityPictures = false});
        FormHarness h;
        c.breakIt(h, dir.Path());
        h.form.Form_Initialize();
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(h.form.Form_Load(), 1);
        const std::string errors = ::testing::internal::GetCapturedStderr();
        EXPECT_TRUE(errors.starts_with("quillowbee: ")) << errors;
        EXPECT_NE(errors.find(c.named), std::string::npos) << errors;
        EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
        const auto& calls = h.platform.display.calls;
        ASSERT_GE(calls.size(), 2u);
        EXPECT_EQ(calls[calls.size() - 2], "RestoreDisplayMode");
        EXPECT_EQ(calls.back(), "SetCooperativeLevel 8");
        EXPECT_FALSE(h.platform.display.fullScreen);
        EXPECT_EQ(!h.platform.sound.buffers.empty(), c.soundCreated);
    }
}

TEST_F(StartUpTest, EscapeOnTheMainMenuEndsCleanlyOnABlackScreen) {
    Queue(InputEvent::Kind::KeyUp, 27);
    EXPECT_EQ(Run(), 0);
    const auto& frame = h_.platform.display.lastFrame;
    EXPECT_TRUE(std::all_of(frame.begin(), frame.end(), [](uint16_t p) { return p == 0; }));
    EXPECT_EQ(DisplayCalls()[DisplayCalls().size() - 2], "RestoreDisplayMode");
    EXPECT_EQ(DisplayCalls().back(), "SetCooperativeLevel 8");
    EXPECT_FALSE(GameUtil::displayDevice);
    EXPECT_EQ(h_.platform.window.pointerShapes.back(), 0);
    EXPECT_FALSE(h_.form.menuPictures[0]);
    EXPECT_TRUE(h_.form.notePictures[0]);  // note pictures stay until the form goes
    EXPECT_TRUE(h_.platform.sound.buffers.empty());
}

TEST_F(StartUpTest, ATerminationRequestEndsLikeEscape) {
    Queue(InputEvent::Kind::Quit);
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(DisplayCalls().back(), "SetCooperativeLevel 8");
}

TEST_F(StartUpTest, AFailureInAnEventHandlerEndsThroughTheFailurePath) {
    // A lost display reloads the pictures; a choices picture gone by then cannot be loaded.
    testing_support::TempDir dir;
    testing_support::ScopedCurrentDir cwd(dir.Path());
    testing_support::WriteMiniPack(dir.Path(), {.activityPictures = false});
    h_.form.StartUp();
    std::filesystem::remove(dir.Path() / "Grafik/Meny/Val/FilmMeny.jpg");
    h_.platform.display.lost = true;
    int yields = 0;
    h_.platform.window.onYield = [&] {
        if (++yields == 2) h_.platform.display.lost = false;
    };
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(h_.form.Form_Load(), 1);
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("FilmMeny.jpg"), std::string::npos) << errors;
    EXPECT_EQ(DisplayCalls().back(), "SetCooperativeLevel 8");
}

class FrameLoopTest : public StartUpTest {
  protected:
    FrameLoopTest() {
        h_.form.StartUp();
        h_.form.isRunning = true;
    }
    std::vector<std::string> PlaysSince(size_t from) {
        std::vector<std::string> names;
        for (size_t i = from; i < h_.platform.sound.plays.size(); ++i) {
            names.push_back(std::filesystem::path(h_.platform.sound.plays[i]).filename().string());
        }
        return names;
    }
};

// Every switch stops all sounds, then starts the new screen's tune.
TEST_F(FrameLoopTest, SwitchesScreensWithTheirMusic) {
    const struct {
        int16_t screen;
        int16_t context;
        std::vector<std::string> music;
    } cases[] = {
        {12, 12, {"StartMeny.wav"}}, {0, 0, {"StartMeny.wav"}}, {3, 3, {"SubMeny.wav"}},
        {0, 0, {"StartMeny.wav"}},   {1, 1, {"SubMeny.wav"}},   {6, 7, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.screen);
        h_.form.filmDelays = {100};
        h_.form.filmIndex = 0;
        DSound::PlaySound(DSound::kHen);
        const size_t before = h_.platform.sound.plays.size();
        h_.form.requestedScreen = c.screen;
        h_.form.menuContext = c.context;
        const int presents = h_.platform.display.presents;
        h_.Pass();
        EXPECT_EQ(h_.form.currentScreen, c.screen);
        EXPECT_EQ(PlaysSince(before), c.music);
        EXPECT_EQ(DSound::GetSoundStatus(DSound::kHen), 0);
        EXPECT_EQ(h_.platform.display.presents, presents + 1);  // first frame in the same pass
        EXPECT_TRUE(h_.form.isRunning);
        EXPECT_FALSE(h_.form.isBusy);
    }
}

TEST_F(FrameLoopTest, NoSwitchNoMusicChange) {
    const size_t before = h_.platform.sound.plays.size();
    h_.Passes(3);
    EXPECT_EQ(h_.platform.sound.plays.size(), before);
    EXPECT_EQ(DSound::GetSoundStatus(DSound::kStartMenuMusic), 5);
}

TEST_F(FrameLoopTest, AScreenThatDoesNotExistEndsTheLoop) {
    for (int16_t screen : {7, 11, 13, -1}) {
        h_.form.isRunning = true;
        h_.form.requestedScreen = screen;
        h_.Pass();
        EXPECT_FALSE(h_.form.isRunning) << screen;
        h_.form.requestedScreen = 0;
        h_.Pass();
    }
}

TEST_F(FrameLoopTest, EnteringTheFilmSetsItsFirstDeadline) {
    h_.platform.counter.SetMs(50000);
    h_.form.filmDelays = {120, 300};
    h_.form.filmPictures.resize(2);
    h_.form.filmIndex = 1;
    h_.form.settings.filmDelayFactor = 0.33;
    h_.form.menuContext = 7;
    h_.form.requestedScreen = 6;
    h_.Pass();
    EXPECT_EQ(h_.form.filmDeadline, 50099);
}

TEST_F(FrameLoopTest, ThePointerMarkerFollowsThePointerWhenSwitchedOn) {
    h_.platform.window.pointer = {300, 200};
    h_.Pass();
    const uint16_t withoutMarker = h_.platform.display.PixelAt(310, 200);
    h_.form.settings.showPointerSprite = true;
    h_.form.settings.page = 0;
    h_.Pass();
    EXPECT_NE(h_.platform.display.PixelAt(310, 200), withoutMarker);
    EXPECT_EQ(h_.platform.display.PixelAt(310, 200), h_.platform.display.PixelAt(290, 200));
    EXPECT_EQ(h_.platform.display.PixelAt(300, 210), h_.platform.display.PixelAt(300, 190));
}

TEST_F(FrameLoopTest, EntryWorkShowsTheHourglassAndIgnoresNothingAfterwards) {
    h_.platform.window.pointerShapes.clear();
    h_.form.requestedScreen = 2;
    h_.form.menuContext = 2;
    h_.Pass();
    EXPECT_EQ(h_.platform.window.pointerShapes, (std::vector<int16_t>{11, 0}));
}

}  // namespace
