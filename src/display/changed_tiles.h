#pragma once

#include <cstdint>
#include <vector>

#include "base/rect.h"

// The parts of a picture that differ from the copy last shown, in tiles of this size (clipped at
// the picture's edges): small enough that a highlight moving between quadrants touches only the
// two quadrants, large enough that the comparison and the list stay cheap.
inline constexpr int32_t kChangedTileWidth = 32;
inline constexpr int32_t kChangedTileHeight = 16;

// Rectangles covering every pixel of `now` (rows `pitch` pixels apart) that differs from `shown`
// (width x height, rows packed), and nothing but whole tiles that hold such a pixel. Changed
// tiles next to each other in a tile row make one rectangle; rectangles of the same columns in
// consecutive tile rows are merged. `shown` is brought up to `now` inside the rectangles.
std::vector<Rect> UpdateChangedTiles(const uint16_t* now, int32_t pitch, uint16_t* shown,
                                     int32_t width, int32_t height);
