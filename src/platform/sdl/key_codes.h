#pragma once

#include <SDL.h>

#include <cstdint>

#include "platform/window_system.h"

namespace platform {

// The Windows virtual-key code the form's key events carry for an SDL key: letters 65-90 and
// digits 48-57 by the character the layout gives, named keys by their meaning, punctuation by
// its place on the keyboard. kKeyOther for a key without a code of its own.
int16_t VirtualKeyCode(SDL_Keycode key, SDL_Scancode scancode);

// Shift bits of the form's events: 1 Shift, 2 Ctrl, 4 Alt.
int16_t ShiftBits(uint16_t modifiers);

// Form button of one SDL mouse button: 1 left, 2 right, 4 middle; 0 for the others.
int16_t FormButton(uint8_t sdlButton);

// Form buttons held in an SDL button state mask.
int16_t FormButtons(uint32_t sdlButtonState);

}  // namespace platform
