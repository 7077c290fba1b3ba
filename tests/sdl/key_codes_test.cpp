#include "platform/sdl/key_codes.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

struct KeyCase {
    SDL_Keycode key;
    SDL_Scancode scancode;
    int16_t expected;
};

TEST(KeyCodesTest, KeysCarryTheirWindowsVirtualKeyCodes) {
    const KeyCase cases[] = {
        {SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, 27},
        {SDLK_RETURN, SDL_SCANCODE_RETURN, 13},
        {SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, 13},
        {SDLK_SPACE, SDL_SCANCODE_SPACE, 32},
        {SDLK_DELETE, SDL_SCANCODE_DELETE, 46},
        {SDLK_F1, SDL_SCANCODE_F1, 112},
        {SDLK_F12, SDL_SCANCODE_F12, 123},
        {SDLK_F13, SDL_SCANCODE_F13, 124},
        {SDLK_a, SDL_SCANCODE_A, 65},
        {SDLK_z, SDL_SCANCODE_Z, 90},
        {SDLK_q, SDL_SCANCODE_A, 81},  // AZERTY: the letter printed on the key decides
        {SDLK_0, SDL_SCANCODE_0, 48},
        {SDLK_9, SDL_SCANCODE_9, 57},
        {SDLK_LEFT, SDL_SCANCODE_LEFT, 37},
        {SDLK_UP, SDL_SCANCODE_UP, 38},
        {SDLK_RIGHT, SDL_SCANCODE_RIGHT, 39},
        {SDLK_DOWN, SDL_SCANCODE_DOWN, 40},
        {SDLK_KP_0, SDL_SCANCODE_KP_0, 96},
        {SDLK_KP_9, SDL_SCANCODE_KP_9, 105},
        {SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, 16},
        {SDLK_RCTRL, SDL_SCANCODE_RCTRL, 17},
        {SDLK_LALT, SDL_SCANCODE_LALT, 18},
        {SDLK_TAB, SDL_SCANCODE_TAB, 9},
        {SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE, 8},
        {SDLK_HOME, SDL_SCANCODE_HOME, 36},
        {SDLK_PAGEDOWN, SDL_SCANCODE_PAGEDOWN, 34},
        {0xE4, SDL_SCANCODE_APOSTROPHE, 222},  // a national letter keeps its key's place
        {0xF6, SDL_SCANCODE_SEMICOLON, 186},
        {0xE5, SDL_SCANCODE_LEFTBRACKET, 219},
        {0xE9, SDL_SCANCODE_2, 50},  // French digit row
        // Keys without a code of their own still reach the form, with one outside the five.
        {SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN, kKeyOther},
        {SDLK_MODE, SDL_SCANCODE_MODE, kKeyOther},
        {SDLK_BRIGHTNESSUP, SDL_SCANCODE_BRIGHTNESSUP, kKeyOther},
    };
    for (const KeyCase& c : cases) {
        EXPECT_EQ(VirtualKeyCode(c.key, c.scancode), c.expected)
            << SDL_GetKeyName(c.key) << " (" << c.key << ")";
    }
}

TEST(KeyCodesTest, ModifiersBecomeShiftBits) {
    const std::pair<uint16_t, int16_t> cases[] = {
        {KMOD_NONE, 0},
        {KMOD_LSHIFT, 1},
        {KMOD_RSHIFT, 1},
        {KMOD_LCTRL, 2},
        {KMOD_RALT, 4},
        {KMOD_LSHIFT | KMOD_RCTRL | KMOD_LALT, 7},
        {KMOD_NUM | KMOD_CAPS, 0},  // lock states are not shift keys
        {KMOD_NUM | KMOD_LCTRL, 2},
    };
    for (const auto& [modifiers, expected] : cases) {
        EXPECT_EQ(ShiftBits(modifiers), expected) << modifiers;
    }
}

TEST(KeyCodesTest, MouseButtonsBecomeFormButtons) {
    EXPECT_EQ(FormButton(SDL_BUTTON_LEFT), 1);
    EXPECT_EQ(FormButton(SDL_BUTTON_RIGHT), 2);
    EXPECT_EQ(FormButton(SDL_BUTTON_MIDDLE), 4);
    EXPECT_EQ(FormButton(SDL_BUTTON_X1), 0);
    EXPECT_EQ(FormButtons(0), 0);
    EXPECT_EQ(FormButtons(SDL_BUTTON_LMASK | SDL_BUTTON_RMASK), 3);
    EXPECT_EQ(FormButtons(SDL_BUTTON_MMASK | SDL_BUTTON_X2MASK), 4);
}

}  // namespace
}  // namespace platform
