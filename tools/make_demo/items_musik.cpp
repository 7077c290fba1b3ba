// The instruments, each played in its film.
#include <cmath>
#include <numbers>

#include "effects.h"
#include "item_drawings.h"
#include "paint.h"

namespace make_demo {
namespace {

constexpr double kPi = std::numbers::pi;

void Wood(cairo_t* cr, double x0, double y0, double x1, double y1, Rgb light, Rgb dark) {
    cairo_pattern_t* p = cairo_pattern_create_linear(x0, y0, x1, y1);
    cairo_pattern_add_color_stop_rgb(p, 0, light.r, light.g, light.b);
    cairo_pattern_add_color_stop_rgb(p, 1, dark.r, dark.g, dark.b);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    Stroke(cr, kInk, 5);
}

// A violin or guitar body, upright, centred on x = 0: half-widths of the upper bout, the waist
// and the lower bout, between the top and the bottom.
void BodyPath(cairo_t* cr, double top, double bottom, double upper, double waist, double lower) {
    const double h = bottom - top;
    const double waistY = top + h * 0.42;
    cairo_move_to(cr, 0, top);
    cairo_curve_to(cr, upper * 0.7, top, upper, top + h * 0.05, upper, top + h * 0.2);
    cairo_curve_to(cr, upper, top + h * 0.32, waist, waistY - h * 0.06, waist, waistY);
    cairo_curve_to(cr, waist, waistY + h * 0.08, lower, waistY + h * 0.1, lower, top + h * 0.72);
    cairo_curve_to(cr, lower, bottom - h * 0.06, lower * 0.6, bottom, 0, bottom);
    cairo_curve_to(cr, -lower * 0.6, bottom, -lower, bottom - h * 0.06, -lower, top + h * 0.72);
    cairo_curve_to(cr, -lower, waistY + h * 0.1, -waist, waistY + h * 0.08, -waist, waistY);
    cairo_curve_to(cr, -waist, waistY - h * 0.06, -upper, top + h * 0.32, -upper, top + h * 0.2);
    cairo_curve_to(cr, -upper, top + h * 0.05, -upper * 0.7, top, 0, top);
    cairo_close_path(cr);
}

void Cylinder(cairo_t* cr, double cx, double top, double bottom, double rx, double ry, Rgb side,
              Rgb lid) {
    cairo_move_to(cr, cx - rx, top);
    cairo_line_to(cr, cx - rx, bottom);
    cairo_curve_to(cr, cx - rx, bottom + ry * 1.33, cx + rx, bottom + ry * 1.33, cx + rx, bottom);
    cairo_line_to(cr, cx + rx, top);
    cairo_close_path(cr);
    FillInk(cr, side, 5);
    EllipsePath(cr, cx, top, rx, ry);
    FillInk(cr, lid, 5);
}

}  // namespace

void DrawViolin(Sketch& s) {
    cairo_t* cr = s.cr;
    cairo_save(cr);
    cairo_translate(cr, 390, 300);
    cairo_rotate(cr, -0.45 + 0.04 * s.Wave());
    if (s.Part()) {
        BodyPath(cr, -70, 215, 78, 52, 96);
        Wood(cr, -90, -70, 90, 215, Hex(0xE9963A), Hex(0xA4501F));
    }
    if (s.Detail()) {
        for (int side : {-1, 1}) {
            cairo_move_to(cr, side * 40, 40);
            cairo_curve_to(cr, side * 55, 60, side * 25, 90, side * 40, 115);
            Stroke(cr, kInk, 6);
            CirclePath(cr, side * 40, 40, 5);
            CirclePath(cr, side * 40, 115, 5);
            Fill(cr, kInk);
        }
        PolygonPath(cr, {{-30, 100}, {30, 100}, {24, 84}, {-24, 84}});
        FillInk(cr, Hex(0xF5D6A0), 3);
    }
    if (s.Part()) {
        PolygonPath(cr, {{-13, -205}, {13, -205}, {20, 60}, {-20, 60}});
        FillInk(cr, Hex(0x2E1F1A), 4);
        cairo_rectangle(cr, -16, -250, 32, 50);
        FillInk(cr, Hex(0xB8622A), 4);
        CirclePath(cr, 0, -262, 22);
        FillInk(cr, Hex(0xB8622A), 4);
        cairo_arc(cr, 0, -262, 11, 0, 1.7 * kPi);
        Stroke(cr, kInk, 4);
    }
    if (s.Detail()) {
        PolygonPath(cr, {{-18, 140}, {18, 140}, {10, 205}, {-10, 205}});
        FillInk(cr, Hex(0x2E1F1A), 3);
    }
    if (s.Detail()) {
        for (int i = 0; i < 4; ++i) {
            const double x = -9 + i * 6;
            cairo_move_to(cr, x * 0.8, -240);
            cairo_line_to(cr, x * 1.3, 150);
            Stroke(cr, Hex(0xECEFF1), 2);
        }
    }
    if (s.Detail()) {
        for (int i = 0; i < 2; ++i) {
            for (int side : {-1, 1}) {
                InkLine(cr, {side * 16.0, -240.0 + i * 22}, {side * 36.0, -244.0 + i * 22},
                        Hex(0x2E1F1A), 8, 2);
            }
        }
        EllipsePath(cr, -48, 196, 30, 16);
        FillInk(cr, Hex(0x2E1F1A), 3);
    }
    if (s.Part()) {
        // The bow crosses the strings between the fingerboard and the bridge.
        const double shift = 110 * s.Wave();
        cairo_save(cr);
        cairo_translate(cr, shift, 72);
        cairo_rotate(cr, -0.08);
        InkLine(cr, {-250, 0}, {230, 0}, Hex(0x8B4A1F), 7, 3);
        cairo_move_to(cr, -225, 10);
        cairo_line_to(cr, 226, 6);
        Stroke(cr, Hex(0xFFF8E1), 4);
        RoundedRectPath(cr, -255, -6, 32, 24, 5);
        FillInk(cr, Hex(0x212121), 3);
        PolygonPath(cr, {{222, -5}, {238, -4}, {232, 10}});
        FillInk(cr, Hex(0xEEEEEE), 2);
        cairo_restore(cr);
    }
    cairo_restore(cr);
    if (s.Detail()) RisingNotes(s, {520, 250}, 4, 210, 90);
}

void DrawDrum(Sketch& s) {
    cairo_t* cr = s.cr;
    const double left = s.Pulse(2);  // 1: the left stick is up
    const double right = 1.0 - left;
    if (s.Detail()) {
        for (double x : {270.0, 400.0, 530.0}) {
            InkLine(cr, {400, 440}, {x + (x - 400) * 0.3, 500}, Hex(0x9E9E9E), 9, 3);
        }
    }
    if (s.Part()) Cylinder(cr, 400, 270, 420, 180, 52, Hex(0xE53935), Hex(0xFFF8E1));
    if (s.Detail()) {
        for (int i = 0; i < 8; ++i) {
            const double x0 = 240 + i * 40;
            cairo_move_to(cr, x0, 300 + 20 * std::sin(kPi * (x0 - 220) / 360));
            cairo_line_to(cr, x0 + 20, 420);
            cairo_line_to(cr, x0 + 40, 300 + 20 * std::sin(kPi * (x0 + 20) / 360));
        }
        Stroke(cr, Hex(0xFFD54F), 6);
    }
    if (s.Detail()) {
        cairo_move_to(cr, 220, 275);
        cairo_curve_to(cr, 220, 345, 580, 345, 580, 275);
        Stroke(cr, Hex(0xCFD8DC), 14);
        cairo_move_to(cr, 220, 420);
        cairo_curve_to(cr, 220, 490, 580, 490, 580, 420);
        Stroke(cr, Hex(0xCFD8DC), 14);
        EllipsePath(cr, 400, 270, 180, 52);
        Stroke(cr, Hex(0xCFD8DC), 10);
        EllipsePath(cr, 400, 270, 186, 56);
        Stroke(cr, kInk, 4);
    }
    if (s.Part()) {
        for (int side : {-1, 1}) {
            const double up = side < 0 ? left : right;
            const Point tip = {400.0 + side * 70, 262 - 150 * up};
            const Point end = {400.0 + side * 240, 150 - 60 * up};
            InkLine(cr, end, tip, Hex(0xE8B96A), 14, 4);
            CirclePath(cr, tip.x, tip.y, 14);
            FillInk(cr, Hex(0xE8B96A), 4);
        }
    }
    if (s.Detail()) {
        SoundRings(cr, {330, 262}, std::max(0.0, 1.0 - 2.5 * left), Hex(0xFFE14D));
        SoundRings(cr, {470, 262}, std::max(0.0, 1.0 - 2.5 * right), Hex(0xFFE14D));
        const double boom = std::max(1.0 - 2.5 * left, 1.0 - 2.5 * right);
        if (boom > 0.3) {
            DrawOutlinedText(cr, "BOM!", 400, 120, 44 + 10 * boom, Hex(0xFFE14D), Align::Centre, 8);
        }
    }
}

void DrawGuitar(Sketch& s) {
    cairo_t* cr = s.cr;
    cairo_save(cr);
    cairo_translate(cr, 410, 292);
    cairo_rotate(cr, 0.42 + 0.03 * s.Wave());
    cairo_scale(cr, 0.8, 0.8);
    const double shake = std::abs(s.Wave(3));
    if (s.Part()) {
        BodyPath(cr, -10, 250, 95, 70, 125);
        Wood(cr, -120, -10, 120, 250, Hex(0xFFC25C), Hex(0xE07B1F));
        CirclePath(cr, 0, 105, 36);
        Fill(cr, Hex(0x3E2723));
    }
    if (s.Detail()) {
        CirclePath(cr, 0, 105, 46);
        Stroke(cr, Hex(0x8D6E63), 8);
        cairo_move_to(cr, 30, 130);
        cairo_curve_to(cr, 80, 140, 85, 190, 50, 205);
        cairo_curve_to(cr, 35, 190, 35, 160, 30, 130);
        FillInk(cr, Hex(0xC98A5B), 3);
    }
    if (s.Detail()) {
        RoundedRectPath(cr, -45, 180, 90, 20, 6);
        FillInk(cr, Hex(0x5D4037), 3);
    }
    if (s.Part()) {
        cairo_rectangle(cr, -16, -250, 32, 250);
        FillInk(cr, Hex(0x6D4C41), 4);
        for (int i = 1; i < 7; ++i) {
            cairo_move_to(cr, -16, -i * 36);
            cairo_line_to(cr, 16, -i * 36);
            Stroke(cr, Hex(0xBDBDBD), 2);
        }
        PolygonPath(cr, {{-22, -250}, {22, -250}, {28, -330}, {-28, -330}});
        FillInk(cr, Hex(0x8D6E63), 4);
    }
    if (s.Detail()) {
        for (int i = 0; i < 3; ++i) {
            for (int side : {-1, 1}) {
                CirclePath(cr, side * 38, -270 - i * 24, 8);
                FillInk(cr, Hex(0xECEFF1), 3);
            }
        }
    }
    if (s.Part()) {
        for (int i = 0; i < 6; ++i) {
            const double x = -12.5 + i * 5;
            const double amp = (1.5 + i * 0.5) * shake;
            cairo_move_to(cr, x, -320);
            cairo_line_to(cr, x, 0);
            cairo_curve_to(cr, x + amp * 3, 60, x - amp * 3, 130, x, 190);
            Stroke(cr, Hex(0xF5F5F5), 2);
        }
    }
    cairo_restore(cr);
    if (s.Detail()) RisingNotes(s, {520, 330}, 4, 220, 80);
}

void DrawPiano(Sketch& s) {
    cairo_t* cr = s.cr;
    const int pressed = static_cast<int>(s.t * 16) % 8;
    const int whiteOrder[] = {0, 2, 4, 5, 7, 9, 11, 12};
    if (s.Part()) {
        RoundedRectPath(cr, 180, 130, 440, 250, 16);
        FillInk(cr, Hex(0x8D4E2A), 6);
        cairo_rectangle(cr, 165, 115, 470, 28);
        FillInk(cr, Hex(0x6D3A1E), 5);
        cairo_rectangle(cr, 205, 165, 390, 120);
        FillInk(cr, Hex(0x7A4223), 4);
    }
    if (s.Detail()) {
        for (double x : {195.0, 585.0}) {
            cairo_rectangle(cr, x, 380, 20, 105);
            FillInk(cr, Hex(0x6D3A1E), 4);
        }
        for (int i = 0; i < 2; ++i) {
            RoundedRectPath(cr, 370 + i * 40, 470, 24, 14, 5);
            FillInk(cr, Hex(0xFFD54F), 3);
        }
    }
    if (s.Part()) {
        cairo_rectangle(cr, 180, 300, 440, 90);
        FillInk(cr, Hex(0x6D3A1E), 5);
        for (int i = 0; i < 14; ++i) {
            const bool down = i % 7 == pressed % 7 && i / 7 == pressed / 4;
            cairo_rectangle(cr, 195 + i * 29.3, 310 + (down ? 5 : 0), 29.3, 68);
            FillInk(cr, down ? Hex(0xFFE082) : kWhite, 3);
        }
    }
    if (s.Detail()) {
        for (int i = 0; i < 13; ++i) {
            if (i % 7 == 2 || i % 7 == 6) continue;
            cairo_rectangle(cr, 195 + (i + 1) * 29.3 - 9, 310, 18, 40);
            Fill(cr, Hex(0x212121));
        }
    }
    if (s.Detail()) {
        cairo_rectangle(cr, 320, 180, 160, 90);
        FillInk(cr, Hex(0xFFFDE7), 4);
        for (int line = 0; line < 4; ++line) {
            cairo_move_to(cr, 332, 200 + line * 18);
            cairo_line_to(cr, 468, 200 + line * 18);
            Stroke(cr, Hex(0x9E9E9E), 2);
        }
        for (int n = 0; n < 4; ++n) {
            CirclePath(cr, 350 + n * 32, 236 - whiteOrder[n] * 3, 6);
            Fill(cr, kInk);
        }
    }
    if (s.Detail()) {
        RoundedRectPath(cr, 520, 60, 44, 56, 10);
        FillInk(cr, Hex(0x4FC3F7), 4);
        for (int i = 0; i < 3; ++i) {
            Flower(cr, 522 + i * 20, 42 - (i % 2) * 14, 11, i == 1 ? Hex(0xFF7FAF) : Hex(0xFFEB3B));
        }
    }
    if (s.Part()) RisingNotes(s, {300, 120}, 5, 120, 150);
}

void DrawRecorder(Sketch& s) {
    cairo_t* cr = s.cr;
    const double bob = 6 * s.Wave();
    const int playing = static_cast<int>(s.t * 6) % 6;
    cairo_save(cr);
    cairo_translate(cr, 360, 290 + bob);
    cairo_rotate(cr, 0.18);
    const Rgb wood = Hex(0xF3D9A4), dark = Hex(0xB5733A);
    if (s.Part()) {
        RoundedRectPath(cr, -24, -150, 48, 330, 20);
        Wood(cr, -24, 0, 24, 0, Lighter(wood, 0.3), wood);
    }
    if (s.Part()) {
        cairo_move_to(cr, -30, -150);
        cairo_line_to(cr, 30, -150);
        cairo_line_to(cr, 22, -230);
        cairo_curve_to(cr, 16, -250, -16, -250, -22, -230);
        cairo_close_path(cr);
        FillInk(cr, wood, 5);
        cairo_rectangle(cr, -12, -165, 24, 16);
        FillInk(cr, Hex(0x3E2723), 3);
    }
    if (s.Detail()) {
        for (int i = 0; i < 7; ++i) {
            const bool open = i >= 6 - playing;
            CirclePath(cr, 0, -100 + i * 36, 9);
            FillInk(cr, open ? Hex(0x3E2723) : Hex(0xF6C7A1), 3);
        }
    }
    if (s.Detail()) {
        for (double y : {-150.0, 30.0}) {
            cairo_rectangle(cr, -28, y - 8, 56, 16);
            FillInk(cr, dark, 4);
        }
    }
    if (s.Detail()) {
        cairo_move_to(cr, -26, 175);
        cairo_line_to(cr, 26, 175);
        cairo_line_to(cr, 38, 235);
        cairo_line_to(cr, -38, 235);
        cairo_close_path(cr);
        FillInk(cr, wood, 5);
        cairo_rectangle(cr, -30, 172, 60, 14);
        FillInk(cr, dark, 4);
    }
    cairo_restore(cr);
    if (s.Part()) RisingNotes(s, {400, 150}, 4, 130, 220);
    if (s.Detail()) {
        // A little bird sings along on the right.
        const double hop = 10 * std::abs(s.Wave(2));
        const double x = 620, y = 400 - hop;
        InkLine(cr, {x - 10, y + 38}, {x - 14, y + 60}, Hex(0xFF8F00), 4, 2);
        InkLine(cr, {x + 10, y + 38}, {x + 14, y + 60}, Hex(0xFF8F00), 4, 2);
        EllipsePath(cr, x, y, 50, 42);
        FillInk(cr, Hex(0x4FC3F7), 5);
        EllipsePath(cr, x + 8, y + 8, 26, 18);
        FillInk(cr, Hex(0x29B6F6), 4);
        const double beak = 0.15 + 0.2 * s.Pulse(2);
        PolygonPath(cr, {{x - 44, y - 10}, {x - 76, y - 4 - 20 * beak}, {x - 46, y + 4}});
        FillInk(cr, Hex(0xFFB300), 3);
        PolygonPath(cr, {{x - 44, y + 2}, {x - 72, y + 8 + 16 * beak}, {x - 42, y + 12}});
        FillInk(cr, Hex(0xFFB300), 3);
        Eye(cr, x - 18, y - 14, 7);
    }
    if (s.Detail()) RisingNotes(s, {560, 360}, 2, 120, -40);
}

void DrawTrumpet(Sketch& s) {
    cairo_t* cr = s.cr;
    const Rgb brass = Hex(0xFFC93C), deep = Hex(0xE0A100);
    const int valveDown = static_cast<int>(s.t * 6) % 3;
    cairo_save(cr);
    cairo_translate(cr, 0, 8 * s.Wave());
    if (s.Detail()) {
        cairo_move_to(cr, 330, 300);
        cairo_curve_to(cr, 250, 300, 250, 390, 330, 390);
        cairo_line_to(cr, 500, 390);
        cairo_curve_to(cr, 560, 390, 560, 330, 500, 330);
        cairo_path_t* loop = cairo_copy_path(cr);
        Stroke(cr, kInk, 30);
        cairo_append_path(cr, loop);
        Stroke(cr, brass, 20);
        cairo_path_destroy(loop);
    }
    if (s.Part()) {
        InkLine(cr, {190, 300}, {560, 300}, brass, 22, 5);
    }
    if (s.Detail()) {
        InkLine(cr, {150, 300}, {195, 300}, Hex(0xCFD8DC), 12, 4);
        EllipsePath(cr, 146, 300, 8, 18);
        FillInk(cr, Hex(0xCFD8DC), 4);
    }
    if (s.Part()) {
        cairo_move_to(cr, 540, 288);
        cairo_curve_to(cr, 600, 286, 640, 240, 660, 200);
        cairo_line_to(cr, 660, 400);
        cairo_curve_to(cr, 640, 360, 600, 314, 540, 312);
        cairo_close_path(cr);
        FillInk(cr, brass, 5);
        EllipsePath(cr, 660, 300, 22, 100);
        FillInk(cr, deep, 5);
    }
    if (s.Part()) {
        for (int i = 0; i < 3; ++i) {
            const double x = 370 + i * 44;
            const double press = i == valveDown ? 10 : 0;
            RoundedRectPath(cr, x - 15, 250, 30, 100, 8);
            FillInk(cr, brass, 5);
            cairo_rectangle(cr, x - 5, 226 + press, 10, 26 - press);
            FillInk(cr, Hex(0xCFD8DC), 3);
            EllipsePath(cr, x, 222 + press, 17, 8);
            FillInk(cr, Hex(0xFFF8E1), 4);
        }
    }
    if (s.Detail()) {
        cairo_move_to(cr, 220, 293);
        cairo_line_to(cr, 340, 293);
        Stroke(cr, Hex(0xFFF3C4), 5);
        cairo_move_to(cr, 580, 280);
        cairo_curve_to(cr, 610, 272, 630, 250, 640, 230);
        Stroke(cr, Hex(0xFFF3C4), 5);
    }
    cairo_restore(cr);
    if (s.Detail()) RisingNotes(s, {680, 260}, 4, 200, 60);
}

void DrawXylophone(Sketch& s) {
    cairo_t* cr = s.cr;
    const Rgb bars[] = {Hex(0xFF4F4F), Hex(0xFF9A3C), Hex(0xFFD93B), Hex(0x6BD66B),
                        Hex(0x3FC8E4), Hex(0x4F7CFF), Hex(0x9B59F0), Hex(0xFF6FC1)};
    const int hit = static_cast<int>(s.t * 8) % 8;
    const double fresh = 1.0 - std::fmod(s.t * 8, 1.0);  // 1 right after the strike
    auto barX = [](int i) { return 200.0 + i * 55; };
    auto barTop = [](int i) { return 170.0 + i * 12; };
    auto barBottom = [](int i) { return 420.0 - i * 12; };
    if (s.Detail()) {
        for (double x : {210.0, 590.0}) {
            InkLine(cr, {x, 400}, {x, 470}, Hex(0x8D6E63), 10, 3);
            CirclePath(cr, x, 478, 14);
            FillInk(cr, Hex(0x616161), 4);
        }
    }
    if (s.Part()) {
        PolygonPath(cr, {{180, 185}, {620, 240}, {620, 262}, {180, 207}});
        FillInk(cr, Hex(0xA1683A), 4);
        PolygonPath(cr, {{180, 395}, {620, 340}, {620, 362}, {180, 417}});
        FillInk(cr, Hex(0xA1683A), 4);
    }
    if (s.Part()) {
        for (int i = 0; i < 8; ++i) {
            const bool struck = i == hit && fresh > 0.4;
            RoundedRectPath(cr, barX(i) - 22, barTop(i), 44, barBottom(i) - barTop(i), 10);
            FillInk(cr, struck ? Lighter(bars[i], 0.45) : bars[i], 5);
        }
    }
    if (s.Detail()) {
        for (int i = 0; i < 8; ++i) {
            CirclePath(cr, barX(i), barTop(i) + 22, 4);
            CirclePath(cr, barX(i), barBottom(i) - 22, 4);
            Fill(cr, Hex(0xECEFF1));
        }
    }
    if (s.Detail()) {
        const char* names[] = {"C", "D", "E", "F", "G", "A", "H", "C"};
        for (int i = 0; i < 8; ++i) {
            DrawText(cr, names[i], barX(i), (barTop(i) + barBottom(i)) / 2 + 10, 28, kWhite,
                     Align::Centre);
        }
    }
    if (s.Part()) {
        const double lift = 1.0 - fresh;
        const Point head = {barX(hit), barTop(hit) + 40 - 50 * lift};
        InkLine(cr, head, {head.x + 150, head.y - 150}, Hex(0xE8B96A), 10, 3);
        CirclePath(cr, head.x, head.y, 22);
        FillInk(cr, Hex(0xE53935), 5);
        if (fresh > 0.4) SoundRings(cr, head, fresh, Hex(0xFFE14D));
    }
    if (s.Detail()) RisingNotes(s, {420, 150}, 3, 120, 120);
}

void DrawTriangle(Sketch& s) {
    cairo_t* cr = s.cr;
    const double phase = std::fmod(s.t * 2, 1.0);  // two strikes a pass
    const double ring = 1.0 - phase;
    const double shake = 4 * ring * std::sin(phase * 40);
    if (s.Detail()) {
        // A music stand holds the triangle up.
        InkLine(cr, {560, 110}, {560, 480}, Hex(0x607D8B), 10, 3);
        InkLine(cr, {560, 480}, {500, 500}, Hex(0x607D8B), 8, 3);
        InkLine(cr, {560, 480}, {620, 500}, Hex(0x607D8B), 8, 3);
        InkLine(cr, {560, 110}, {400, 110}, Hex(0x607D8B), 10, 3);
    }
    if (s.Part()) {
        cairo_move_to(cr, 400, 110);
        cairo_line_to(cr, 400 + shake, 170);
        Stroke(cr, Hex(0xE53935), 5);
        CirclePath(cr, 400, 108, 10);
        FillInk(cr, Hex(0x9E9E9E), 3);
    }
    if (s.Part()) {
        cairo_save(cr);
        cairo_translate(cr, 400 + shake, 170);
        cairo_move_to(cr, -24, 14);
        cairo_line_to(cr, -150, 260);
        cairo_line_to(cr, 150, 260);
        cairo_line_to(cr, 16, 0);
        cairo_path_t* path = cairo_copy_path(cr);
        Stroke(cr, kInk, 24);
        cairo_append_path(cr, path);
        Stroke(cr, Hex(0xCFD8DC), 14);
        cairo_path_destroy(path);
        cairo_move_to(cr, -40, 60);
        cairo_line_to(cr, -110, 200);
        Stroke(cr, kWhite, 4);
        cairo_restore(cr);
    }
    if (s.Part()) {
        const double back = 0.6 * std::min(1.0, phase * 3) * (phase < 0.5 ? 1 : 2 * (1 - phase));
        const Point tip = {505 + shake + 40 * back, 330 - 30 * back};
        InkLine(cr, tip, {tip.x + 160, tip.y + 60}, Hex(0xB0BEC5), 9, 3);
        CirclePath(cr, tip.x + 160, tip.y + 60, 14);
        FillInk(cr, Hex(0xE53935), 4);
    }
    if (s.Detail()) SoundRings(cr, {400, 330}, ring, Hex(0xFFE14D));
    if (s.Detail()) {
        for (int i = 0; i < 4; ++i) {
            const double a = i * kPi / 2 + phase * 2;
            Sparkle(cr, 400 + std::cos(a) * 200, 300 + std::sin(a) * 150, 14 * ring + 3,
                    Hex(0xFFF59D));
        }
    }
    if (s.Detail()) RisingNotes(s, {240, 230}, 3, 140, -60);
}

}  // namespace make_demo
