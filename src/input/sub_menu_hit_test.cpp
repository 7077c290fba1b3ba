#include "platform/services.h"
#include "form/main_menu_form.h"

int16_t MainMenuForm::GetSubMenuIndex(bool shortIndex) {
    const platform::Point pointer = platform::Current().window->GetCursorPos();
    int32_t column = 3;
    for (int32_t c = 1; c <= 4; ++c) {
        if (pointer.x < 200 * c) {
            column = c - 1;
            break;
        }
    }
    const int32_t slot = pointer.y <= 260 ? column : column + 4;
    if (shortIndex) {
        return static_cast<int16_t>(slot >= 0 && slot <= 7 ? slot : 0);
    }
    const int32_t item = (currentScreen - 1) * 8 + slot;
    return static_cast<int16_t>(item >= 0 && item <= 31 ? item : 0);
}
