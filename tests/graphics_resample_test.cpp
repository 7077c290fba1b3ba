#include "graphics/resample.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/headless/headless_platform.h"

namespace {

// Same-size pictures are converted pixel by pixel, in blocks with a tail: every width must give
// exactly the RGB565 value of each pixel, whatever lies in the fourth byte.
TEST(StretchPicture, SameSizeConversionIsExactForEveryWidth) {
    headless::Platform platform;
    DisplayDevice device(platform.display, platform.text);
    std::mt19937 random(7);
    for (int32_t width : {1, 15, 16, 17, 37, 64, 801}) {
        platform::DecodedPicture picture;
        picture.width = width;
        picture.height = 3;
        picture.pixels.resize(static_cast<size_t>(width) * 3 * 4);
        for (uint8_t& byte : picture.pixels) byte = static_cast<uint8_t>(random());
        SurfaceRequest request;
        request.flags = 7;
        request.caps = 0x840;
        request.width = width;
        request.height = 3;
        auto surface = device.CreateSurface(request);
        GameUtil::StretchPicture(picture, *surface);
        for (int32_t y = 0; y < 3; ++y) {
            for (int32_t x = 0; x < width; ++x) {
                const uint8_t* p = &picture.pixels[(static_cast<size_t>(y) * width + x) * 4];
                const uint32_t colour = p[0] | (p[1] << 8) | (p[2] << 16);
                ASSERT_EQ(surface->PixelAt(x, y), ColorToPixel(colour))
                    << "width " << width << " at " << x << "," << y;
            }
        }
    }
}

}  // namespace
