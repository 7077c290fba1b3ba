#pragma once

#include <cstdint>
#include <string>

#include "platform/picture_decoder.h"

namespace platform {

// Reads an uncompressed Windows bitmap (24- or 32-bit, or 8-, 4- or 1-bit with a palette;
// bottom-up or top-down) from `bytes` into `picture` (RGBX). Anything else, or a file shorter
// than its header says, throws SystemFailure naming `name`.
void ReadBmp(const std::string& name, const std::string& bytes, DecodedPicture& picture);

}  // namespace platform
