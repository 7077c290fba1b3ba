#include "platform/bmp_reader.h"

#include <array>

#include "shell/system_failure.h"

namespace platform {

namespace {

uint32_t U16(const std::string& b, size_t at) {
    return static_cast<uint8_t>(b[at]) |
           (static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8);
}
uint32_t U32(const std::string& b, size_t at) {
    return U16(b, at) | (U16(b, at + 2) << 16);
}

}  // namespace

void ReadBmp(const std::string& name, const std::string& bytes, DecodedPicture& picture) {
    auto broken = [&](const std::string& why) {
        Fail(name + ": not a readable bitmap (" + why + ")");
    };
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') {
        broken("no bitmap header");
    }
    const uint32_t dataOffset = U32(bytes, 10);
    const uint32_t headerSize = U32(bytes, 14);
    if (headerSize < 40 || 14 + static_cast<size_t>(headerSize) > bytes.size()) {
        broken("unsupported header");
    }
    const auto width = static_cast<int32_t>(U32(bytes, 18));
    const auto rawHeight = static_cast<int32_t>(U32(bytes, 22));
    const uint32_t planes = U16(bytes, 26);
    const uint32_t bits = U16(bytes, 28);
    const uint32_t compression = U32(bytes, 30);
    if (planes != 1 || (compression != 0 && !(compression == 3 && bits == 32))) {
        broken("compressed");
    }
    if (rawHeight == INT32_MIN) {
        broken("bad size");
    }
    const bool topDown = rawHeight < 0;
    const int32_t height = topDown ? -rawHeight : rawHeight;
    if (width <= 0 || height <= 0 || width > kLargestPictureSide || height > kLargestPictureSide) {
        broken("size " + std::to_string(width) + " x " + std::to_string(height));
    }
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) {
        broken(std::to_string(bits) + " bits a pixel");
    }
    std::array<uint32_t, 256> palette{};
    if (bits <= 8) {
        uint32_t colours = U32(bytes, 46);
        if (colours == 0 || colours > (1u << bits)) {
            colours = 1u << bits;
        }
        const size_t paletteAt = 14 + static_cast<size_t>(headerSize);
        if (paletteAt + colours * 4 > bytes.size()) {
            broken("palette cut short");
        }
        for (uint32_t i = 0; i < colours; ++i) {
            palette[i] = U32(bytes, paletteAt + i * 4);  // B, G, R, 0
        }
    }
    const size_t rowBytes = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
    if (dataOffset > bytes.size() || rowBytes * height > bytes.size() - dataOffset) {
        broken("pixel data cut short");
    }
    picture.width = width;
    picture.height = height;
    picture.pixels.resize(static_cast<size_t>(width) * height * 4);
    for (int32_t y = 0; y < height; ++y) {
        const int32_t fileRow = topDown ? y : height - 1 - y;
        const auto* row = reinterpret_cast<const uint8_t*>(bytes.data()) + dataOffset +
                          rowBytes * static_cast<size_t>(fileRow);
        uint8_t* out = picture.pixels.data() + static_cast<size_t>(y) * width * 4;
        for (int32_t x = 0; x < width; ++x, out += 4) {
            uint32_t bgr;
            if (bits == 24 || bits == 32) {
                const uint8_t* p = row + static_cast<size_t>(x) * (bits / 8);
                bgr = p[0] | (p[1] << 8) | (static_cast<uint32_t>(p[2]) << 16);
            } else {
                const size_t bit = static_cast<size_t>(x) * bits;
                const uint32_t index = (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
                bgr = palette[index];
            }
            out[0] = static_cast<uint8_t>(bgr >> 16);
            out[1] = static_cast<uint8_t>(bgr >> 8);
            out[2] = static_cast<uint8_t>(bgr);
            out[3] = 255;
        }
    }
}

}  // namespace platform
