#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Windows bitmap files.
namespace writers {

// The headers (BITMAPINFOHEADER, uncompressed) and `palette` (4 bytes a colour) in front of
// `rows` as given; a negative height stores the rows from the top.
std::string EncodeBmp(int width, int height, int bits, std::string_view palette,
                      std::string_view rows);
// A 24-bit file from R, G, B bytes, rows from the top. Throws when the sizes do not match.
std::string EncodeBmp24(int width, int height, const std::vector<uint8_t>& rgb);

}  // namespace writers
