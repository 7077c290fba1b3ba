#include "display/changed_tiles.h"

#include <algorithm>
#include <cstring>

std::vector<Rect> UpdateChangedTiles(const uint16_t* now, int32_t pitch, uint16_t* shown,
                                     int32_t width, int32_t height) {
    std::vector<Rect> rects;
    if (width <= 0 || height <= 0) {
        return rects;
    }
    const int32_t columns = (width + kChangedTileWidth - 1) / kChangedTileWidth;
    std::vector<char> dirty(static_cast<size_t>(columns));
    std::vector<size_t> open;  // rectangles that end at the top of the tile row
    std::vector<size_t> nextOpen;
    auto nowRow = [&](int32_t y) { return now + static_cast<size_t>(y) * pitch; };
    auto shownRow = [&](int32_t y) { return shown + static_cast<size_t>(y) * width; };
    for (int32_t top = 0; top < height; top += kChangedTileHeight) {
        const int32_t bottom = std::min(top + kChangedTileHeight, height);
        std::fill(dirty.begin(), dirty.end(), 0);
        for (int32_t y = top; y < bottom; ++y) {
            const uint16_t* a = nowRow(y);
            const uint16_t* b = shownRow(y);
            if (std::memcmp(a, b, static_cast<size_t>(width) * sizeof(uint16_t)) == 0) {
                continue;
            }
            for (int32_t c = 0; c < columns; ++c) {
                const int32_t x0 = c * kChangedTileWidth;
                const int32_t x1 = std::min(x0 + kChangedTileWidth, width);
                if (dirty[c] == 0 &&
                    std::memcmp(a + x0, b + x0, static_cast<size_t>(x1 - x0) * sizeof(uint16_t)) !=
                        0) {
                    dirty[c] = 1;
                }
            }
        }
        nextOpen.clear();
        for (int32_t c = 0; c < columns;) {
            if (dirty[c] == 0) {
                ++c;
                continue;
            }
            int32_t end = c;
            while (end < columns && dirty[end] != 0) {
                ++end;
            }
            const Rect run{c * kChangedTileWidth, top, std::min(end * kChangedTileWidth, width),
                           bottom};
            for (int32_t y = top; y < bottom; ++y) {
                std::memcpy(shownRow(y) + run.left, nowRow(y) + run.left,
                            static_cast<size_t>(run.right - run.left) * sizeof(uint16_t));
            }
            const auto above = std::find_if(open.begin(), open.end(), [&](size_t i) {
                return rects[i].left == run.left && rects[i].right == run.right;
            });
            if (above != open.end()) {
                rects[*above].bottom = bottom;
                nextOpen.push_back(*above);
            } else {
                rects.push_back(run);
                nextOpen.push_back(rects.size() - 1);
            }
            c = end;
        }
        std::swap(open, nextOpen);
    }
    return rects;
}
