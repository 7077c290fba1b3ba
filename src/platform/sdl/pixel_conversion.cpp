#include "platform/sdl/pixel_conversion.h"

#include <array>

namespace platform {

namespace {

// Red and the top half of green sit in a pixel's high byte, the rest of green and blue in its low
// byte, and each widened channel's bits come from one byte alone: two looked-up parts, or-ed.
struct ByteTables {
    std::array<uint32_t, 256> high{};
    std::array<uint32_t, 256> low{};
};

constexpr uint32_t Widen5(uint32_t v) {
    return (v << 3) | (v >> 2);
}

constexpr ByteTables MakeTables() {
    ByteTables t;
    for (uint32_t b = 0; b < 256; ++b) {
        const uint32_t greenHigh = b & 7;  // green's top three bits
        t.high[b] = 0xFF000000u | Widen5(b >> 3) << 16 | ((greenHigh << 5) | (greenHigh >> 1)) << 8;
        t.low[b] = ((b >> 5) << 2) << 8 | Widen5(b & 31);
    }
    return t;
}

constexpr ByteTables kTables = MakeTables();

}  // namespace

void Rgb565ToArgb8888(const uint16_t* from, uint32_t* to, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        const uint32_t p = from[i];
        to[i] = kTables.high[p >> 8] | kTables.low[p & 0xFF];
    }
}

}  // namespace platform
