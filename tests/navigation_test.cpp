// Navigation by keys, mouse and window requests, and the guard times of leaving an activity.
#include <gtest/gtest.h>

#include <vector>

#include "content/millisecond_clock.h"
#include "navigation_fixture.h"

namespace {

using platform::kKeyDelete;
using platform::kKeyEnter;
using platform::kKeyEscape;
using platform::kKeyF1;
using platform::kKeySpace;
using testing_support::NavigationTest;

enum class In { Key, Left, Middle, Right, Move, Close, Quit };
constexpr int16_t kCtrl = platform::kShiftCtrl;
constexpr int16_t kNone = -1;

struct Case {
    const char* name;
    int16_t screen, context;
    In input;
    int16_t key, shift;
    platform::Point at;  // where the click lands, or where the pointer lies for a key
    int16_t requested, contextAfter;
    int clicks;  // click sounds; no other sound is played
    bool running = true, exitLocked = false;
    std::vector<int> disabled = {};
    int16_t focusBefore = 0;
    int16_t focus = kNone;  // sub-menu focus afterwards
    bool warp = false;      // the pointer was warped to that focus
    int16_t item = kNone;   // the item chosen
    bool busy = false;      // a screen is loading
};

// clang-format off
const Case kCases[] = {
    // Main menu quadrants split at 400 x 300; the lines belong to the left and upper quadrants.
    {"quadrant corner", 0, 0, In::Left, 0, 0, {400, 300}, 2, 2, 1, true, false, {}, 5, 0, true},
    {"lower right", 0, 0, In::Left, 0, 0, {401, 301}, 1, 1, 1, true, false, {}, 5, 0, true},
    {"lower left", 0, 0, In::Left, 0, 0, {400, 301}, 3, 3, 1, true, false, {}, 5, 0, true},
    {"upper right", 0, 0, In::Left, 0, 0, {401, 300}, 4, 4, 1, true, false, {}, 5, 0, true},
    {"middle button", 0, 0, In::Middle, 0, 0, {600, 100}, 4, 4, 1, true, false, {}, 5, 0, true},
    {"first enabled entry", 0, 0, In::Left, 0, 0, {100, 400}, 3, 3, 1, true, false, {16, 17, 18, 19, 20, 21, 22}, 0, 7, true},
    {"other themes' entries", 0, 0, In::Left, 0, 0, {600, 400}, 1, 1, 1, true, false, {8, 9, 16}, 3, 0, true},
    {"whole theme disabled", 0, 0, In::Left, 0, 0, {100, 100}, 2, 2, 1, true, false, {8, 9, 10, 11, 12, 13, 14, 15}, 3, 3, true},
    // Exit corner 734-789 x 534-589, choices button 734-789 x 466-524.
    {"exit top left", 0, 0, In::Left, 0, 0, {734, 534}, 0, 0, 1, false},
    {"exit bottom right", 0, 0, In::Left, 0, 0, {789, 589}, 0, 0, 1, false},
    {"left of exit", 0, 0, In::Left, 0, 0, {733, 560}, 1, 1, 1, true, false, {}, 0, 0, true},
    {"above exit", 0, 0, In::Left, 0, 0, {760, 533}, 1, 1, 1, true, false, {}, 0, 0, true},
    {"exit locked", 0, 0, In::Left, 0, 0, {760, 560}, 0, 0, 1, true, true},
    {"choices top left", 0, 0, In::Left, 0, 0, {734, 466}, 12, 12, 1},
    {"choices bottom right", 0, 0, In::Left, 0, 0, {789, 524}, 12, 12, 1},
    {"right of choices", 0, 0, In::Left, 0, 0, {790, 500}, 1, 1, 1, true, false, {}, 0, 0, true},
    {"below choices", 0, 0, In::Left, 0, 0, {760, 525}, 1, 1, 1, true, false, {}, 0, 0, true},
    // Sub-menu cells split at x = 200, 400, 600 and below y = 260.
    {"cell 0 corner", 2, 2, In::Left, 0, 0, {199, 260}, 5, 8, 1, true, false, {}, 0, kNone, false, 8},
    {"cell 5 corner", 2, 2, In::Left, 0, 0, {200, 261}, 5, 8, 1, true, false, {}, 0, kNone, false, 13},
    {"below the cells", 2, 2, In::Left, 0, 0, {100, 560}, 5, 8, 1, true, false, {}, 0, kNone, false, 12},
    {"last column", 4, 4, In::Left, 0, 0, {799, 0}, 5, 10, 1, true, false, {}, 0, kNone, false, 27},
    {"left of the corner", 1, 1, In::Left, 0, 0, {733, 560}, 5, 7, 1, true, false, {}, 0, kNone, false, 7},
    {"sub-menu exit", 3, 3, In::Left, 0, 0, {734, 534}, 0, 0, 1},
    {"disabled entry", 2, 2, In::Left, 0, 0, {200, 261}, 2, 2, 0, true, false, {13}},
    {"same slot elsewhere", 1, 1, In::Left, 0, 0, {100, 100}, 5, 7, 1, true, false, {8}, 0, kNone, false, 0},
    {"move sets focus", 2, 2, In::Move, 0, 0, {200, 261}, 2, 2, 0, true, false, {13}, 0, 5},
    {"move off sub-menus", 0, 0, In::Move, 0, 0, {799, 599}, 0, 0, 0, true, false, {}, 3, 3},
    {"right button", 3, 3, In::Right, 0, 0, {760, 560}, 3, 3, 0},
    {"space skips disabled", 3, 3, In::Key, kKeySpace, 0, {0, 0}, 3, 3, 1, true, false, {17, 18}, 0, 3, true},
    {"space wraps", 4, 4, In::Key, kKeySpace, 0, {0, 0}, 4, 4, 1, true, false, {24}, 7, 1, true},
    {"space alone", 1, 1, In::Key, kKeySpace, 0, {0, 0}, 1, 1, 1, true, false, {0, 1, 2, 3, 4, 6, 7}, 5, 5, true},
    {"space, whole theme off", 2, 2, In::Key, kKeySpace, 0, {0, 0}, 2, 2, 1, true, false, {8, 9, 10, 11, 12, 13, 14, 15}, 3, 3, true},
    {"enter moves, clicks", 1, 1, In::Key, kKeyEnter, 0, {110, 130}, 5, 7, 2, true, false, {}, 0, 1, false, 0},
    {"enter over disabled", 3, 3, In::Key, kKeyEnter, 0, {110, 130}, 3, 3, 1, true, false, {16, 17}, 0, 2},
    {"enter on exit corner", 4, 4, In::Key, kKeyEnter, 0, {789, 589}, 0, 0, 2},
    {"enter on main menu", 0, 0, In::Key, kKeyEnter, 0, {560, 135}, 4, 4, 2, true, false, {}, 0, 0, true},
    {"enter on main exit", 0, 0, In::Key, kKeyEnter, 0, {760, 560}, 0, 0, 2, false},
    {"space on choices", 12, 12, In::Key, kKeySpace, 0, {653, 533}, 12, 12, 1},
    {"escape quits", 0, 0, In::Key, kKeyEscape, 0, {0, 0}, 0, 0, 1, false},
    {"escape locked", 0, 0, In::Key, kKeyEscape, 0, {0, 0}, 0, 0, 1, true, true},
    {"escape sub-menu", 1, 1, In::Key, kKeyEscape, 0, {0, 0}, 0, 0, 1, true, true},
    {"escape choices", 12, 12, In::Key, kKeyEscape, 0, {0, 0}, 0, 0, 1},
    {"escape other context", 0, 11, In::Key, kKeyEscape, 0, {0, 0}, 0, 11, 1},
    {"ctrl+delete locked", 2, 2, In::Key, kKeyDelete, kCtrl, {0, 0}, 2, 2, 1, false, true},
    {"ctrl+shift+delete", 0, 0, In::Key, kKeyDelete, 3, {0, 0}, 0, 0, 1, true, true},
    {"ctrl+delete open", 0, 0, In::Key, kKeyDelete, kCtrl, {0, 0}, 0, 0, 1},
    {"F1 main menu", 0, 0, In::Key, kKeyF1, 0, {0, 0}, 12, 12, 0},
    {"F1 sub-menu", 2, 2, In::Key, kKeyF1, 0, {0, 0}, 2, 2, 1},
    {"other key", 5, 9, In::Key, 65, kCtrl, {0, 0}, 5, 9, 1, true, true},
    // Window requests: the exit lock refuses the close button, never a termination request.
    {"close", 6, 8, In::Close, 0, 0, {0, 0}, 6, 8, 0, false},
    {"close locked", 2, 2, In::Close, 0, 0, {0, 0}, 2, 2, 0, true, true},
    {"quit locked", 5, 8, In::Quit, 0, 0, {0, 0}, 5, 8, 0, false, true},
    // Nothing happens while a screen loads.
    {"busy: escape", 0, 0, In::Key, kKeyEscape, kCtrl, {0, 0}, 0, 0, 0, true, true, {}, 0, kNone, false, kNone, true},
    {"busy: right button", 5, 8, In::Right, 0, 0, {100, 100}, 5, 8, 0, true, true, {}, 0, kNone, false, kNone, true},
};
// clang-format on

TEST_F(NavigationTest, InputOutcomes) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        h.platform.sound.plays.clear();
        h.platform.window.warps.clear();
        form.ResetSettings(0);
        for (int item : c.disabled) form.settings.itemEnabled[static_cast<size_t>(item)] = false;
        form.settings.exitLocked = c.exitLocked;
        form.settings.showPointerSprite = false;
        form.settings.page = 3;
        form.savedSettings = {};
        form.subMenuFocus = c.focusBefore;
        form.selectedItem = 31;
        form.isRunning = true;
        form.isBusy = c.busy;
        Show(c.screen, c.context);
        h.platform.window.pointer = c.at;
        using Kind = headless::InputEvent::Kind;
        if (c.input == In::Key) {
            h.Key(c.key, c.shift);
        } else if (c.input == In::Move) {
            h.MoveTo(c.at.x, c.at.y);
        } else if (c.input == In::Close || c.input == In::Quit) {
            h.platform.window.pending.push_back({c.input == In::Close ? Kind::Close : Kind::Quit});
            h.platform.window.Yield(form);
        } else {
            h.Click(c.at.x, c.at.y,
                    c.input == In::Left     ? platform::kButtonLeft
                    : c.input == In::Middle ? platform::kButtonMiddle
                                            : platform::kButtonRight);
        }
        EXPECT_EQ(std::pair(form.requestedScreen, form.menuContext),
                  std::pair(c.requested, c.contextAfter));
        EXPECT_EQ(form.isRunning, c.running);
        EXPECT_EQ(std::pair(Clicks(), Plays()), std::pair(c.clicks, static_cast<size_t>(c.clicks)));
        EXPECT_EQ(form.settings.showPointerSprite, c.input == In::Right && !c.busy);
        EXPECT_EQ(form.selectedItem, c.item == kNone ? 31 : c.item);
        // Only the choices screen's own buttons change its page; opening it keeps the settings.
        EXPECT_EQ(form.settings.page, 3);
        EXPECT_EQ(form.savedSettings == form.settings, c.requested == 12 && c.screen != 12);
        EXPECT_TRUE(c.focus == kNone || form.subMenuFocus == c.focus) << form.subMenuFocus;
        EXPECT_EQ(h.platform.window.warps, c.warp ? std::vector{form.subMenuWarpPoints[c.focus]}
                                                  : std::vector<platform::Point>{});
    }
}

TEST_F(NavigationTest, SpaceOnTheMainMenuCyclesItsFourWarpPoints) {
    for (int16_t focus : {1, 2, 3, 0, 1}) {
        h.Key(kKeySpace);
        EXPECT_EQ(form.mainMenuFocus, focus);
        EXPECT_EQ(h.platform.window.warps.back(), form.mainMenuWarpPoints[focus]);
    }
    EXPECT_EQ(Clicks(), 5);
}

enum class Result { Leaves, ClickOnly, Silent, LockedRenews, ToChoices };

// clang-format off
const struct {
    int16_t screen, key;  // key 0: a click
    int32_t elapsed;      // ms since stepTime
    int16_t keyDelay;
    bool locked;
    Result result;
    int clicks;
} kLeaveCases[] = {
    // On the film: within the key delay (or with stepTime ahead of the clock) a click only; then
    // nothing before 3000 ms; then it leaves, unless locked, which renews stepTime.
    {6, kKeyEscape, -10, 500, false, Result::ClickOnly, 1}, {6, kKeyEscape, 501, 500, false, Result::Silent, 0},
    {6, kKeyEscape, 2999, 500, false, Result::Silent, 0},   {6, kKeyEscape, 3000, 500, false, Result::Leaves, 1},
    {6, kKeyEscape, 3000, 500, true, Result::LockedRenews, 0}, {6, kKeyEscape, 2999, 500, true, Result::Silent, 0},
    // No 3000 ms guard on the build-up.
    {5, kKeyEscape, 501, 500, false, Result::Leaves, 1},    {5, kKeyEscape, 500, 500, false, Result::ClickOnly, 1},
    {5, kKeyEscape, 501, 500, true, Result::LockedRenews, 0},
    // Space and a click on the film go through Escape, each level with its own click.
    {6, kKeySpace, 2999, 500, false, Result::Silent, 0},    {6, kKeySpace, 3000, 500, false, Result::Leaves, 2},
    {6, kKeySpace, 3000, 3000, false, Result::ClickOnly, 1}, {6, 0, 3000, 500, false, Result::Leaves, 2},
    {6, 0, 4000, 500, true, Result::LockedRenews, 1},
    // F1 leaves for the choices screen at once, silently; the film keeps its pictures.
    {5, kKeyF1, 0, 500, true, Result::ToChoices, 0},        {6, kKeyF1, 0, 500, true, Result::ToChoices, 0},
};
// clang-format on

TEST_F(NavigationTest, LeavingAnActivityAcrossTheClocksTurn) {
    // Ordinary, just before the signed 32-bit reading turns negative, just before it wraps.
    for (int64_t start : {100000LL, 2147483647LL - 1000, 4294967296LL - 1000}) {
        for (const auto& c : kLeaveCases) {
            SCOPED_TRACE(testing::Message() << start << ": row " << (&c - kLeaveCases));
            // An activity of theme 3 from slot 2, its pictures loaded and the violin on.
            Show(c.screen, 9);
            form.selectedItem = 18;
            form.subMenuFocus = 2;
            form.buildUpPicture = SolidSurface(8, 8, 0x0000FF);
            form.nextBuildUpPicture = SolidSurface(8, 8, 0x0000FF);
            form.filmPictures.resize(2);
            form.filmPictures[1] = SolidSurface(8, 8, 0x0000FF);
            DSound::PlaySound(DSound::kViolin);
            h.platform.sound.plays.clear();
            h.platform.window.warps.clear();
            form.settings.keyDelay = c.keyDelay;
            form.settings.escapeLocks = {false, false, c.locked, false};
            h.platform.counter.SetMs(start);
            const int32_t before = form.stepTime = GameUtil::GetMilliseconds();
            h.platform.counter.SetMs(start + c.elapsed);
            const int32_t now = GameUtil::GetMilliseconds();

            c.key ? h.Key(c.key) : h.Click(400, 300);

            const bool leaves = c.result == Result::Leaves;
            const bool released = leaves || c.result == Result::ToChoices;
            EXPECT_EQ(std::pair(Clicks(), Plays()),
                      std::pair(c.clicks, static_cast<size_t>(c.clicks)));
            EXPECT_EQ(form.stepTime, leaves || c.result == Result::LockedRenews ? now : before);
            const int16_t screen = leaves ? 3 : c.result == Result::ToChoices ? 12 : c.screen;
            EXPECT_EQ(form.requestedScreen, screen);
            EXPECT_EQ(form.menuContext, screen == c.screen ? 9 : screen);
            EXPECT_EQ(
                std::tuple(!form.buildUpPicture, !form.nextBuildUpPicture, !form.filmPictures[1]),
                std::tuple(released, released, released && c.screen == 6));
            EXPECT_EQ(h.platform.sound.Find("Fiol.wav")->playing, !leaves);
            EXPECT_EQ(h.platform.window.warps, leaves ? std::vector{form.subMenuWarpPoints[2]}
                                                      : std::vector<platform::Point>{});
        }
    }
}

}  // namespace
