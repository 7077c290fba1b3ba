#include "platform/sdl/pixel_conversion.h"

#include <gtest/gtest.h>

#include <vector>

namespace platform {
namespace {

TEST(PixelConversionTest, ChannelsWidenToTheFullRange) {
    const std::pair<uint16_t, uint32_t> cases[] = {
        {0x0000, 0xFF000000},  // black stays black
        {0xFFFF, 0xFFFFFFFF},  // white reaches 255 in every channel
        {0xF800, 0xFFFF0000},  // red
        {0x07E0, 0xFF00FF00},  // green (six bits)
        {0x001F, 0xFF0000FF},  // blue
        {0x8410, 0xFF848284},  // the middle grey of each channel
        {0x0821, 0xFF080408},  // the lowest step of each channel
        {0xAD55, 0xFFADAAAD},  // each channel its own top bits repeated
    };
    std::vector<uint16_t> from;
    for (const auto& [pixel, expected] : cases) {
        from.push_back(pixel);
    }
    std::vector<uint32_t> to(from.size() + 1, 0x12345678);
    Rgb565ToArgb8888(from.data(), to.data(), static_cast<int32_t>(from.size()));
    for (size_t i = 0; i < from.size(); ++i) {
        EXPECT_EQ(to[i], cases[i].second) << std::hex << from[i];
    }
    EXPECT_EQ(to.back(), 0x12345678u);  // nothing written past the count
}

}  // namespace
}  // namespace platform
