#include "platform/sdl/letterbox.h"

#include <algorithm>

namespace platform {

namespace {

int64_t FloorDiv(int64_t a, int64_t b) {
    const int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// One axis of PictureFromWindow: the middle of window pixel `w`, in picture pixels.
int32_t ToPicture(int32_t w, int32_t offset, int32_t shown, int32_t picture) {
    if (shown <= 0) {
        return 0;
    }
    const int64_t p = FloorDiv((2 * static_cast<int64_t>(w - offset) + 1) * picture, 2 * shown);
    return static_cast<int32_t>(std::clamp<int64_t>(p, 0, picture - 1));
}

int32_t ToWindow(int32_t p, int32_t offset, int32_t shown, int32_t picture) {
    return offset +
           static_cast<int32_t>(FloorDiv((2 * static_cast<int64_t>(p) + 1) * shown, 2 * picture));
}

}  // namespace

Letterbox FitPicture(int32_t windowWidth, int32_t windowHeight, int32_t pictureWidth,
                     int32_t pictureHeight) {
    Letterbox box;
    if (windowWidth <= 0 || windowHeight <= 0 || pictureWidth <= 0 || pictureHeight <= 0) {
        return box;
    }
    const int64_t ww = windowWidth;
    const int64_t wh = windowHeight;
    if (ww * pictureHeight <= wh * pictureWidth) {
        // Width decides: bars above and below.
        box.width = windowWidth;
        box.height = static_cast<int32_t>((ww * pictureHeight + pictureWidth / 2) / pictureWidth);
    } else {
        box.height = windowHeight;
        box.width = static_cast<int32_t>((wh * pictureWidth + pictureHeight / 2) / pictureHeight);
    }
    box.x = (windowWidth - box.width) / 2;
    box.y = (windowHeight - box.height) / 2;
    return box;
}

Point PictureFromWindow(const Letterbox& box, int32_t pictureWidth, int32_t pictureHeight,
                        int32_t windowX, int32_t windowY) {
    return {ToPicture(windowX, box.x, box.width, pictureWidth),
            ToPicture(windowY, box.y, box.height, pictureHeight)};
}

Point WindowFromPicture(const Letterbox& box, int32_t pictureWidth, int32_t pictureHeight,
                        int32_t x, int32_t y) {
    if (pictureWidth <= 0 || pictureHeight <= 0) {
        return {box.x, box.y};
    }
    return {ToWindow(x, box.x, box.width, pictureWidth),
            ToWindow(y, box.y, box.height, pictureHeight)};
}

}  // namespace platform
