#include <gtest/gtest.h>

#include <vector>

#include "navigation_fixture.h"

namespace {

using testing_support::NavigationTest;

class MainMenuClickTest : public NavigationTest {};

enum class Outcome { Theme, Choices, Escape };

struct MainMenuClickCase {
    int32_t x, y;
    Outcome outcome;
    int16_t theme;  // for Outcome::Theme
};

TEST_F(MainMenuClickTest, RegionsAndTheirInclusiveBounds) {
    const MainMenuClickCase cases[] = {
        // Quadrants split at 400 / 300; the split lines belong to the left and upper quadrants.
        {400, 300, Outcome::Theme, 2},
        {401, 301, Outcome::Theme, 1},
        {400, 301, Outcome::Theme, 3},
        {401, 300, Outcome::Theme, 4},
        {0, 0, Outcome::Theme, 2},
        {390, 285, Outcome::Theme, 2},
        {395, 290, Outcome::Theme, 2},  // inside the highlight's bottom-right, still theme 2
        {799, 599, Outcome::Theme, 1},
        {760, 500, Outcome::Choices, 0},
        {760, 560, Outcome::Escape, 0},
        // Exit corner 734-789 x 534-589.
        {734, 534, Outcome::Escape, 0},
        {789, 589, Outcome::Escape, 0},
        {733, 560, Outcome::Theme, 1},
        {790, 560, Outcome::Theme, 1},
        {760, 533, Outcome::Theme, 1},
        {760, 590, Outcome::Theme, 1},
        // Choices button 734-789 x 466-524.
        {734, 466, Outcome::Choices, 0},
        {789, 524, Outcome::Choices, 0},
        {733, 500, Outcome::Theme, 1},
        {790, 500, Outcome::Theme, 1},
        {760, 465, Outcome::Theme, 1},
        {760, 525, Outcome::Theme, 1},
    };
    for (const MainMenuClickCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "click at " << c.x << ", " << c.y);
        h.platform.sound.plays.clear();
        h.platform.window.warps.clear();
        Show(0, 0);
        form.isRunning = true;
        form.subMenuFocus = 5;
        form.savedSettings = {};
        h.Click(c.x, c.y);
        EXPECT_EQ(Clicks(), 1);
        EXPECT_EQ(Plays(), 1u);
        switch (c.outcome) {
            case Outcome::Theme:
                EXPECT_EQ(form.requestedScreen, c.theme);
                EXPECT_EQ(form.menuContext, c.theme);
                EXPECT_EQ(form.subMenuFocus, 0);
                EXPECT_EQ(h.platform.window.warps,
                          std::vector<platform::Point>{form.subMenuWarpPoints[0]});
                EXPECT_TRUE(form.isRunning);
                break;
            case Outcome::Choices:
                EXPECT_EQ(form.requestedScreen, 12);
                EXPECT_EQ(form.menuContext, 12);
                EXPECT_EQ(form.savedSettings, form.settings);
                EXPECT_TRUE(h.platform.window.warps.empty());
                EXPECT_TRUE(form.isRunning);
                break;
            case Outcome::Escape:
                EXPECT_FALSE(form.isRunning);
                EXPECT_EQ(form.requestedScreen, 0);
                EXPECT_TRUE(h.platform.window.warps.empty());
                break;
        }
    }
}

TEST_F(MainMenuClickTest, ExitCornerOnlyClicksWhileExitIsLocked) {
    form.settings.exitLocked = true;
    form.isRunning = true;
    h.Click(760, 560);
    EXPECT_TRUE(form.isRunning);
    EXPECT_EQ(form.requestedScreen, 0);
    EXPECT_EQ(Clicks(), 1);
}

TEST_F(MainMenuClickTest, ThemeOpensOnItsFirstEnabledEntry) {
    struct Case {
        int32_t x, y;
        std::vector<int> disabled;
        int16_t theme, focus;
    };
    const Case cases[] = {
        {100, 100, {8}, 2, 1},
        {600, 100, {24, 25}, 4, 2},
        {100, 400, {16, 17, 18, 19, 20, 21, 22}, 3, 7},
        // Entries of other themes do not count.
        {600, 400, {8, 9, 16}, 1, 0},
        {600, 400, {0, 1, 2, 8}, 1, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "theme " << c.theme << ", focus " << c.focus);
        form.settings.itemEnabled.fill(true);
        for (int item : c.disabled) {
            form.settings.itemEnabled[item] = false;
        }
        h.platform.window.warps.clear();
        Show(0, 0);
        h.Click(c.x, c.y);
        EXPECT_EQ(form.requestedScreen, c.theme);
        EXPECT_EQ(form.subMenuFocus, c.focus);
        EXPECT_EQ(h.platform.window.warps,
                  std::vector<platform::Point>{form.subMenuWarpPoints[c.focus]});
    }
}

TEST_F(MainMenuClickTest, TheEventPositionIsIgnoredForThePointer) {
    h.platform.window.pointer = {100, 100};
    form.isRunning = true;
    form.Form_MouseDown(platform::kButtonLeft, 0, 760.0f, 560.0f);
    EXPECT_TRUE(form.isRunning);
    EXPECT_EQ(form.requestedScreen, 2);
}

TEST_F(MainMenuClickTest, MiddleButtonActsLikeTheLeft) {
    h.Click(600, 100, platform::kButtonMiddle);
    EXPECT_EQ(form.requestedScreen, 4);
    EXPECT_EQ(Clicks(), 1);
}

class SubMenuClickTest : public NavigationTest {};

TEST_F(SubMenuClickTest, EntriesCornerAndDisabledEntries) {
    struct Case {
        int16_t screen;
        int32_t x, y;
        int disabled;     // item disabled for this case, -1 for none
        int16_t item;     // selected item, -1 when nothing is chosen
        bool toMainMenu;  // the exit corner
    };
    const Case cases[] = {
        {2, 100, 100, -1, 8, false},
        {2, 199, 260, -1, 8, false},
        {2, 200, 261, -1, 13, false},
        {2, 100, 560, -1, 12, false},  // below the drawn cells: the entry above
        {4, 799, 0, -1, 27, false},
        {1, 733, 560, -1, 7, false},   // just left of the exit corner
        {3, 760, 533, -1, 23, false},  // just above it
        {3, 734, 534, -1, -1, true},
        {1, 789, 589, -1, -1, true},
        {2, 200, 261, 13, -1, false},  // a disabled entry: nothing, silently
        {2, 100, 100, 13, 8, false},   // another entry disabled: no effect here
        {1, 100, 100, 8, 0, false},    // the same slot of another theme disabled
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "screen " << c.screen << ", click at " << c.x << ", " << c.y);
        form.settings.itemEnabled.fill(true);
        if (c.disabled >= 0) {
            form.settings.itemEnabled[c.disabled] = false;
        }
        h.platform.sound.plays.clear();
        Show(c.screen, c.screen);
        form.selectedItem = 31;
        h.Click(c.x, c.y);
        if (c.toMainMenu) {
            EXPECT_EQ(form.requestedScreen, 0);
            EXPECT_EQ(form.menuContext, 0);
            EXPECT_EQ(Clicks(), 1);
        } else if (c.item < 0) {
            EXPECT_EQ(form.requestedScreen, c.screen);
            EXPECT_EQ(form.menuContext, c.screen);
            EXPECT_EQ(form.selectedItem, 31);
            EXPECT_EQ(Plays(), 0u);
        } else {
            EXPECT_EQ(form.requestedScreen, 5);
            EXPECT_EQ(form.menuContext, c.screen + 6);
            EXPECT_EQ(form.selectedItem, c.item);
            EXPECT_EQ(Clicks(), 1);
            EXPECT_EQ(Plays(), 1u);
        }
        EXPECT_TRUE(h.platform.window.warps.empty());
    }
}

TEST_F(SubMenuClickTest, PointerMovesSetTheFocusOnlyInSubMenus) {
    form.settings.itemEnabled[13] = false;
    Show(2, 2);
    h.MoveTo(200, 261);
    EXPECT_EQ(form.subMenuFocus, 5);  // also over a disabled entry
    h.MoveTo(799, 599);
    EXPECT_EQ(form.subMenuFocus, 7);
    for (int16_t screen : {0, 5, 6, 12}) {
        Show(screen, 0);
        h.MoveTo(100, 100);
        EXPECT_EQ(form.subMenuFocus, 7) << screen;
    }
    EXPECT_EQ(Plays(), 0u);
}

class PointerButtonTest : public NavigationTest {};

TEST_F(PointerButtonTest, RightButtonTogglesTheMarkerSilentlyOnEveryScreen) {
    const struct {
        int16_t screen, context;
    } screens[] = {{0, 0}, {3, 3}, {5, 9}, {6, 9}, {12, 12}};
    for (const auto& s : screens) {
        SCOPED_TRACE(testing::Message() << "screen " << s.screen);
        Show(s.screen, s.context);
        form.settings.showPointerSprite = false;
        form.isRunning = true;
        form.stepTime = 0;
        h.Click(760, 560, platform::kButtonRight);  // on the exit corner, which it must not use
        EXPECT_TRUE(form.settings.showPointerSprite);
        h.Click(300, 300, platform::kButtonRight);
        EXPECT_FALSE(form.settings.showPointerSprite);
        EXPECT_EQ(form.requestedScreen, s.screen);
        EXPECT_EQ(form.menuContext, s.context);
        EXPECT_TRUE(form.isRunning);
        EXPECT_EQ(form.stepTime, 0);
    }
    EXPECT_EQ(Plays(), 0u);
    EXPECT_TRUE(h.platform.window.warps.empty());
}

TEST_F(PointerButtonTest, NothingHappensWhileAScreenLoads) {
    const struct {
        int16_t screen, context;
    } screens[] = {{0, 0}, {2, 2}, {5, 8}, {6, 8}, {12, 12}};
    const int16_t keys[] = {27, 32, 13, 112, 46, 65};
    for (const auto& s : screens) {
        SCOPED_TRACE(testing::Message() << "screen " << s.screen);
        Show(s.screen, s.context);
        form.isBusy = true;
        form.isRunning = true;
        form.settings.exitLocked = true;
        form.buildUpPicture = SolidSurface(4, 4, 0x123456);
        const ChoiceSettings before = form.settings;
        h.Click(760, 560);
        h.Click(100, 100);
        h.Click(100, 100, platform::kButtonRight);
        for (int16_t key : keys) {
            h.Key(key, 0);
            h.Key(key, platform::kShiftCtrl);
        }
        EXPECT_EQ(form.settings, before);
        EXPECT_EQ(form.requestedScreen, s.screen);
        EXPECT_EQ(form.menuContext, s.context);
        EXPECT_TRUE(form.isRunning);
        EXPECT_NE(form.buildUpPicture, nullptr);
        EXPECT_EQ(form.mainMenuFocus, 0);
        EXPECT_EQ(form.subMenuFocus, 0);
    }
    EXPECT_EQ(Plays(), 0u);
    EXPECT_TRUE(h.platform.window.warps.empty());
}

}  // namespace
