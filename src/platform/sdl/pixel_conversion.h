#pragma once

#include <SDL.h>

#include <cstdint>

#include "base/rect.h"

namespace platform {

// RGB565 pixels to 32-bit 0xAARRGGBB (opaque), each channel widened by repeating its top bits so
// that black stays 0 and full intensity becomes 255. Done here rather than by SDL, which converts
// RGB565 several times slower and off by a step.
void Rgb565ToArgb8888(const uint16_t* from, uint32_t* to, int32_t count);

// Part of an RGB565 picture (`pitchPixels` pixels a line) drawn into a surface of any pixel
// format with its top left corner at (x, y), widened as above. The part must lie inside the
// picture and, placed at (x, y), inside the surface, which the caller has locked where SDL asks
// for it. 32-bit surfaces with or without alpha and RGB565 ones are written directly, others
// through SDL's conversion a few lines at a time. False, with SDL's error set, when SDL cannot
// convert to the surface's format.
bool Rgb565ToSurface(const uint16_t* pixels, int32_t pitchPixels, const Rect& part, SDL_Surface* to,
                     int32_t x, int32_t y);

}  // namespace platform
