#pragma once

#include <memory>

#include "platform/picture_decoder.h"

namespace platform {

// The real decoder: JPEG through TurboJPEG, Windows bitmaps through SDL's reader.
std::unique_ptr<PictureDecoder> CreateFilePictureDecoder();

}  // namespace platform
