// The frame loop sleeps when a pass could only repeat itself: the passes it skips change nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "content/millisecond_clock.h"
#include "sound/dsound.h"
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

// Called as the loop begins a sleep (its limit the last wait): runs the passes it skips, one just
// after it starts, one halfway and one just before it ends. None changes anything, and each
// would sleep too (its wait is not kept). Nobody acts meanwhile; the clock ends at the sleep's end.
void CheckTheSkippedPasses(FormHarness& h) {
    headless::Window& window = h.platform.window;
    const int32_t limit = window.waits.back();
    const int64_t start = h.platform.counter.NowMs();
    const auto before = Take(h);
    auto act = std::exchange(window.onYield, nullptr);
    auto wait = std::exchange(window.onWait, nullptr);
    for (const int32_t at : std::set<int32_t>{1, limit / 2, limit - 1}) {
        if (at < 1 || at >= limit) continue;
        h.platform.counter.SetMs(start + at);
        const size_t waits = window.waits.size();
        h.form.RunPass();
        SCOPED_TRACE(::testing::Message()
                     << "screen " << h.form.currentScreen << ", picture " << h.form.filmIndex
                     << ", " << at << " ms into " << limit);
        EXPECT_TRUE(h.platform.display.lastChanged.empty());
        EXPECT_TRUE(Take(h) == before);
        ASSERT_EQ(window.waits.size(), waits + 1) << "the skipped pass stays awake";
        window.waits.pop_back();
    }
    h.platform.counter.SetMs(start + limit);
    window.onYield = std::move(act);
    window.onWait = std::move(wait);
}

TEST(IdlePasses, ThePassesASleepingLoopSkipsChangeNothing) {
    testing_support::ScopedCurrentDir cwd(testing_support::SharedMiniPack());
    FormHarness h;
    std::set<int16_t> sleepingScreens;
    h.platform.window.onWait = [&] {
        sleepingScreens.insert(h.form.currentScreen);
        CheckTheSkippedPasses(h);
    };
    testing_support::ScriptedRun run(h, testing_support::ChildTour());
    EXPECT_EQ(run.Run(), 0) << run.Errors();
    EXPECT_TRUE(run.Completed());
    // The tour never stays on a sub-menu. Its hen film sleeps between pictures: the hen loops and
    // the call has no end of its own here.
    EXPECT_EQ(sleepingScreens, (std::set<int16_t>{0, 5, 6, 12}));
    const auto& waits = h.platform.window.waits;
    EXPECT_TRUE(std::ranges::count(waits, 1000) > 0);
    EXPECT_TRUE(std::ranges::all_of(waits, [](int32_t ms) { return ms > 0 && ms <= 1000; }));
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

// The tokens separated by spaces, a run of n equal ones as "token*n".
std::string RunLengths(const std::vector<std::string>& tokens) {
    std::string text;
    for (size_t i = 0; i < tokens.size();) {
        size_t n = 1;
        while (i + n < tokens.size() && tokens[i + n] == tokens[i]) ++n;
        text += (text.empty() ? "" : " ") + tokens[i] + (n > 1 ? "*" + std::to_string(n) : "");
        i += n;
    }
    return text;
}

// A film sleeps until its next pass can change something: its next picture, the end of a sound
// it plays again (the hen's call on picture 6) or the time its end may leave. The log: sounds as
// they play, each sleep as "ms@picture", "leave" at the end. Passes that stay awake take a 20 ms
// refresh: the first, and the one that moves on to each new picture (the next shows it, then
// sleeps), so a picture of 100 ms sleeps 81 ms. A device that reports a sound's end late is
// looked at every 5 ms until it does (its lateness here is a whole number of such steps).
TEST(IdlePasses, AFilmSleepsUntilItsNextPassCanChangeSomething) {
    struct Row {
        const char* name;
        int16_t item;
        std::vector<int16_t> delays;
        int16_t picture, repeats, passes;  // the first picture; passes already shown
        int32_t stepAgo;                   // the build-up's last step, before the film starts
        int64_t callMs, callLateMs;        // the call's length (0: none) and how late its end shows
        int32_t runMs;                     // how long the film is watched
        const char* expected;
        bool silent = false;
        bool broken = false;  // the film's pictures did not load
        bool locked = false;  // an escape lock keeps the film
    };
    const std::vector<int16_t> hen = {50, 50, 50, 50, 50, 50, 300, 50};
    // clang-format off
    const Row rows[] = {
        {"no sounds of its own", 9, {100, 60, 80}, 0, 2, 0, 9000, 0, 0, 600, "81@0 41@1 61@2 81@0 41@1 61@2 click leave"},
        {"the violin loops on", 8, {100, 60}, 0, 2, 0, 9000, 0, 0, 600, "violin 81@0 41@1 81@0 41@1 click leave"},
        {"the hen's call ends", 24, hen, 6, 16, 0, 9000, 120, 0, 400, "hen call 100@6 call 120@6 call 61@6 31@7 31@0"},
        {"the call's end comes late", 24, hen, 6, 16, 0, 9000, 120, 10, 400, "hen call 100@6 5@6*2 call 120@6 5@6*2 call 41@6 31@7 31@0"},
        {"the call never ends here", 24, hen, 6, 16, 0, 9000, 0, 0, 400, "hen call 281@6 31@7 31@0"},
        {"no sound device", 24, hen, 6, 16, 0, 9000, 120, 0, 400, "281@6 31@7 31@0", true},
        {"the end waits for the guard", 9, {1500, 2000}, 0, 2, 2, 700, 0, 0, 5000, "1000@0 481@0 779@1 click leave"},
        {"the end clicks within the key delay", 9, {5000}, 0, 2, 2, 400, 0, 0, 5000, "click*6 1000@0*2 480@0 click leave"},
        {"an empty film holds", 8, {100, 100}, 0, 2, 2, 0, 0, 0, 2500, "1000@0*3", false, true},
        // Past the guard a locked Escape starts the key delay again, and it clicks through it.
        {"a lock keeps the film at its end", 9, {5000}, 0, 2, 2, 2990, 0, 0, 700, "click*25 1000@0", false, false, true},
    };
    // clang-format on
    const char* const names[] = {"violin", "hen", "call", "click"};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        testing_support::ActivityScene scene;
        MainMenuForm& form = scene.form;
        scene.SetItem(row.item, 3, 3, row.delays);
        scene.WriteSeries("Item\\Komplex\\Film\\", static_cast<int32_t>(row.delays.size()) - 1, 0,
                          1);
        if (row.broken) scene.RemovePicture("Item\\Komplex\\Film\\", 1);
        if (headless::SoundBuffer* call = scene.platform.sound.Find("Hona2.wav")) {
            call->lengthMs = row.callMs;
            call->lateMs = row.callLateMs;
        }
        DSound::soundEnabled = !row.silent;
        form.LoadFilm();
        form.filmIndex = row.picture;
        form.filmPasses = row.passes;
        form.menuContext = static_cast<int16_t>(row.item / 8 + 1 + MenuContext::kActivityOffset);
        form.currentScreen = form.requestedScreen = Screen::kFilm;
        form.settings.filmRepeats = row.repeats;
        form.settings.keyDelay = 500;
        form.settings.escapeLocks[0] = row.locked;
        form.stepTime = GameUtil::AddMs(scene.Now(), -row.stepAgo);
        form.EnterScreen();
        const int32_t start = scene.Now();

        std::vector<std::string> log;
        size_t plays = scene.platform.sound.plays.size();
        const auto logSounds = [&] {
            for (const int16_t n : scene.SoundsSince(plays))
                log.push_back(n >= 0 && n < 4 ? names[n] : "other");
            plays = scene.platform.sound.plays.size();
        };
        bool slept = false;
        scene.platform.window.onWait = [&] {
            logSounds();
            log.push_back(std::to_string(scene.platform.window.waits.back()) + "@" +
                          std::to_string(form.filmIndex));
            CheckTheSkippedPasses(scene.harness);
            slept = true;
        };
        for (int pass = 0; pass < 100 && form.requestedScreen == Screen::kFilm &&
                           GameUtil::ElapsedMs(scene.Now(), start) < row.runMs;
             ++pass) {
            slept = false;
            form.RunPass();
            logSounds();
            if (!slept) scene.platform.counter.AdvanceMs(20);
        }
        scene.platform.window.onWait = nullptr;
        if (form.requestedScreen != Screen::kFilm) log.push_back("leave");
        EXPECT_EQ(RunLengths(log), row.expected);
    }
}

}  // namespace
