#include "bmp_writer.h"

#include <stdexcept>

#include "bytes.h"

namespace writers {

std::string EncodeBmp(int width, int height, int bits, std::string_view palette,
                      std::string_view rows) {
    const uint32_t offset = 14 + 40 + static_cast<uint32_t>(palette.size());
    std::string out = "BM";
    PutLittleEndian(out, offset + static_cast<uint32_t>(rows.size()), 4);
    PutLittleEndian(out, 0, 4);
    PutLittleEndian(out, offset, 4);
    PutLittleEndian(out, 40, 4);  // BITMAPINFOHEADER
    PutLittleEndian(out, static_cast<uint32_t>(width), 4);
    PutLittleEndian(out, static_cast<uint32_t>(height), 4);
    PutLittleEndian(out, 1, 2);
    PutLittleEndian(out, static_cast<uint32_t>(bits), 2);
    PutLittleEndian(out, 0, 4);  // BI_RGB, uncompressed
    PutLittleEndian(out, static_cast<uint32_t>(rows.size()), 4);
    PutLittleEndian(out, 2835, 4);  // 72 dots per inch
    PutLittleEndian(out, 2835, 4);
    PutLittleEndian(out, static_cast<uint32_t>(palette.size() / 4), 4);
    PutLittleEndian(out, 0, 4);
    out += palette;
    out += rows;
    return out;
}

std::string EncodeBmp24(int width, int height, const std::vector<uint8_t>& rgb) {
    if (width <= 0 || height <= 0 || rgb.size() != static_cast<size_t>(width) * height * 3) {
        throw std::runtime_error("BMP pixels do not match the picture size");
    }
    const size_t rowBytes = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    std::string rows;
    rows.reserve(rowBytes * height);
    for (int y = height - 1; y >= 0; --y) {  // stored bottom-up
        const uint8_t* row = rgb.data() + static_cast<size_t>(y) * width * 3;
        for (int x = 0; x < width; ++x) {
            rows.push_back(static_cast<char>(row[x * 3 + 2]));
            rows.push_back(static_cast<char>(row[x * 3 + 1]));
            rows.push_back(static_cast<char>(row[x * 3]));
        }
        rows.append(rowBytes - static_cast<size_t>(width) * 3, '\0');
    }
    return EncodeBmp(width, height, 24, {}, rows);
}

}  // namespace writers
