#pragma once

#include <cstdint>

#include "platform/window_system.h"

namespace platform {

// Where the picture lies in a window: as large as fits with its aspect kept, centred, with black
// bars on the two sides that are left over.
struct Letterbox {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    bool operator==(const Letterbox&) const = default;
};

Letterbox FitPicture(int32_t windowWidth, int32_t windowHeight, int32_t pictureWidth,
                     int32_t pictureHeight);

// The picture pixel under the middle of a window pixel; on a bar, the nearest picture pixel.
Point PictureFromWindow(const Letterbox& box, int32_t pictureWidth, int32_t pictureHeight,
                        int32_t windowX, int32_t windowY);

// The window pixel whose middle lies on picture pixel (x, y), so that it reads back as the same
// pixel whenever the picture is shown at least at its own size.
Point WindowFromPicture(const Letterbox& box, int32_t pictureWidth, int32_t pictureHeight,
                        int32_t x, int32_t y);

}  // namespace platform
