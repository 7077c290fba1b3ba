#include <string>

#include "platform/services.h"
#include "display/display_objects.h"
#include "form/main_menu_form.h"
#include "base/system_failure.h"

using namespace DisplayFlags;

// Blit results are not examined: a blit the device declines (an empty slot, a lost display)
// leaves that part of the frame undrawn and the frame goes on.

void MainMenuForm::DrawMenuBackground() {
    if (currentScreen < 0 || currentScreen >= static_cast<int16_t>(menuPictures.size())) {
        Fail("no menu background for screen " + std::to_string(currentScreen));
    }
    Surface& back = *GameUtil::backBuffer;
    back.BltFast(0, 0, menuPictures[currentScreen].get(), {0, 0, 800, 600}, kBltFastWait);
    if (settings.exitLocked && currentScreen == Screen::kMainMenu) {
        back.BltFast(730, 530, stopNotePicture.get(), {0, 0, 70, 70}, kBltFastWait);
    }
}

void MainMenuForm::DrawMainMenuSelection() {
    const platform::Point pointer = platform::Current().window->GetCursorPos();
    const bool right = pointer.x > 390;
    const bool bottom = pointer.y > 285;
    const int quadrant = (bottom ? 2 : 0) + (right ? 1 : 0);
    GameUtil::backBuffer->BltFast(right ? 390 : 80, bottom ? 285 : 0,
                                  quadrantPictures[quadrant].get(), {0, 0, 310, 285}, kBltFastWait);
}

void MainMenuForm::DrawSubMenuSelection() {
    Surface& back = *GameUtil::backBuffer;
    const int16_t position = GetSubMenuIndex(true);
    int32_t x = position < 4 ? 195 * position : 195 * (position - 4);
    const int32_t y = position < 4 ? 0 : 260;
    x += 10;
    const int16_t item = GetSubMenuIndex(false);
    if (item < 0 || item >= static_cast<int16_t>(buttonPictures.size())) {
        Fail("no button picture for item " + std::to_string(item));
    }
    back.BltFast(x, y, buttonPictures[item].get(), {0, 0, 195, 260}, kBltFastWait);

    const int16_t theme = menuContext;
    if (theme < 1 || theme > 4) {
        return;
    }
    const Surface* notes = notePictures[theme - 1].get();
    for (int i = 0; i < 32; ++i) {
        if (!settings.itemEnabled[i] && i / 8 == theme - 1) {
            back.Blt(subMenuCellRects[i], notes, subMenuCellRects[i], kBltWait);
        }
    }
}
