#pragma once

#include <cairo.h>

#include <functional>
#include <string_view>

#include "canvas.h"
#include "item_catalog.h"

namespace make_demo {

// The look of a sub-menu cell, shared by the demo's items and the family's own ones.

struct CellBox {
    int x, y, w, h;
};

// The cell of sub-menu position 0..7 on the 800 × 600 screen: two rows of four, 195 × 260.
CellBox CellRect(int position);

// Draws the item's thumbnail into the box (x, y, w, h) with corners of radius r.
using ThumbnailPainter =
    std::function<void(cairo_t* cr, double x, double y, double w, double h, double r)>;

// A white card framed in the theme's colour, the thumbnail on top and the name below it.
void ItemCell(cairo_t* cr, const CellBox& cell, Theme theme, std::string_view name,
              const ThumbnailPainter& thumbnail);

// The cell as it looks under the pointer: brighter, with a golden frame and two sparkles.
Canvas ButtonHighlight(const Canvas& subMenu, const CellBox& cell);

// The cell of an item that is not available now: faded, with a no-entry sign.
void NotNowCell(Canvas& canvas, const CellBox& cell);

// The largest text size up to `size` whose width stays within `width`.
double FittingSize(cairo_t* cr, std::string_view text, double size, double width);

}  // namespace make_demo
