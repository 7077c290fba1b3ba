// The frame loop sleeps when a pass could only repeat itself: the passes it skips change nothing.
#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "content/millisecond_clock.h"
#include "support/activity_scene.h"
#include "support/child_tour.h"
#include "support/mini_pack.h"
#include "support/test_files.h"

namespace {

using testing_support::FormHarness;

// Everything a pass could change that a child or the rest of the program could see.
auto Take(FormHarness& h) {
    const MainMenuForm& f = h.form;
    std::vector<bool> sounding;
    for (const auto* buffer : h.platform.sound.buffers) sounding.push_back(buffer->playing);
    return std::tuple(
        std::vector<int32_t>{f.currentScreen, f.requestedScreen, f.menuContext, f.selectedItem,
                             f.mainMenuFocus, f.subMenuFocus, f.buildUpIndex, f.buildUpStepsTaken,
                             f.filmIndex, f.filmPasses, f.filmDeadline, f.stepTime, f.isRunning,
                             f.isBusy, f.settings.movieOnHd},
        h.platform.display.lastFrame, h.platform.sound.plays, sounding,
        h.platform.window.pointerShapes, h.platform.window.warps.size(),
        h.platform.settings.writes.size());
}

TEST(IdlePasses, ThePassesASleepingLoopSkipsChangeNothing) {
    testing_support::ScopedCurrentDir cwd(testing_support::SharedMiniPack());
    FormHarness h;
    std::set<int16_t> sleepingScreens;
    h.platform.window.onWait = [&] {
        sleepingScreens.insert(h.form.currentScreen);
        const auto before = Take(h);
        // Nobody acts while the loop sleeps, and a skipped pass does not sleep again.
        auto tour = std::exchange(h.platform.window.onYield, nullptr);
        auto wait = std::exchange(h.platform.window.onWait, nullptr);
        for (int pass = 0; pass < 3; ++pass) {
            h.platform.counter.AdvanceMs(400);
            h.form.RunPass();
            EXPECT_TRUE(h.platform.display.lastChanged.empty()) << h.form.currentScreen;
            EXPECT_TRUE(Take(h) == before) << "screen " << h.form.currentScreen;
        }
        h.platform.window.onYield = std::move(tour);
        h.platform.window.onWait = std::move(wait);
    };
    testing_support::ScriptedRun run(h, testing_support::ChildTour());
    EXPECT_EQ(run.Run(), 0) << run.Errors();
    EXPECT_TRUE(run.Completed());
    // The tour never stays on a sub-menu; its film restarts its sounds, so it never sleeps.
    EXPECT_EQ(sleepingScreens, (std::set<int16_t>{0, 5, 12}));
    EXPECT_EQ(std::set<int32_t>(h.platform.window.waits.begin(), h.platform.window.waits.end()),
              std::set<int32_t>{1000});
}

// Passes ending in a sleep ("w"): not the first, nor the one after an event arrived in a sleep.
TEST(IdlePasses, AnEventKeepsTheLoopAwakeForOnePass) {
    FormHarness h;
    h.PrepareWithoutContent();
    h.form.isRunning = true;  // as the loop sets it
    using Kind = headless::InputEvent::Kind;
    const std::pair<std::optional<headless::InputEvent>, const char*> steps[] = {
        {std::nullopt, "-ww"},
        {headless::InputEvent{Kind::MouseMove}, "w-w"},
        {headless::InputEvent{Kind::KeyUp, 65}, "w-w"},   // a key that changes nothing
        {headless::InputEvent{Kind::KeyUp, 32}, "w-ww"},  // Space: the focus moves
    };
    for (const auto& [event, expected] : steps) {
        if (event)
            h.platform.window.onWait = [&h, e = *event] {
                h.platform.window.pointer = {600, 400};
                h.platform.window.pending.push_back(e);
                h.platform.window.onWait = nullptr;
            };
        std::string passes;
        for (size_t i = 0; expected[i] != '\0'; ++i) {
            const size_t waits = h.platform.window.waits.size();
            h.Pass();
            passes += h.platform.window.waits.size() > waits ? "w" : "-";
        }
        EXPECT_EQ(passes, expected);
    }
}

// A film without sounds of its own sleeps until its next picture is due.
TEST(IdlePasses, AFilmSleepsUntilItsNextPictureIsDue) {
    testing_support::ActivityScene scene;
    MainMenuForm& form = scene.form;
    scene.SetItem(9, 3, 3, {100, 60, 80});
    scene.WriteSeries("Item\\Komplex\\Film\\", 2, 0, 1);
    form.LoadFilm();
    form.menuContext = 9 / 8 + 1 + 6;
    form.currentScreen = form.requestedScreen = Screen::kFilm;
    form.settings.filmRepeats = 2;
    form.EnterScreen();
    form.isRunning = true;                            // as the loop sets it
    std::vector<std::pair<int32_t, int16_t>> sleeps;  // how long, on which picture
    scene.platform.window.onWait = [&] {
        const int32_t start = scene.Now();
        const int32_t limit = scene.platform.window.waits.back();
        sleeps.push_back({limit, form.filmIndex});
        const auto before = Take(scene.harness);
        auto wait = std::exchange(scene.platform.window.onWait, nullptr);
        for (int32_t at : {1, limit / 2, limit - 1}) {
            scene.platform.counter.SetMs(GameUtil::AddMs(start, at));
            form.RunPass();
            EXPECT_TRUE(Take(scene.harness) == before)
                << "picture " << form.filmIndex << " at " << at;
        }
        scene.platform.counter.SetMs(GameUtil::AddMs(start, limit));  // the sleep ends
        scene.platform.window.onWait = std::move(wait);
    };
    for (int pass = 0; pass < 40 && form.requestedScreen == Screen::kFilm; ++pass) form.RunPass();
    scene.platform.window.onWait = nullptr;
    // Strictly past each deadline; the second pass's end asks to leave at once.
    EXPECT_EQ(sleeps, (std::vector<std::pair<int32_t, int16_t>>{
                          {101, 0}, {61, 1}, {81, 2}, {101, 0}, {61, 1}, {81, 2}}));
    EXPECT_NE(form.requestedScreen, Screen::kFilm);
}

}  // namespace
