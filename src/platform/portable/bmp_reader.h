#pragma once

#include <string>

#include "platform/picture_decoder.h"

namespace platform {

// Reads a Windows bitmap from `bytes` into `picture` (RGBX): every kind SDL's bitmap reader
// knows, which is every kind Windows writes (1-, 4-, 8-, 16-, 24- and 32-bit, RLE4 and RLE8,
// bit-field masks, OS/2 and later headers, bottom-up or top-down). A file that is not a bitmap,
// is cut short or is larger than kLargestPictureSide on a side throws SystemFailure naming
// `name`.
void ReadBmp(const std::string& name, const std::string& bytes, DecodedPicture& picture);

}  // namespace platform
