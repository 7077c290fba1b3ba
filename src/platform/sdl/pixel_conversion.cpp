#include "platform/sdl/pixel_conversion.h"

namespace platform {

void Rgb565ToArgb8888(const uint16_t* from, uint32_t* to, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        const uint32_t p = from[i];
        const uint32_t r = (p >> 11) & 31;
        const uint32_t g = (p >> 5) & 63;
        const uint32_t b = p & 31;
        to[i] = 0xFF000000u | (((r << 3) | (r >> 2)) << 16) | (((g << 2) | (g >> 4)) << 8) |
                ((b << 3) | (b >> 2));
    }
}

}  // namespace platform
