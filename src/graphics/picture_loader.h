#pragma once

#include <memory>
#include <string>
#include <vector>

#include "display/display_device.h"
#include "graphics/menu_picture_files.h"

namespace GameUtil {

// The request every picture load makes: an off-screen plain surface in system memory of the given
// size (0 for the picture's own width or height).
SurfaceRequest OffScreenPictureRequest(int32_t width, int32_t height);

// Loads the JPEG or BMP picture at the system path `path` into a new surface of the requested
// size, stretching it to fill it. The request is completed in place (flags, caps, and the
// picture's own size where width or height is 0). A missing or broken file fails before any
// surface exists.
std::unique_ptr<Surface> LoadPictureSurface(const std::string& path, SurfaceRequest& request);

// Reads and decodes `files` on the platform's helper threads for the loads that follow, in this
// order (nothing without helpers). Pictures already read ahead in this order are kept. A load
// takes the next picture read ahead when it is the one asked for, at the same size, and meets its
// failure then, as a load of its own would; a load of another picture drops what was read ahead
// and reads by itself.
void ReadAhead(const std::vector<PictureFile>& files);
// Drops what was read ahead and not loaded.
void DropReadAhead();
// Drops it and ends the helper threads.
void EndReadAhead();

}  // namespace GameUtil
