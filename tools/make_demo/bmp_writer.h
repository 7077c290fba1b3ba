#pragma once

#include <cstdint>
#include <vector>

namespace make_demo {

// An uncompressed 24-bit BMP file from pixels given as R, G, B bytes, rows from the top.
std::vector<uint8_t> EncodeBmp24(int width, int height, const std::vector<uint8_t>& rgb);

}  // namespace make_demo
