// Start-up, screen switches, a lost display on every screen, the ways the program ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string_view>

#include "content/millisecond_clock.h"
#include "display/display_objects.h"
#include "sound/dsound.h"
#include "support/form_harness.h"
#include "support/mini_pack.h"
#include "support/recording_decoder.h"
#include "support/test_files.h"

namespace testing_support {
namespace {

using headless::InputEvent;

class StartUpTest : public ::testing::Test {
  protected:
    StartUpTest() : cwd_(SharedMiniPack()) {}

    // The desktop is back: the display mode restored and the screen given up, last of all.
    static void ExpectDesktopBack(const FormHarness& h) {
        const auto& calls = h.platform.display.calls;
        ASSERT_GE(calls.size(), 2u);
        EXPECT_EQ(std::vector(calls.end() - 2, calls.end()),
                  (std::vector<std::string>{"RestoreDisplayMode", "SetCooperativeLevel 8"}));
        EXPECT_FALSE(h.platform.display.fullScreen);
    }

    ScopedCurrentDir cwd_;
    FormHarness h_;
};

TEST_F(StartUpTest, LeavesTheMainMenuReadyWithItsMusic) {
    h_.form.StartUp();
    EXPECT_EQ(h_.platform.window.pointer, (platform::Point{260, 150}));
    EXPECT_EQ(std::pair(h_.form.currentScreen, h_.form.isBusy), std::pair(int16_t{0}, false));
    EXPECT_EQ(h_.platform.window.pointerShapes, (std::vector<int16_t>{11, 0}));
    EXPECT_TRUE(h_.platform.window.shown);
    ASSERT_EQ(h_.platform.sound.plays.size(), 1u);
    EXPECT_TRUE(h_.platform.sound.plays[0].ends_with("StartMeny.wav"));
    // The screen was taken before anything was read.
    const auto& calls = h_.platform.display.calls;
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(std::vector(calls.begin(), calls.begin() + 2),
              (std::vector<std::string>{"SetCooperativeLevel 81", "SetDisplayMode 800x600x16"}));
}

// The user's settings file is read at start-up.
TEST_F(StartUpTest, ReadsTheUsersSettingsFile) {
    const std::string text =
        "[Settings]\nexitLocked=True\ndisabledItems=Djur:Sak0\n"
        "buildUpSteps=0\nfilmDelayFactor=3.0\n";
    h_.platform.settings.files = {{"settings.ini", text, ""}};
    ::testing::internal::CaptureStderr();
    h_.form.StartUp();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    const ChoiceSettings& s = h_.form.settings;
    EXPECT_EQ(std::tuple(s.exitLocked, s.itemEnabled[24], s.itemEnabled[25], s.buildUpSteps,
                         s.filmDelayFactor),
              std::tuple(true, false, true, int16_t{0}, 3.0));
}

TEST_F(StartUpTest, ASecondCopyEndsAtOnceShowingNothing) {
    h_.platform.window.previousInstance = true;
    h_.form.Form_Initialize();
    EXPECT_EQ(h_.form.Form_Load(), 0);
    EXPECT_TRUE(h_.platform.display.calls.empty() && !h_.platform.window.shown);
}

TEST_F(StartUpTest, EscapeOrATerminationRequestEndsCleanlyOnABlackScreen) {
    for (const auto kind : {InputEvent::Kind::KeyUp, InputEvent::Kind::Quit}) {
        FormHarness h;
        h.platform.window.pending.push_back({kind, 27, 0});
        h.form.Form_Initialize();
        EXPECT_EQ(h.form.Form_Load(), 0);
        EXPECT_TRUE(
            std::ranges::all_of(h.platform.display.lastFrame, [](uint16_t p) { return !p; }));
        ExpectDesktopBack(h);
        // Note pictures stay until the form goes.
        EXPECT_EQ(std::tuple(!GameUtil::displayDevice, h.platform.window.pointerShapes.back(),
                             !h.form.menuPictures[0], !h.form.notePictures[0],
                             h.platform.sound.buffers.empty()),
                  std::tuple(true, 0, true, false, true));
    }
}

// Whatever fails, at start-up or later, the desktop comes back, one line names it, status 1.
TEST_F(StartUpTest, FailuresEndThroughTheFailurePath) {
    // clang-format off
    const struct {
        const char* file;  // removed, or broken when it is the cross; nullptr: display mode refused
        const char* named;
        bool soundCreated;
        bool later;  // the file goes after start-up, and a lost display reloads it
    } cases[] = {
        {nullptr, "display mode", false, false},
        {"Data/Sport.dat", "Data\\Sport.dat", false, false},
        {"Grafik/Meny/Val/8Meny.jpg", "8Meny.jpg", true, false},
        {"Grafik/Meny/Val/kryss.bmp", "kryss.bmp", true, false},
        {"Grafik/Meny/Val/FilmMeny.jpg", "FilmMeny.jpg", true, true},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.named);
        TempDir dir;
        ScopedCurrentDir cwd(dir.Path());
        WriteMiniPack(dir.Path(), {.activityPictures = false});
        FormHarness h;
        if (c.later) {
            h.form.StartUp();
            h.platform.display.lost = true;
            h.platform.window.onYield = [&] { h.platform.display.lost = false; };
        } else {
            h.form.Form_Initialize();
        }
        h.platform.display.refuseDisplayMode = c.file == nullptr;
        if (c.file && std::string_view(c.file).ends_with(".bmp"))
            WriteFile(dir.Path() / c.file, "BM broken");
        if (c.file && !std::string_view(c.file).ends_with(".bmp"))
            std::filesystem::remove(dir.Path() / c.file);
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(h.form.Form_Load(), 1);
        const std::string errors = ::testing::internal::GetCapturedStderr();
        EXPECT_TRUE(errors.starts_with("quillowbee: ")) << errors;
        EXPECT_NE(errors.find(c.named), std::string::npos) << errors;
        EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
        ExpectDesktopBack(h);
        EXPECT_EQ(!h.platform.sound.buffers.empty(), c.soundCreated || c.later);
    }
}

// A switch stops all sounds, starts the new tune and shows a frame; an unknown screen ends it.
TEST_F(StartUpTest, TheFrameLoopSwitchesScreensWithTheirMusic) {
    h_.form.StartUp();
    h_.form.isRunning = true;
    // clang-format off
    const struct {
        int16_t screen, context;
        const char* music;  // nullptr: none
        bool running;
    } cases[] = {
        {12, 12, "StartMeny.wav", true}, {0, 0, "StartMeny.wav", true}, {3, 3, "SubMeny.wav", true},
        {1, 1, "SubMeny.wav", true},     {6, 7, nullptr, true},         {7, 0, nullptr, false},
        {13, 0, nullptr, false},         {-1, 0, nullptr, false},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.screen);
        h_.form.isRunning = true;
        h_.form.filmDelays = {100}, h_.form.filmIndex = 0;  // a film to enter
        DSound::PlaySound(DSound::kHen);
        const size_t before = h_.platform.sound.plays.size();
        const int presents = h_.platform.display.presents;
        h_.form.requestedScreen = c.screen;
        h_.form.menuContext = c.context;
        h_.Pass();
        EXPECT_EQ(h_.form.isRunning, c.running);
        if (!c.running) {
            h_.form.requestedScreen = 0;
            continue;
        }
        EXPECT_EQ(h_.form.currentScreen, c.screen);
        const auto& plays = h_.platform.sound.plays;
        EXPECT_EQ(plays.size() - before, c.music ? 1u : 0u);
        EXPECT_EQ(plays.size() > before ? plays.back().substr(plays.back().rfind('/') + 1) : "",
                  c.music ? c.music : "");
        EXPECT_EQ(DSound::GetSoundStatus(DSound::kHen), 0);
        EXPECT_EQ(h_.platform.display.presents, presents + 1);
    }
}

// A lost display: the loop waits handling input, then reads everything again and enters the
// screen again; a termination request during the wait ends at once.
TEST(DisplayLossTest, WaitsHandlesInputThenReloadsAndEntersAgain) {
    // clang-format off
    const struct {
        int16_t screen, context;
        size_t reloads;  // pictures read again
        bool quit;
    } cases[] = {
        // The build-up reloads its film (4) and first two build-up pictures.
        {0, 0, 53, false}, {2, 2, 53, false}, {12, 12, 53, false},
        {5, 10, 53 + 4 + 2, false}, {6, 10, 53, false}, {6, 10, 0, true},
    };
    // clang-format on
    ScopedCurrentDir cwd(SharedMiniPack());
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "screen " << c.screen << (c.quit ? ", quit" : ""));
        FormHarness h;
        h.form.StartUp();
        h.form.isRunning = true;
        h.form.selectedItem = 25;
        h.form.menuContext = c.context;
        h.form.requestedScreen = c.screen == 6 ? int16_t{5} : c.screen;
        h.Pass();
        // The film comes after the build-up; it moves on to its second picture.
        for (int64_t wait : {0, 500})
            if (c.screen == 6)
                h.form.requestedScreen = 6, h.platform.counter.AdvanceMs(wait), h.Pass();
        ASSERT_EQ(h.form.currentScreen, c.screen);
        const int16_t filmIndex = h.form.filmIndex;
        const size_t plays = h.platform.sound.plays.size();
        h.platform.window.pointerShapes.clear();
        h.platform.display.calls.clear();

        ScopedRecordingDecoder decoder;
        h.platform.display.lost = true;
        int yields = 0;
        h.platform.window.onYield = [&] {
            ++yields;
            // A right click (or a termination request) while the display is away.
            using enum InputEvent::Kind;
            if (yields == 2) h.platform.window.pending.push_back({c.quit ? Quit : MouseDown, 2});
            if (yields == (c.quit ? 50 : 5)) h.platform.display.lost = false;
        };
        // With a quit, the film's picture is due as well, so the film looks at the display again.
        h.platform.counter.AdvanceMs(c.quit ? 5000 : 40);
        h.Pass();

        EXPECT_EQ(decoder.Calls().size(), c.reloads);
        EXPECT_EQ(std::ranges::count(h.platform.display.calls, "RestoreAllSurfaces"),
                  c.quit ? 0 : 1);
        EXPECT_EQ(h.form.isRunning, !c.quit);
        EXPECT_TRUE(c.quit ? yields <= 3 : yields >= 5) << yields;
        if (c.quit) continue;
        EXPECT_TRUE(h.form.settings.showPointerSprite);
        EXPECT_EQ(h.platform.window.pointerShapes, (std::vector<int16_t>{11, 0}));
        EXPECT_EQ(h.form.currentScreen, c.screen);
        EXPECT_FALSE(h.form.isBusy || h.form.displayWasLost);
        // The screen did not change, so neither did the music.
        for (size_t i = plays; i < h.platform.sound.plays.size(); ++i)
            EXPECT_EQ(h.platform.sound.plays[i].find("Meny.wav"), std::string::npos);
        // The build-up starts again from its first picture; the film goes on where it was, the
        // picture's whole delay (120 ms) counted from the end of the wait.
        if (c.screen == 5) {
            EXPECT_EQ(h.form.buildUpIndex, 0);
        } else if (c.screen == 6) {
            EXPECT_EQ(h.form.filmIndex, filmIndex);
            EXPECT_EQ(h.form.filmDeadline, GameUtil::AddMs(GameUtil::GetMilliseconds(), 120));
        } else if (c.screen == 0) {
            EXPECT_TRUE(
                Shows(h.platform.display.PixelAt(5, 5), ColourOf("Grafik\\Meny\\StartMeny.jpg")));
        }
    }
}

}  // namespace
}  // namespace testing_support
