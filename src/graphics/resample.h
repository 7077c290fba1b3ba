#pragma once

#include <cstdint>

#include "platform/picture_decoder.h"
#include "display/display_device.h"

namespace GameUtil {

// Maps the whole picture onto the whole surface: a straight conversion where the sizes match,
// otherwise an area average when shrinking and bilinear interpolation when stretching. Every pixel
// of the surface is written.
void StretchPicture(const platform::DecodedPicture& picture, Surface& surface);

}  // namespace GameUtil
