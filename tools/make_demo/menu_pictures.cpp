#include "menu_pictures.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "canvas.h"
#include "item_pictures.h"
#include "jpeg_writer.h"
#include "menu_art.h"
#include "paint.h"
#include "theme_style.h"

namespace make_demo {
namespace {

const char* const kMenuFolder = "Grafik\\Meny\\";

void Save(PackWriter& pack, const std::string& name, const Canvas& canvas) {
    pack.Write(kMenuFolder + name, EncodeJpeg(canvas, JpegQuality::Menu));
}

struct Rect {
    int x, y, w, h;
};

// Where the main menu's highlights go, as the program draws them; each theme's card lies
// inside both its highlight and the area that a click opens it from (split at 400 / 300).
constexpr Rect kQuadrants[4] = {
    {80, 0, 310, 285}, {390, 0, 310, 285}, {80, 285, 310, 285}, {390, 285, 310, 285}};
constexpr Rect kCards[4] = {
    {92, 12, 288, 262}, {410, 12, 280, 262}, {92, 308, 288, 252}, {410, 308, 280, 252}};
// The theme behind each quadrant, and the item that stands for it on its card.
constexpr Theme kQuadrantThemes[4] = {Theme::Musik, Theme::Djur, Theme::Sport, Theme::Yrke};
constexpr int kCardItems[4] = {8, 24, 16, 1};

// The exit corner and the choices button at the right edge, where clicks find them.
constexpr Rect kExitCorner = {734, 534, 56, 56};
constexpr Rect kChoicesButton = {734, 466, 56, 59};

// Text that fits: the largest size up to `size` whose width stays within `width`.
double FittingSize(cairo_t* cr, std::string_view text, double size, double width) {
    while (size > 10 && TextWidth(cr, text, size) > width) size -= 1;
    return size;
}

void ThemeCard(cairo_t* cr, const Rect& r, Theme theme, const Item& item) {
    RoundedRectPath(cr, r.x, r.y, r.w, r.h, 26);
    FillInk(cr, ThemePale(theme), 4);
    RoundedRectPath(cr, r.x + 5, r.y + 5, r.w - 10, r.h - 10, 22);
    Stroke(cr, ThemeColour(theme), 6);
    const double inset = 16;
    DrawItemThumbnail(cr, item, r.x + inset, r.y + inset, r.w - 2 * inset, r.h - 74, 16);
    DrawOutlinedText(cr, ThemeName(theme), r.x + r.w / 2.0, r.y + r.h - 18, 44, ThemeColour(theme),
                     Align::Centre, 7, kWhite);
}

Canvas MainMenuBackground() {
    Canvas canvas(800, 600);
    cairo_t* cr = canvas.Cr();
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, 600);
    cairo_pattern_add_color_stop_rgb(sky, 0, 0.72, 0.89, 1.0);
    cairo_pattern_add_color_stop_rgb(sky, 1, 1.0, 0.95, 0.80);
    cairo_rectangle(cr, 0, 0, 800, 600);
    cairo_set_source(cr, sky);
    cairo_fill(cr);
    cairo_pattern_destroy(sky);
    Confetti(cr, 0, 0, 800, 600, 90, 11, 0.6);

    // The left edge: the program's name climbing up beside the bee.
    cairo_save(cr);
    cairo_translate(cr, 58, 560);
    cairo_rotate(cr, -1.5707963267948966);
    DrawOutlinedText(cr, "Quillowbee", 0, 0, 46, Hex(0xFFD23F), Align::Left, 8);
    cairo_restore(cr);
    Bee(cr, 40, 60, 62);

    for (int i = 0; i < 4; ++i) {
        ThemeCard(cr, kCards[i], kQuadrantThemes[i], Items()[kCardItems[i]]);
    }

    // The right edge: a flower, the choices button and the way out.
    Sun(cr, 752, 62, 30);
    Flower(cr, 752, 300, 22, Hex(0xFF7FAF));
    Flower(cr, 722, 360, 16, Hex(0xFFFFFF));
    Bee(cr, 752, 200, 50);
    SettingsButton(cr, kChoicesButton.x, kChoicesButton.y, kChoicesButton.w, kChoicesButton.h);
    ExitDoor(cr, kExitCorner.x, kExitCorner.y, kExitCorner.w, kExitCorner.h);
    return canvas;
}

Canvas StopNote() {
    Canvas canvas(70, 70);
    cairo_t* cr = canvas.Cr();
    cairo_rectangle(cr, 0, 0, 70, 70);
    Fill(cr, Hex(0xFFF59D));
    cairo_rectangle(cr, 1.5, 1.5, 67, 67);
    Stroke(cr, kInk, 3);
    cairo_rectangle(cr, 22, 0, 26, 8);
    Fill(cr, Hex(0xB3E5FC), 0.9);
    StopSign(cr, 35, 38, 27);
    return canvas;
}

Rect CellRect(int position) {
    return {10 + 195 * (position % 4), position < 4 ? 0 : 260, 195, 260};
}

void ItemCell(cairo_t* cr, const Rect& cell, const Item& item) {
    const Theme theme = item.theme;
    RoundedRectPath(cr, cell.x + 7, cell.y + 7, cell.w - 14, cell.h - 14, 22);
    FillInk(cr, kWhite, 4);
    RoundedRectPath(cr, cell.x + 11, cell.y + 11, cell.w - 22, cell.h - 22, 18);
    Stroke(cr, ThemeColour(theme), 5);
    DrawItemThumbnail(cr, item, cell.x + 19, cell.y + 19, cell.w - 38, 172, 12);
    const double size = FittingSize(cr, item.name, 30, cell.w - 36);
    DrawText(cr, item.name, cell.x + cell.w / 2.0, cell.y + 234, size, ThemeColour(theme),
             Align::Centre);
}

Canvas SubMenuBackground(Theme theme) {
    Canvas canvas(800, 600);
    cairo_t* cr = canvas.Cr();
    cairo_pattern_t* wash = cairo_pattern_create_linear(0, 0, 0, 600);
    const Rgb top = Lighter(ThemeColour(theme), 0.55), bottom = ThemePale(theme);
    cairo_pattern_add_color_stop_rgb(wash, 0, top.r, top.g, top.b);
    cairo_pattern_add_color_stop_rgb(wash, 1, bottom.r, bottom.g, bottom.b);
    cairo_rectangle(cr, 0, 0, 800, 600);
    cairo_set_source(cr, wash);
    cairo_fill(cr);
    cairo_pattern_destroy(wash);
    Confetti(cr, 0, 0, 800, 600, 60, 20 + static_cast<unsigned>(theme), 0.45);

    const size_t first = (static_cast<size_t>(theme) - 1) * 8;
    for (int p = 0; p < 8; ++p) ItemCell(cr, CellRect(p), Items()[first + static_cast<size_t>(p)]);

    // Below the cells: the theme's name with the bee, and the way back.
    RoundedRectPath(cr, 150, 528, 460, 64, 30);
    FillInk(cr, kWhite, 4);
    DrawText(cr, ThemeName(theme), 400, 577, 48, ThemeColour(theme), Align::Centre);
    Bee(cr, 96, 560, 70);
    ExitDoor(cr, kExitCorner.x, kExitCorner.y, kExitCorner.w, kExitCorner.h);
    return canvas;
}

std::string TwoDigits(int k) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d", k);
    return text;
}

Canvas ButtonHighlight(const Canvas& subMenu, const Rect& cell) {
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

void NotNowCell(Canvas& canvas, const Rect& cell) {
    Fade(canvas, cell.x, cell.y, cell.w, cell.h, 0.45);
    cairo_t* cr = canvas.Cr();
    NoEntrySign(cr, cell.x + cell.w / 2.0, cell.y + 104, 52);
    RoundedRectPath(cr, cell.x + 30, cell.y + 202, cell.w - 60, 44, 20);
    FillInk(cr, kWhite, 4);
    DrawText(cr, "Inte nu", cell.x + cell.w / 2.0, cell.y + 233, 26, Hex(0xE02424), Align::Centre);
}

}  // namespace

void WriteMainMenuPictures(PackWriter& pack) {
    const Canvas background = MainMenuBackground();
    Save(pack, "StartMeny.jpg", background);
    Save(pack, "StoppLapp.jpg", StopNote());
    for (int n = 0; n < 4; ++n) {
        const Rect& q = kQuadrants[n];
        Canvas highlight = background.Crop(q.x, q.y, q.w, q.h);
        Brighten(highlight, 0, 0, q.w, q.h, 0.3);
        // A warm glow around the card tells the child which theme the pointer is on.
        const Rect& card = kCards[n];
        RoundedRectPath(highlight.Cr(), card.x - q.x - 2, card.y - q.y - 2, card.w + 4, card.h + 4,
                        28);
        Stroke(highlight.Cr(), Hex(0xFFE14D), 9);
        Save(pack, "StartMeny" + std::to_string(n) + ".jpg", highlight);
    }
}

void WriteSubMenuPictures(PackWriter& pack, Theme theme) {
    const Canvas subMenu = SubMenuBackground(theme);
    const std::string name(ThemeName(theme));
    Save(pack, name + "Meny1.jpg", subMenu);
    const int first = (static_cast<int>(theme) - 1) * 8;
    for (int p = 0; p < 8; ++p) {
        Save(pack, "Knapp1_" + TwoDigits(first + p) + ".jpg",
             ButtonHighlight(subMenu, CellRect(p)));
    }
    Canvas notes = subMenu.Crop(0, 0, 800, 600);
    for (int p = 0; p < 8; ++p) NotNowCell(notes, CellRect(p));
    Save(pack, "Lapp" + std::to_string(static_cast<int>(theme) - 1) + ".jpg", notes);
}

}  // namespace make_demo
