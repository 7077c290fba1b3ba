#include "platform/sdl/key_codes.h"

namespace platform {

namespace {

struct KeyEntry {
    SDL_Keycode key;
    int16_t code;
};

constexpr KeyEntry kNamedKeys[] = {
    {SDLK_BACKSPACE, 8},    {SDLK_TAB, 9},         {SDLK_CLEAR, 12},
    {SDLK_RETURN, 13},      {SDLK_RETURN2, 13},    {SDLK_KP_ENTER, 13},
    {SDLK_LSHIFT, 16},      {SDLK_RSHIFT, 16},     {SDLK_LCTRL, 17},
    {SDLK_RCTRL, 17},       {SDLK_LALT, 18},       {SDLK_RALT, 18},
    {SDLK_PAUSE, 19},       {SDLK_CAPSLOCK, 20},   {SDLK_ESCAPE, 27},
    {SDLK_SPACE, 32},       {SDLK_PAGEUP, 33},     {SDLK_PAGEDOWN, 34},
    {SDLK_END, 35},         {SDLK_HOME, 36},       {SDLK_LEFT, 37},
    {SDLK_UP, 38},          {SDLK_RIGHT, 39},      {SDLK_DOWN, 40},
    {SDLK_SELECT, 41},      {SDLK_EXECUTE, 43},    {SDLK_PRINTSCREEN, 44},
    {SDLK_INSERT, 45},      {SDLK_DELETE, 46},     {SDLK_HELP, 47},
    {SDLK_LGUI, 91},        {SDLK_RGUI, 92},       {SDLK_APPLICATION, 93},
    {SDLK_SLEEP, 95},       {SDLK_KP_0, 96},       {SDLK_KP_1, 97},
    {SDLK_KP_2, 98},        {SDLK_KP_3, 99},       {SDLK_KP_4, 100},
    {SDLK_KP_5, 101},       {SDLK_KP_6, 102},      {SDLK_KP_7, 103},
    {SDLK_KP_8, 104},       {SDLK_KP_9, 105},      {SDLK_KP_MULTIPLY, 106},
    {SDLK_KP_PLUS, 107},    {SDLK_KP_MINUS, 109},  {SDLK_KP_PERIOD, 110},
    {SDLK_KP_DECIMAL, 110}, {SDLK_KP_DIVIDE, 111}, {SDLK_NUMLOCKCLEAR, 144},
    {SDLK_SCROLLLOCK, 145}, {SDLK_MUTE, 173},      {SDLK_VOLUMEDOWN, 174},
    {SDLK_VOLUMEUP, 175},   {SDLK_AUDIONEXT, 176}, {SDLK_AUDIOPREV, 177},
    {SDLK_AUDIOSTOP, 178},  {SDLK_AUDIOPLAY, 179},
};

struct ScancodeEntry {
    SDL_Scancode scancode;
    int16_t code;
};

// Punctuation keys by position (the US names of the codes).
constexpr ScancodeEntry kPunctuation[] = {
    {SDL_SCANCODE_SEMICOLON, 186},  {SDL_SCANCODE_EQUALS, 187},
    {SDL_SCANCODE_COMMA, 188},      {SDL_SCANCODE_MINUS, 189},
    {SDL_SCANCODE_PERIOD, 190},     {SDL_SCANCODE_SLASH, 191},
    {SDL_SCANCODE_GRAVE, 192},      {SDL_SCANCODE_LEFTBRACKET, 219},
    {SDL_SCANCODE_BACKSLASH, 220},  {SDL_SCANCODE_RIGHTBRACKET, 221},
    {SDL_SCANCODE_APOSTROPHE, 222}, {SDL_SCANCODE_NONUSBACKSLASH, 226},
};

}  // namespace

int16_t VirtualKeyCode(SDL_Keycode key, SDL_Scancode scancode) {
    if (key >= SDLK_a && key <= SDLK_z) {
        return static_cast<int16_t>('A' + (key - SDLK_a));
    }
    if (key >= SDLK_0 && key <= SDLK_9) {
        return static_cast<int16_t>('0' + (key - SDLK_0));
    }
    if (key >= SDLK_F1 && key <= SDLK_F12) {
        return static_cast<int16_t>(112 + (key - SDLK_F1));
    }
    if (key >= SDLK_F13 && key <= SDLK_F24) {
        return static_cast<int16_t>(124 + (key - SDLK_F13));
    }
    for (const KeyEntry& entry : kNamedKeys) {
        if (entry.key == key) {
            return entry.code;
        }
    }
    // A key the layout gives no ASCII letter or digit (a national letter, the digit row of a
    // French keyboard) keeps the code of its place on the keyboard.
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) {
        return static_cast<int16_t>('A' + (scancode - SDL_SCANCODE_A));
    }
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) {
        return static_cast<int16_t>('1' + (scancode - SDL_SCANCODE_1));
    }
    if (scancode == SDL_SCANCODE_0) {
        return '0';
    }
    for (const ScancodeEntry& entry : kPunctuation) {
        if (entry.scancode == scancode) {
            return entry.code;
        }
    }
    return kKeyOther;
}

int16_t ShiftBits(uint16_t modifiers) {
    int16_t bits = 0;
    if ((modifiers & KMOD_SHIFT) != 0) {
        bits |= 1;
    }
    if ((modifiers & KMOD_CTRL) != 0) {
        bits |= 2;
    }
    if ((modifiers & KMOD_ALT) != 0) {
        bits |= 4;
    }
    return bits;
}

int16_t FormButton(uint8_t sdlButton) {
    switch (sdlButton) {
        case SDL_BUTTON_LEFT:
            return 1;
        case SDL_BUTTON_RIGHT:
            return 2;
        case SDL_BUTTON_MIDDLE:
            return 4;
        default:
            return 0;
    }
}

int16_t FormButtons(uint32_t sdlButtonState) {
    int16_t buttons = 0;
    constexpr uint8_t kButtons[] = {SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT, SDL_BUTTON_MIDDLE};
    for (uint8_t button : kButtons) {
        if ((sdlButtonState & SDL_BUTTON(button)) != 0) {
            buttons |= FormButton(button);
        }
    }
    return buttons;
}

}  // namespace platform
