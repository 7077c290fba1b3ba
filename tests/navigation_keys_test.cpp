#include <gtest/gtest.h>

#include <vector>

#include "navigation_fixture.h"

namespace {

using platform::kKeyDelete;
using platform::kKeyEnter;
using platform::kKeyEscape;
using platform::kKeyF1;
using platform::kKeySpace;
using testing_support::NavigationTest;

class FocusKeysTest : public NavigationTest {};

TEST_F(FocusKeysTest, SpaceOnTheMainMenuCyclesFromTheStart) {
    const int16_t expected[] = {1, 2, 3, 0, 1};
    for (int16_t focus : expected) {
        h.Key(kKeySpace);
        EXPECT_EQ(form.mainMenuFocus, focus);
        EXPECT_EQ(Pointer(), form.mainMenuWarpPoints[focus]);
    }
    const std::vector<platform::Point> warps = {
        {560, 135}, {245, 415}, {560, 415}, {245, 135}, {560, 135}};
    EXPECT_EQ(h.platform.window.warps, warps);
    EXPECT_EQ(Clicks(), 5);
    EXPECT_EQ(form.requestedScreen, 0);
}

TEST_F(FocusKeysTest, SpaceInASubMenuSkipsDisabledEntries) {
    struct Case {
        int16_t theme, focus;
        std::vector<int> disabledSlots;  // of the theme shown
        std::vector<int> otherDisabled;  // global items of other themes
        int16_t expected;
    };
    const Case cases[] = {
        {1, 0, {}, {}, 1},
        {2, 7, {}, {}, 0},
        {3, 0, {1, 2}, {}, 3},
        {4, 7, {0}, {}, 1},
        {2, 6, {7, 0, 1}, {}, 2},
        {1, 5, {0, 1, 2, 3, 4, 6, 7}, {}, 5},  // the only enabled entry stays focused
        {3, 6, {0, 1, 3, 4, 5, 6, 7}, {}, 2},
        {1, 0, {}, {9, 17, 25}, 1},  // other themes' entries do not count
        {4, 3, {}, {4, 12, 20}, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "theme " << c.theme << " from " << c.focus);
        form.settings.itemEnabled.fill(true);
        for (int slot : c.disabledSlots) {
            form.settings.itemEnabled[(c.theme - 1) * 8 + slot] = false;
        }
        for (int item : c.otherDisabled) {
            form.settings.itemEnabled[item] = false;
        }
        h.platform.sound.plays.clear();
        h.platform.window.warps.clear();
        Show(c.theme, c.theme);
        form.subMenuFocus = c.focus;
        h.Key(kKeySpace);
        EXPECT_EQ(form.subMenuFocus, c.expected);
        EXPECT_EQ(h.platform.window.warps,
                  std::vector<platform::Point>{form.subMenuWarpPoints[c.expected]});
        EXPECT_EQ(Clicks(), 1);
        EXPECT_EQ(form.requestedScreen, c.theme);
    }
}

TEST_F(FocusKeysTest, EnterInASubMenuMovesTheFocusThenClicksAtThePointer) {
    Show(1, 1);
    form.subMenuFocus = 0;
    h.platform.window.pointer = {110, 130};  // on entry 0
    h.Key(kKeyEnter);
    EXPECT_EQ(form.subMenuFocus, 1);
    EXPECT_EQ(form.selectedItem, 0);
    EXPECT_EQ(form.requestedScreen, 5);
    EXPECT_EQ(form.menuContext, 7);
    EXPECT_TRUE(h.platform.window.warps.empty());
    EXPECT_EQ(Clicks(), 2);  // the click's own and the key's
}

TEST_F(FocusKeysTest, EnterInASubMenuOverADisabledEntryOnlyMovesTheFocus) {
    form.settings.itemEnabled[16] = false;
    form.settings.itemEnabled[17] = false;
    Show(3, 3);
    form.subMenuFocus = 0;
    h.platform.window.pointer = {110, 130};
    h.Key(kKeyEnter);
    EXPECT_EQ(form.subMenuFocus, 2);
    EXPECT_EQ(form.requestedScreen, 3);
    EXPECT_EQ(Clicks(), 1);
}

TEST_F(FocusKeysTest, EnterClicksAtThePointerOnTheMainMenu) {
    struct Case {
        platform::Point pointer;
        int16_t requested;
        bool running;
    };
    const Case cases[] = {
        {{560, 135}, 4, true},
        {{760, 500}, 12, true},
        {{760, 560}, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.pointer.x << ", " << c.pointer.y);
        h.platform.sound.plays.clear();
        Show(0, 0);
        form.isRunning = true;
        form.mainMenuFocus = 2;
        h.platform.window.pointer = c.pointer;
        h.Key(kKeyEnter);
        EXPECT_EQ(form.requestedScreen, c.requested);
        EXPECT_EQ(form.isRunning, c.running);
        EXPECT_EQ(form.mainMenuFocus, 2);
        EXPECT_EQ(Clicks(), 2);
    }
}

TEST_F(FocusKeysTest, EnterOnTheExitCornerOfASubMenuGoesBack) {
    Show(4, 4);
    h.platform.window.pointer = {789, 589};
    h.Key(kKeyEnter);
    EXPECT_EQ(form.requestedScreen, 0);
    EXPECT_EQ(form.menuContext, 0);
    EXPECT_EQ(Clicks(), 2);
}

TEST_F(FocusKeysTest, SpaceAndEnterOnTheChoicesScreenOnlyClick) {
    Show(12, 12);
    form.settings.page = 3;
    h.platform.window.pointer = {653, 533};  // on the leave button, which they must not press
    h.Key(kKeySpace);
    h.Key(kKeyEnter);
    EXPECT_EQ(form.requestedScreen, 12);
    EXPECT_EQ(form.settings.page, 3);
    EXPECT_TRUE(h.platform.window.warps.empty());
    EXPECT_EQ(Clicks(), 2);
}

class EmptyThemeTest : public NavigationTest {};

// Settings never disable a whole theme, but if one is, the searches must end and stay in range.
TEST_F(EmptyThemeTest, ClickSpaceAndEnterKeepTheFocusWhereItWas) {
    for (int item = 8; item < 16; ++item) {
        form.settings.itemEnabled[item] = false;
    }
    form.subMenuFocus = 3;
    h.Click(100, 100);
    EXPECT_EQ(form.requestedScreen, 2);
    EXPECT_EQ(form.subMenuFocus, 3);
    EXPECT_EQ(Pointer(), form.subMenuWarpPoints[3]);
    Switch();

    h.Key(kKeySpace);
    EXPECT_EQ(form.subMenuFocus, 3);
    EXPECT_EQ(Pointer(), form.subMenuWarpPoints[3]);

    h.Key(kKeyEnter);
    EXPECT_EQ(form.subMenuFocus, 3);
    EXPECT_EQ(form.requestedScreen, 2);
    EXPECT_EQ(Clicks(), 3);
}

class QuitKeysTest : public NavigationTest {};

TEST_F(QuitKeysTest, DeleteQuitsOnlyWithCtrlAloneWhileExitIsLocked) {
    struct Case {
        int16_t shift;
        bool exitLocked;
        int16_t screen, context;
        bool quits;
    };
    const Case cases[] = {
        {2, true, 0, 0, true},  {2, true, 2, 2, true},  {2, true, 6, 8, true},
        {3, true, 0, 0, false},  // Ctrl+Shift
        {6, true, 0, 0, false},  // Ctrl+Alt
        {0, true, 0, 0, false}, {1, true, 0, 0, false}, {2, false, 0, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "shift " << c.shift << ", locked " << c.exitLocked);
        h.platform.sound.plays.clear();
        Show(c.screen, c.context);
        form.isRunning = true;
        form.settings.exitLocked = c.exitLocked;
        h.Key(kKeyDelete, c.shift);
        EXPECT_EQ(form.isRunning, !c.quits);
        EXPECT_EQ(form.requestedScreen, c.screen);
        EXPECT_EQ(Clicks(), 1);
    }
}

TEST_F(QuitKeysTest, EscapeByMenuContext) {
    struct Case {
        int16_t screen, context;
        bool exitLocked;
        int16_t requested, contextAfter;
        bool running;
    };
    const Case cases[] = {
        {0, 0, false, 0, 0, false},  {0, 0, true, 0, 0, true},    {1, 1, false, 0, 0, true},
        {4, 4, true, 0, 0, true},    {12, 12, false, 0, 0, true}, {0, 5, false, 0, 5, true},
        {0, 11, false, 0, 11, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "context " << c.context);
        h.platform.sound.plays.clear();
        Show(c.screen, c.context);
        form.isRunning = true;
        form.settings.exitLocked = c.exitLocked;
        form.settings.page = 2;
        h.Key(kKeyEscape);
        EXPECT_EQ(form.requestedScreen, c.requested);
        EXPECT_EQ(form.menuContext, c.contextAfter);
        EXPECT_EQ(form.isRunning, c.running);
        EXPECT_EQ(form.settings.page, 2);
        EXPECT_EQ(Clicks(), 1);
    }
}

TEST_F(QuitKeysTest, TheExitLockRefusesTheWindowsCloseRequestButNotTermination) {
    using Kind = headless::InputEvent::Kind;
    const struct {
        Kind request;
        bool exitLocked;
        int16_t screen, context;
        bool quits;
    } cases[] = {
        {Kind::Close, false, 0, 0, true}, {Kind::Close, false, 6, 8, true},
        {Kind::Close, true, 0, 0, false}, {Kind::Close, true, 2, 2, false},
        {Kind::Close, true, 6, 8, false}, {Kind::Close, true, 12, 12, false},
        {Kind::Quit, true, 0, 0, true},   {Kind::Quit, true, 5, 8, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "screen " << c.screen << ", locked " << c.exitLocked);
        Show(c.screen, c.context);
        form.isRunning = true;
        form.settings.exitLocked = c.exitLocked;
        h.platform.window.pending.push_back({c.request});
        h.platform.window.Yield(form);
        EXPECT_EQ(form.isRunning, !c.quits);
        EXPECT_EQ(form.requestedScreen, c.screen);
    }
}

TEST_F(QuitKeysTest, AnyOtherKeyOnlyClicks) {
    const int16_t keys[] = {0, 9, 65, 113, 8, 45, 123, platform::kKeyOther};
    const struct {
        int16_t screen, context;
    } screens[] = {{0, 0}, {2, 2}, {5, 9}, {6, 9}, {12, 12}};
    for (const auto& s : screens) {
        for (int16_t key : keys) {
            SCOPED_TRACE(testing::Message() << "screen " << s.screen << ", key " << key);
            h.platform.sound.plays.clear();
            Show(s.screen, s.context);
            form.isRunning = true;
            form.settings.exitLocked = true;
            h.Key(key, platform::kShiftCtrl);
            EXPECT_EQ(Clicks(), 1);
            EXPECT_EQ(Plays(), 1u);
            EXPECT_EQ(form.requestedScreen, s.screen);
            EXPECT_EQ(form.menuContext, s.context);
            EXPECT_TRUE(form.isRunning);
        }
    }
    EXPECT_TRUE(h.platform.window.warps.empty());
}

class HelpKeyTest : public NavigationTest {};

TEST_F(HelpKeyTest, OpensTheChoicesScreenFromTheMainMenuSilently) {
    form.settings.keyDelay = 1500;
    h.Key(kKeyF1);
    EXPECT_EQ(form.requestedScreen, 12);
    EXPECT_EQ(form.menuContext, 12);
    EXPECT_EQ(form.savedSettings, form.settings);
    EXPECT_EQ(Plays(), 0u);
}

TEST_F(HelpKeyTest, OnlyClicksInSubMenusAndOnTheChoicesScreen) {
    for (int16_t screen : {1, 2, 3, 4, 12}) {
        SCOPED_TRACE(testing::Message() << "screen " << screen);
        h.platform.sound.plays.clear();
        Show(screen, screen);
        form.savedSettings = {};
        h.Key(kKeyF1);
        EXPECT_EQ(form.requestedScreen, screen);
        EXPECT_EQ(form.menuContext, screen);
        EXPECT_EQ(form.savedSettings, ChoiceSettings{});
        EXPECT_EQ(Clicks(), 1);
    }
}

TEST_F(HelpKeyTest, LeavesAnActivityForTheChoicesScreenAndEscapeThenGoesToTheMainMenu) {
    for (int16_t screen : {5, 6}) {
        SCOPED_TRACE(testing::Message() << "screen " << screen);
        h.platform.sound.plays.clear();
        Show(screen, 9);
        form.buildUpPicture = SolidSurface(8, 8, 0x00FF00);
        form.nextBuildUpPicture = SolidSurface(8, 8, 0x00FF00);
        form.filmPictures[0] = SolidSurface(8, 8, 0x00FF00);
        h.Key(kKeyF1);
        EXPECT_EQ(form.requestedScreen, 12);
        EXPECT_EQ(form.menuContext, 12);
        EXPECT_EQ(form.buildUpPicture, nullptr);
        EXPECT_EQ(form.nextBuildUpPicture, nullptr);
        // Leaving the build-up keeps the film's pictures until the next film replaces them.
        EXPECT_EQ(form.filmPictures[0] == nullptr, screen == 6);
        EXPECT_EQ(Plays(), 0u);

        Switch();
        h.Key(kKeyEscape);
        EXPECT_EQ(form.requestedScreen, 0);
        EXPECT_EQ(form.menuContext, 0);
        EXPECT_EQ(Clicks(), 1);
    }
}

}  // namespace
