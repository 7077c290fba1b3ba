#include "cell_style.h"

#include "menu_art.h"
#include "paint.h"
#include "theme_style.h"

namespace make_demo {

CellBox CellRect(int position) {
    return {10 + 195 * (position % 4), position < 4 ? 0 : 260, 195, 260};
}

double FittingSize(cairo_t* cr, std::string_view text, double size, double width) {
    while (size > 10 && TextWidth(cr, text, size) > width) size -= 1;
    return size;
}

void ItemCell(cairo_t* cr, const CellBox& cell, Theme theme, std::string_view name,
              const ThumbnailPainter& thumbnail) {
    RoundedRectPath(cr, cell.x + 7, cell.y + 7, cell.w - 14, cell.h - 14, 22);
    FillInk(cr, kWhite, 4);
    RoundedRectPath(cr, cell.x + 11, cell.y + 11, cell.w - 22, cell.h - 22, 18);
    Stroke(cr, ThemeColour(theme), 5);
    thumbnail(cr, cell.x + 19, cell.y + 19, cell.w - 38, 172, 12);
    const double size = FittingSize(cr, name, 30, cell.w - 36);
    DrawText(cr, name, cell.x + cell.w / 2.0, cell.y + 234, size, ThemeColour(theme),
             Align::Centre);
}

Canvas ButtonHighlight(const Canvas& subMenu, const CellBox& cell) {
    Canvas button = subMenu.Crop(cell.x, cell.y, cell.w, cell.h);
    Brighten(button, 0, 0, cell.w, cell.h, 0.3);
    cairo_t* cr = button.Cr();
    RoundedRectPath(cr, 4, 4, cell.w - 8, cell.h - 8, 22);
    Stroke(cr, kInk, 12);
    RoundedRectPath(cr, 4, 4, cell.w - 8, cell.h - 8, 22);
    Stroke(cr, Hex(0xFFD60A), 7);
    Sparkle(cr, 24, 24, 14, Hex(0xFFF59D));
    Sparkle(cr, cell.w - 24, cell.h - 50, 11, Hex(0xFFF59D));
    return button;
}

void NotNowCell(Canvas& canvas, const CellBox& cell) {
    Fade(canvas, cell.x, cell.y, cell.w, cell.h, 0.45);
    cairo_t* cr = canvas.Cr();
    NoEntrySign(cr, cell.x + cell.w / 2.0, cell.y + 104, 52);
    RoundedRectPath(cr, cell.x + 30, cell.y + 202, cell.w - 60, 44, 20);
    FillInk(cr, kWhite, 4);
    DrawText(cr, "Inte nu", cell.x + cell.w / 2.0, cell.y + 233, 26, Hex(0xE02424), Align::Centre);
}

}  // namespace make_demo
