#pragma once

#include <memory>

#include "platform/picture_decoder.h"

namespace platform {

// The real decoder: JPEG through TurboJPEG, BMP through a small reader of our own.
std::unique_ptr<PictureDecoder> CreateFilePictureDecoder();

}  // namespace platform
