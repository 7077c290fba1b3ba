#include "form/main_menu_form.h"

namespace {

struct CrossBlock {
    int32_t x0, y0, y1;
};
// Top-left of each theme's block of crosses on the item page, and its second row.
constexpr CrossBlock kCrossBlocks[4] = {
    {527, 164, 243}, {235, 355, 434}, {235, 164, 243}, {527, 355, 434}};

}  // namespace

void MainMenuForm::BuildCrossPositions() {
    for (int group = 0; group < 4; ++group) {
        const CrossBlock& block = kCrossBlocks[group];
        int32_t x = block.x0;
        int32_t y = block.y0;
        for (int item = 8 * group; item < 8 * group + 8; ++item) {
            settings.crossPositions[item] = {x, y};
            x += 64;
            if (item % 8 == 3) {
                x = block.x0;
                y = block.y1;
            }
        }
    }
}

void MainMenuForm::BuildSubMenuCellRects() {
    for (int group = 0; group < 4; ++group) {
        int32_t x = 10;
        int32_t y = 0;
        for (int item = 8 * group; item < 8 * group + 8; ++item) {
            subMenuCellRects[item] = {x, y, x + 195, y + 260};
            x += 195;
            if (item % 8 == 3) {
                x = 10;
                y = 260;
            }
        }
    }
}

void MainMenuForm::BuildWarpPoints() {
    mainMenuWarpPoints = {{{245, 135}, {560, 135}, {245, 415}, {560, 415}}};
    int32_t x = 110;
    int32_t y = 130;
    for (int k = 0; k < 8; ++k) {
        if (k == 4) {
            x = 110;
            y = 370;
        }
        subMenuWarpPoints[k] = {x, y};
        x += 195;
    }
}
