#include "menu_art.h"

#include <cmath>
#include <numbers>

#include "random.h"

namespace make_demo {
namespace {

constexpr double kPi = std::numbers::pi;

}  // namespace

void Bee(cairo_t* cr, double x, double y, double size) {
    const double s = size / 100.0;
    for (int side : {-1, 1}) {
        EllipsePath(cr, x + side * 14 * s, y - 34 * s, 22 * s, 30 * s);
        SetColour(cr, Hex(0xE3F6FF), 0.9);
        cairo_fill_preserve(cr);
        Stroke(cr, kInk, 3.5 * s);
    }
    EllipsePath(cr, x, y, 46 * s, 32 * s);
    FillInk(cr, Hex(0xFFD23F), 4 * s);
    cairo_save(cr);
    EllipsePath(cr, x, y, 46 * s, 32 * s);
    cairo_clip(cr);
    for (int i = 0; i < 2; ++i) {
        cairo_rectangle(cr, x - 22 * s + i * 24 * s, y - 40 * s, 11 * s, 80 * s);
        Fill(cr, kInk);
    }
    cairo_restore(cr);
    EllipsePath(cr, x, y, 46 * s, 32 * s);
    Stroke(cr, kInk, 4 * s);
    PolygonPath(cr, {{x - 46 * s, y - 5 * s}, {x - 60 * s, y}, {x - 46 * s, y + 5 * s}});
    Fill(cr, kInk);
    CirclePath(cr, x + 44 * s, y - 6 * s, 24 * s);
    FillInk(cr, Hex(0xFFD23F), 4 * s);
    for (int side : {-1, 1}) {
        cairo_move_to(cr, x + (44 + side * 8) * s, y - 28 * s);
        cairo_curve_to(cr, x + (44 + side * 10) * s, y - 42 * s, x + (44 + side * 16) * s,
                       y - 46 * s, x + (44 + side * 18) * s, y - 50 * s);
        Stroke(cr, kInk, 3 * s);
        CirclePath(cr, x + (44 + side * 18) * s, y - 50 * s, 4 * s);
        Fill(cr, kInk);
    }
    Eye(cr, x + 52 * s, y - 10 * s, 4.5 * s);
    Smile(cr, x + 50 * s, y + 4 * s, 16 * s, 7 * s, 3 * s);
    EllipsePath(cr, x + 34 * s, y + 2 * s, 6 * s, 4 * s);
    Fill(cr, Hex(0xFF7F8A), 0.7);
}

void ExitDoor(cairo_t* cr, double x, double y, double w, double h) {
    RoundedRectPath(cr, x, y, w, h, w * 0.18);
    FillInk(cr, Hex(0xFFF3C4), 3);
    const double fx = x + w * 0.2, fy = y + h * 0.12, fw = w * 0.48, fh = h * 0.8;
    cairo_rectangle(cr, fx, fy, fw, fh);
    FillInk(cr, Hex(0x3B2C4F), 2.5);
    // The door swung open towards us.
    PolygonPath(cr, {{fx, fy},
                     {fx + fw * 0.62, fy + fh * 0.08},
                     {fx + fw * 0.62, fy + fh * 0.98},
                     {fx, fy + fh}});
    FillInk(cr, Hex(0xC77D3A), 2.5);
    CirclePath(cr, fx + fw * 0.5, fy + fh * 0.55, w * 0.04 + 1);
    Fill(cr, Hex(0xFFD23F));
    const double ay = fy + fh * 0.5;
    InkLine(cr, {fx + fw * 0.75, ay}, {x + w * 0.9, ay}, Hex(0x43C35A), h * 0.07, 2);
    PolygonPath(cr,
                {{x + w * 0.97, ay}, {x + w * 0.8, ay - h * 0.13}, {x + w * 0.8, ay + h * 0.13}});
    FillInk(cr, Hex(0x43C35A), 2);
}

void SettingsButton(cairo_t* cr, double x, double y, double w, double h) {
    RoundedRectPath(cr, x, y, w, h, w * 0.22);
    FillInk(cr, Hex(0x8EC9FF), 3);
    const double cx = x + w / 2, cy = y + h / 2, r = std::min(w, h) * 0.34;
    for (int i = 0; i < 8; ++i) {
        const double a = i * kPi / 4;
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_rotate(cr, a);
        cairo_rectangle(cr, -r * 0.22, -r * 1.18, r * 0.44, r * 0.5);
        cairo_restore(cr);
    }
    CirclePath(cr, cx, cy, r * 0.85);
    FillUnionInk(cr, Hex(0xECEFF1), 1.5);
    CirclePath(cr, cx, cy, r * 0.35);
    FillInk(cr, Hex(0x8EC9FF), 2);
}

void Padlock(cairo_t* cr, double x, double y, double size) {
    cairo_arc(cr, x, y - size * 0.15, size * 0.28, kPi, 2 * kPi);
    cairo_line_to(cr, x + size * 0.28, y + size * 0.05);
    cairo_move_to(cr, x - size * 0.28, y - size * 0.15);
    cairo_line_to(cr, x - size * 0.28, y + size * 0.05);
    Stroke(cr, Hex(0x78909C), size * 0.12);
    RoundedRectPath(cr, x - size * 0.42, y - size * 0.05, size * 0.84, size * 0.6, size * 0.1);
    FillInk(cr, Hex(0xFFC107), size * 0.06);
    CirclePath(cr, x, y + size * 0.2, size * 0.08);
    Fill(cr, kInk);
}

void StopSign(cairo_t* cr, double x, double y, double radius) {
    for (int i = 0; i < 8; ++i) {
        const double a = kPi / 8 + i * kPi / 4;
        const double px = x + std::cos(a) * radius, py = y + std::sin(a) * radius;
        if (i == 0) {
            cairo_move_to(cr, px, py);
        } else {
            cairo_line_to(cr, px, py);
        }
    }
    cairo_close_path(cr);
    FillInk(cr, Hex(0xE02424), radius * 0.08);
    for (int i = 0; i < 8; ++i) {
        const double a = kPi / 8 + i * kPi / 4;
        const double px = x + std::cos(a) * radius * 0.84, py = y + std::sin(a) * radius * 0.84;
        if (i == 0) {
            cairo_move_to(cr, px, py);
        } else {
            cairo_line_to(cr, px, py);
        }
    }
    cairo_close_path(cr);
    Stroke(cr, kWhite, radius * 0.07);
    DrawText(cr, "STOPP", x, y + radius * 0.17, radius * 0.48, kWhite, Align::Centre);
}

void NoEntrySign(cairo_t* cr, double x, double y, double radius) {
    CirclePath(cr, x, y, radius);
    FillInk(cr, Hex(0xE02424), radius * 0.1);
    CirclePath(cr, x, y, radius * 0.86);
    Stroke(cr, kWhite, radius * 0.06);
    RoundedRectPath(cr, x - radius * 0.62, y - radius * 0.17, radius * 1.24, radius * 0.34,
                    radius * 0.06);
    Fill(cr, kWhite);
}

void Confetti(cairo_t* cr, double x, double y, double w, double h, int count, unsigned seed,
              double alpha) {
    Random random(seed);
    const Rgb colours[] = {Hex(0xFF6F91), Hex(0xFFC75F), Hex(0x4FC3F7), Hex(0x81C784),
                           Hex(0xB39DDB)};
    for (int i = 0; i < count; ++i) {
        const double px = random.Between(x, x + w), py = random.Between(y, y + h);
        const Rgb c = colours[random.Next() % 5];
        if (i % 3 == 0) {
            StarPath(cr, px, py, 9, 4, 5, random.Uniform());
        } else {
            CirclePath(cr, px, py, random.Between(3, 7));
        }
        Fill(cr, c, alpha);
    }
}

}  // namespace make_demo
