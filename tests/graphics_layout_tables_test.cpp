#include <gtest/gtest.h>

#include <string>

#include "support/form_harness.h"

namespace testing_support {
namespace {

class LayoutTables : public ::testing::Test {
  protected:
    LayoutTables() {
        h.form.BuildCrossPositions();
        h.form.BuildSubMenuCellRects();
        h.form.BuildWarpPoints();
    }
    FormHarness h;
};

TEST_F(LayoutTables, HoldTheirCoordinates) {
    const MainMenuForm& f = h.form;
    using P = platform::Point;
    const struct {
        const char* what;
        Rect cell;
        P cross;
        int item;
    } items[] = {
        {"item 0", {10, 0, 205, 260}, {527, 164}, 0},
        {"item 3, top right", {595, 0, 790, 260}, {719, 164}, 3},
        {"item 4, second row", {10, 260, 205, 520}, {527, 243}, 4},
        {"item 7, bottom right", {595, 260, 790, 520}, {719, 243}, 7},
        {"item 8", {10, 0, 205, 260}, {235, 355}, 8},
        {"item 13", {205, 260, 400, 520}, {299, 434}, 13},
        {"item 18", {400, 0, 595, 260}, {363, 164}, 18},
        {"item 23", {595, 260, 790, 520}, {427, 243}, 23},
        {"item 24", {10, 0, 205, 260}, {527, 355}, 24},
        {"item 30", {400, 260, 595, 520}, {655, 434}, 30},
        {"item 31", {595, 260, 790, 520}, {719, 434}, 31},
    };
    for (const auto& c : items) {
        EXPECT_EQ(f.subMenuCellRects[c.item], c.cell) << c.what;
        EXPECT_EQ(f.settings.crossPositions[c.item], c.cross) << c.what;
    }
    const P mainPoints[4] = {{245, 135}, {560, 135}, {245, 415}, {560, 415}};
    for (int n = 0; n < 4; ++n) EXPECT_EQ(f.mainMenuWarpPoints[n], mainPoints[n]) << n;
    const P subPoints[8] = {{110, 130}, {305, 130}, {500, 130}, {695, 130},
                            {110, 370}, {305, 370}, {500, 370}, {695, 370}};
    for (int p = 0; p < 8; ++p) {
        EXPECT_EQ(f.subMenuWarpPoints[p], subPoints[p]) << p;
        // The warp point lies in its own cell in every theme.
        for (int theme = 0; theme < 4; ++theme) {
            const Rect& cell = f.subMenuCellRects[8 * theme + p];
            EXPECT_TRUE(subPoints[p].x >= cell.left && subPoints[p].x < cell.right &&
                        subPoints[p].y >= cell.top && subPoints[p].y < cell.bottom)
                << p;
        }
    }
    // The cells tile 10..790 x 0..520 with no gap: every cell starts where its left neighbour
    // ends.
    for (int item = 0; item < 32; ++item) {
        const Rect& cell = f.subMenuCellRects[item];
        EXPECT_EQ(cell.right - cell.left, 195) << item;
        EXPECT_EQ(cell.bottom - cell.top, 260) << item;
        if (item % 4 != 0) {
            EXPECT_EQ(cell.left, f.subMenuCellRects[item - 1].right) << item;
        }
    }
}

TEST_F(LayoutTables, SubMenuHitTestBoundaries) {
    const struct {
        int16_t screen;
        platform::Point pointer;
        int16_t slot;
        int16_t item;
    } cases[] = {
        {2, {199, 260}, 0, 8}, {2, {200, 261}, 5, 13}, {2, {100, 560}, 4, 12}, {1, {0, 0}, 0, 0},
        {1, {799, 599}, 7, 7}, {4, {399, 260}, 1, 25}, {4, {400, 261}, 6, 30}, {3, {600, 0}, 3, 19},
        {0, {200, 261}, 5, 0}, {12, {799, 599}, 7, 0}, {5, {0, 0}, 0, 0},      {6, {0, 0}, 0, 0},
    };
    for (const auto& c : cases) {
        h.form.currentScreen = c.screen;
        h.platform.window.pointer = c.pointer;
        EXPECT_EQ(h.form.GetSubMenuIndex(true), c.slot)
            << "screen " << c.screen << " at " << c.pointer.x << "," << c.pointer.y;
        EXPECT_EQ(h.form.GetSubMenuIndex(false), c.item)
            << "screen " << c.screen << " at " << c.pointer.x << "," << c.pointer.y;
    }
}

}  // namespace
}  // namespace testing_support
