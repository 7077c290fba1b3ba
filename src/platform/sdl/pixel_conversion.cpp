#include "platform/sdl/pixel_conversion.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

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

bool Rgb565ToSurface(const uint16_t* pixels, int32_t pitchPixels, const Rect& part, SDL_Surface* to,
                     int32_t x, int32_t y) {
    const int32_t width = part.right - part.left;
    const int32_t rows = part.bottom - part.top;
    if (width <= 0 || rows <= 0) {
        return true;
    }
    const Uint32 format = to->format->format;
    const auto pitch = static_cast<size_t>(to->pitch);
    const uint16_t* from = pixels + static_cast<size_t>(part.top) * pitchPixels + part.left;
    uint8_t* first = static_cast<uint8_t*>(to->pixels) + static_cast<size_t>(y) * pitch +
                     static_cast<size_t>(x) * to->format->BytesPerPixel;
    const auto line = [&](int32_t row) { return from + static_cast<size_t>(row) * pitchPixels; };
    if (format == SDL_PIXELFORMAT_RGB888 || format == SDL_PIXELFORMAT_ARGB8888) {
        // The same byte order; a window without alpha ignores the top byte.
        for (int32_t row = 0; row < rows; ++row) {
            Rgb565ToArgb8888(line(row), reinterpret_cast<uint32_t*>(first + row * pitch), width);
        }
        return true;
    }
    if (format == SDL_PIXELFORMAT_RGB565) {
        for (int32_t row = 0; row < rows; ++row) {
            std::memcpy(first + row * pitch, line(row), static_cast<size_t>(width) * 2);
        }
        return true;
    }
    // Any other format: a band of lines at a time in 32 bits, then converted by SDL, so that the
    // buffer stays small whatever the part's size.
    constexpr int32_t kBandPixels = 16384;
    const int32_t band = std::clamp(kBandPixels / width, 1, rows);
    std::vector<uint32_t> buffer(static_cast<size_t>(band) * width);
    for (int32_t row = 0; row < rows; row += band) {
        const int32_t lines = std::min(band, rows - row);
        for (int32_t i = 0; i < lines; ++i) {
            Rgb565ToArgb8888(line(row + i), buffer.data() + static_cast<size_t>(i) * width, width);
        }
        if (SDL_ConvertPixels(width, lines, SDL_PIXELFORMAT_ARGB8888, buffer.data(), width * 4,
                              format, first + row * pitch, to->pitch) != 0) {
            return false;
        }
    }
    return true;
}

}  // namespace platform
