#pragma once

#include <cstdint>

namespace platform {

// RGB565 pixels to 32-bit 0xAARRGGBB (opaque), each channel widened by repeating its top bits so
// that black stays 0 and full intensity becomes 255. Done here rather than by SDL, which converts
// RGB565 several times slower and off by a step.
void Rgb565ToArgb8888(const uint16_t* from, uint32_t* to, int32_t count);

}  // namespace platform
