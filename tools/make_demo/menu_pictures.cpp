#include "menu_pictures.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "canvas.h"
#include "cell_style.h"
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
    for (int p = 0; p < 8; ++p) {
        const Item& item = Items()[first + static_cast<size_t>(p)];
        ItemCell(cr, CellRect(p), theme, item.name,
                 [&item](cairo_t* c, double x, double y, double w, double h, double r) {
                     DrawItemThumbnail(c, item, x, y, w, h, r);
                 });
    }

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
