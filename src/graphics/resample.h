#pragma once

#include <cstdint>

#include "display/display_device.h"
#include "platform/picture_decoder.h"

namespace GameUtil {

// Maps the whole picture onto the whole surface: a straight conversion where the sizes match,
// otherwise an area average when shrinking and bilinear interpolation when stretching. Every pixel
// of the surface is written.
void StretchPicture(const platform::DecodedPicture& picture, Surface& surface);
// The same into `width` x `height` pixels in memory, rows one after the other (any thread).
void StretchPicture(const platform::DecodedPicture& picture, uint16_t* pixels, int32_t width,
                    int32_t height);

}  // namespace GameUtil
