#pragma once

#include <memory>
#include <string>

#include "display/display_device.h"

namespace GameUtil {

// The request every picture load makes: an off-screen plain surface in system memory of the given
// size (0 for the picture's own width or height).
SurfaceRequest OffScreenPictureRequest(int32_t width, int32_t height);

// Loads the JPEG or BMP picture at the system path `path` into a new surface of the requested
// size, stretching it to fill it. The request is completed in place (flags, caps, and the
// picture's own size where width or height is 0). A missing or broken file fails before any
// surface exists.
std::unique_ptr<Surface> LoadPictureSurface(const std::string& path, SurfaceRequest& request);

}  // namespace GameUtil
