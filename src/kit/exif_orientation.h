#pragma once

#include <cairo.h>

#include <cstdint>
#include <span>

namespace kit {

// The EXIF orientation (1..8) of a JPEG file's bytes: tag 0x0112 of the first image directory
// in its APP1 "Exif" segment. 1 (as stored) when the file has none or it cannot be read.
int ExifOrientation(std::span<const uint8_t> jpeg);

// Whether the orientation turns the picture a quarter (5..8): its upright width is then the
// stored height.
bool SwapsSides(int orientation);

// The map from the upright picture's coordinates to the stored picture's, for a stored
// picture of `width` × `height` pixels.
cairo_matrix_t UprightToStored(int orientation, double width, double height);

}  // namespace kit
