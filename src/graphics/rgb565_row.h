#pragma once

#include <cstdint>

namespace GameUtil {

// One row of R, G, B bytes to RGB565 pixels (each channel's top bits). Most of what a picture
// load costs beyond the JPEG decoder itself, so it uses the processor's byte shuffles where it
// has them; any thread.
void ConvertRgbRow(const uint8_t* from, uint16_t* to, int32_t width);

}  // namespace GameUtil
