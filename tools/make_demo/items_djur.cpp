// The animals, each doing what it likes best.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "effects.h"
#include "item_drawings.h"
#include "paint.h"

namespace make_demo {
namespace {

constexpr double kPi = std::numbers::pi;

// Turns the drawing around a pivot for the stages that move together.
class Turned {
  public:
    Turned(cairo_t* cr, Point pivot, double angle) : cr_(cr) {
        cairo_save(cr);
        cairo_translate(cr, pivot.x, pivot.y);
        cairo_rotate(cr, angle);
        cairo_translate(cr, -pivot.x, -pivot.y);
    }
    ~Turned() { cairo_restore(cr_); }
    Turned(const Turned&) = delete;
    Turned& operator=(const Turned&) = delete;

  private:
    cairo_t* cr_;
};

void SpeechBubble(cairo_t* cr, const char* text, double x, double y, double size) {
    const double w = TextWidth(cr, text, size) + 50;
    const double h = size + 34;
    RoundedRectPath(cr, x - w / 2, y - h / 2, w, h, h / 2);
    FillInk(cr, kWhite, 5);
    PolygonPath(cr, {{x - w * 0.2, y + h / 2 - 3},
                     {x - w * 0.38, y + h / 2 + 30},
                     {x - w * 0.02, y + h / 2 - 3}});
    FillInk(cr, kWhite, 5);
    cairo_rectangle(cr, x - w * 0.2 + 4, y + h / 2 - 9, w * 0.17, 10);
    Fill(cr, kWhite);
    DrawText(cr, text, x, y + size * 0.36, size, kInk, Align::Centre);
}

void Whiskers(cairo_t* cr, Point nose, double length) {
    for (int side : {-1, 1}) {
        for (int i = -1; i <= 1; ++i) {
            cairo_move_to(cr, nose.x + side * 22, nose.y + 8 + i * 4);
            cairo_line_to(cr, nose.x + side * (22 + length), nose.y + 4 + i * 14);
        }
    }
    Stroke(cr, kInk, 3);
}

void Butterfly(cairo_t* cr, double x, double y, double flap, Rgb c) {
    for (int side : {-1, 1}) {
        EllipsePath(cr, x + side * 14 * flap, y - 8, 16 * flap + 3, 14);
        FillInk(cr, c, 3);
        EllipsePath(cr, x + side * 10 * flap, y + 10, 11 * flap + 2, 10);
        FillInk(cr, Lighter(c, 0.3), 3);
    }
    EllipsePath(cr, x, y, 4, 16);
    Fill(cr, kInk);
}

}  // namespace

void DrawHen(Sketch& s) {
    cairo_t* cr = s.cr;
    // The film has 14 pictures: pecking, a call on picture 6, more pecking.
    const double depths[14] = {0, 0.45, 1, 0.35, 0.95, 0.3, 0, 0, 0.5, 1, 0.4, 1, 0.45, 0};
    const int picture = std::clamp(static_cast<int>(std::lround(s.t * 14)), 0, 13);
    const double peck = depths[picture];
    const bool calling = picture == 6 && s.t > 0;
    const Point hip = {390, 440};
    const double lean = 1.0 * peck;
    const Rgb feathers = Hex(0xFFF8EE), red = Hex(0xE53935), orange = Hex(0xFFA726);
    if (s.Detail()) {
        Turned turn(cr, hip, lean);
        for (int i = 0; i < 3; ++i) {
            cairo_save(cr);
            cairo_translate(cr, 300, 320);
            cairo_rotate(cr, -0.9 + i * 0.35);
            EllipsePath(cr, 0, -60, 26, 70);
            FillInk(cr, i == 1 ? Hex(0x8D6E63) : Hex(0xA1887F), 5);
            cairo_restore(cr);
        }
    }
    if (s.Part()) {
        for (int side : {-1, 1}) {
            const double x = 400 + side * 36;
            InkLine(cr, {x, 420}, {x, 480}, orange, 10, 4);
            for (int toe = -1; toe <= 1; ++toe) {
                InkLine(cr, {x, 482}, {x + 24 + toe * 10, 490.0 + toe * 2}, orange, 7, 3);
            }
        }
    }
    if (s.Part()) {
        Turned turn(cr, hip, lean);
        cairo_move_to(cr, 290, 300);
        cairo_curve_to(cr, 280, 420, 400, 460, 470, 430);
        cairo_curve_to(cr, 540, 400, 540, 300, 490, 250);
        cairo_curve_to(cr, 440, 290, 360, 250, 290, 300);
        cairo_close_path(cr);
        FillInk(cr, feathers, 6);
    }
    if (s.Detail()) {
        Turned turn(cr, hip, lean);
        cairo_move_to(cr, 340, 330);
        cairo_curve_to(cr, 360, 300, 440, 300, 460, 340);
        cairo_curve_to(cr, 440, 400, 360, 410, 340, 330);
        cairo_close_path(cr);
        FillInk(cr, Hex(0xF3E5D0), 5);
        for (int i = 0; i < 3; ++i) {
            cairo_move_to(cr, 370 + i * 22, 345);
            cairo_curve_to(cr, 380 + i * 22, 370, 390 + i * 22, 380, 400 + i * 22, 380);
            Stroke(cr, Hex(0xBCAAA4), 4);
        }
    }
    if (s.Part()) {
        Turned turn(cr, hip, lean);
        const Point head = {505, 235};
        CirclePath(cr, head.x, head.y, 56);
        FillInk(cr, feathers, 6);
        Eye(cr, head.x + 16, head.y - 10, 9);
        const double open = calling ? 0.45 : 0.0;
        PolygonPath(cr, {{head.x + 46, head.y - 6},
                         {head.x + 88, head.y + 4 - 22 * open},
                         {head.x + 50, head.y + 12}});
        FillInk(cr, Hex(0xFFC107), 4);
        PolygonPath(cr, {{head.x + 48, head.y + 12},
                         {head.x + 80, head.y + 14 + 22 * open},
                         {head.x + 46, head.y + 22}});
        FillInk(cr, Hex(0xFFB300), 4);
    }
    if (s.Part()) {
        Turned turn(cr, hip, lean);
        for (int i = 0; i < 3; ++i) CirclePath(cr, 478 + i * 22, 180 - (i == 1 ? 10 : 0), 18);
        FillUnionInk(cr, red, 4);
        cairo_move_to(cr, 548, 258);
        cairo_curve_to(cr, 530, 280, 540, 310, 556, 305);
        cairo_curve_to(cr, 572, 300, 566, 270, 556, 258);
        cairo_close_path(cr);
        FillInk(cr, red, 4);
    }
    if (s.Detail()) {
        const double grains[][2] = {{600, 478}, {630, 488}, {660, 474}, {585, 494}, {700, 486}};
        for (const auto& g : grains) {
            EllipsePath(cr, g[0], g[1], 9, 6);
            FillInk(cr, Hex(0xFFD54F), 2);
        }
    }
    if (s.Detail()) {
        for (int i = 0; i < 2; ++i) {
            const double x = 160 + i * 95;
            const double hop = 10 * std::abs(s.Wave(2, i * 0.25));
            const double y = 455 - hop;
            InkLine(cr, {x - 8, y + 30}, {x - 8, y + 44 + hop}, orange, 4, 2);
            InkLine(cr, {x + 8, y + 30}, {x + 8, y + 44 + hop}, orange, 4, 2);
            EllipsePath(cr, x, y, 38, 34);
            FillInk(cr, Hex(0xFFE14D), 4);
            Eye(cr, x + 12, y - 8, 5);
            PolygonPath(cr, {{x + 34, y - 4}, {x + 50, y + 2}, {x + 34, y + 8}});
            FillInk(cr, Hex(0xFF8F00), 3);
        }
    }
    // The call is part of the film only, never a build-up stage of its own.
    if (calling) SpeechBubble(cr, "Kackel!", 650, 120, 40);
}

void DrawCat(Sketch& s) {
    cairo_t* cr = s.cr;
    const Rgb fur = Hex(0xFFA94D), dark = Hex(0xE07B1F);
    const double swish = 0.5 * s.Wave();
    const bool blink = std::fmod(s.t * 12, 12.0) >= 8 && std::fmod(s.t * 12, 12.0) < 9;
    const double roll = 60 * s.Wave(1, 0.1);
    if (s.Part()) {
        cairo_save(cr);
        cairo_translate(cr, 470, 450);
        cairo_rotate(cr, swish);
        cairo_move_to(cr, 0, 0);
        cairo_curve_to(cr, 90, -10, 120, -90, 80, -160);
        cairo_path_t* tail = cairo_copy_path(cr);
        Stroke(cr, kInk, 40);
        cairo_append_path(cr, tail);
        Stroke(cr, fur, 30);
        cairo_path_destroy(tail);
        cairo_restore(cr);
    }
    if (s.Part()) {
        cairo_move_to(cr, 400, 250);
        cairo_curve_to(cr, 510, 250, 520, 480, 480, 485);
        cairo_line_to(cr, 320, 485);
        cairo_curve_to(cr, 280, 480, 290, 250, 400, 250);
        cairo_close_path(cr);
        FillInk(cr, fur, 6);
        EllipsePath(cr, 400, 400, 55, 75);
        Fill(cr, Hex(0xFFE0B2));
    }
    if (s.Detail()) {
        for (int side : {-1, 1}) {
            for (int i = 0; i < 3; ++i) {
                cairo_move_to(cr, 400 + side * (78 + i * 4), 320 + i * 40);
                cairo_line_to(cr, 400 + side * (110 + i * 3), 312 + i * 40);
                Stroke(cr, dark, 9);
            }
        }
    }
    if (s.Detail()) {
        for (int side : {-1, 1}) {
            EllipsePath(cr, 400 + side * 40, 478, 34, 20);
            FillInk(cr, fur, 5);
        }
    }
    if (s.Part()) {
        const double tilt = 0.08 * s.Wave(1, 0.3);
        Turned turn(cr, {400, 250}, tilt);
        for (int side : {-1, 1}) {
            PolygonPath(
                cr, {{400.0 + side * 95, 170}, {400.0 + side * 90, 70}, {400.0 + side * 30, 130}});
            FillInk(cr, fur, 6);
        }
        EllipsePath(cr, 400, 195, 105, 85);
        FillInk(cr, fur, 6);
        if (blink) {
            for (int side : {-1, 1}) {
                cairo_arc(cr, 400 + side * 38, 185, 12, 0.2, kPi - 0.2);
                Stroke(cr, kInk, 5);
            }
        } else {
            for (int side : {-1, 1}) {
                EllipsePath(cr, 400 + side * 38, 185, 16, 20);
                FillInk(cr, Hex(0x9CCC65), 4);
                EllipsePath(cr, 400 + side * 38, 187, 6, 14);
                Fill(cr, kInk);
            }
        }
        PolygonPath(cr, {{390, 215}, {410, 215}, {400, 227}});
        FillInk(cr, Hex(0xFF8A9A), 3);
        cairo_move_to(cr, 400, 227);
        cairo_curve_to(cr, 395, 245, 375, 245, 370, 232);
        cairo_move_to(cr, 400, 227);
        cairo_curve_to(cr, 405, 245, 425, 245, 430, 232);
        Stroke(cr, kInk, 4);
    }
    if (s.Detail()) {
        const double tilt = 0.08 * s.Wave(1, 0.3);
        Turned turn(cr, {400, 250}, tilt);
        for (int side : {-1, 1}) {
            PolygonPath(
                cr, {{400.0 + side * 82, 150}, {400.0 + side * 82, 96}, {400.0 + side * 46, 132}});
            Fill(cr, Hex(0xFFB3C1));
        }
        Whiskers(cr, {400, 222}, 70);
    }
    if (s.Detail()) {
        cairo_move_to(cr, 322, 272);
        cairo_curve_to(cr, 360, 300, 440, 300, 478, 272);
        Stroke(cr, kInk, 18);
        cairo_move_to(cr, 322, 272);
        cairo_curve_to(cr, 360, 300, 440, 300, 478, 272);
        Stroke(cr, Hex(0xE53935), 10);
        CirclePath(cr, 400, 300, 13);
        FillInk(cr, Hex(0xFFD54F), 4);
    }
    if (s.Detail()) {
        const double x = 210 + roll;
        CirclePath(cr, x, 450, 42);
        FillInk(cr, Hex(0x7E57C2), 5);
        cairo_save(cr);
        cairo_translate(cr, x, 450);
        cairo_rotate(cr, roll / 42);
        for (int i = -2; i <= 2; ++i) {
            cairo_move_to(cr, -36, i * 12);
            cairo_curve_to(cr, -10, i * 12 - 14, 10, i * 12 + 14, 36, i * 12);
        }
        Stroke(cr, Hex(0xB39DDB), 4);
        cairo_restore(cr);
        cairo_move_to(cr, x + 30, 480);
        cairo_curve_to(cr, x + 80, 500, 260, 470, 300, 490);
        Stroke(cr, Hex(0x7E57C2), 5);
    }
}

void DrawDog(Sketch& s) {
    cairo_t* cr = s.cr;
    const Rgb fur = Hex(0xD9A066), ear = Hex(0x8D5A34);
    const double wag = 0.45 * s.Wave(4);
    const bool barking = std::fmod(s.t * 2, 1.0) >= 0.75;
    if (s.Part()) {
        cairo_save(cr);
        cairo_translate(cr, 285, 330);
        cairo_rotate(cr, wag);
        cairo_move_to(cr, 0, 0);
        cairo_curve_to(cr, -40, -20, -70, -60, -70, -110);
        cairo_path_t* tail = cairo_copy_path(cr);
        Stroke(cr, kInk, 34);
        cairo_append_path(cr, tail);
        Stroke(cr, fur, 24);
        cairo_path_destroy(tail);
        cairo_restore(cr);
    }
    if (s.Part()) {
        for (double x : {300.0, 350.0, 450.0, 500.0}) {
            RoundedRectPath(cr, x - 18, 380, 36, 100, 14);
            FillInk(cr, x < 400 ? Darker(fur, 0.12) : fur, 5);
            EllipsePath(cr, x + 6, 482, 26, 12);
            FillInk(cr, Hex(0xF3E5D0), 4);
        }
    }
    if (s.Part()) {
        EllipsePath(cr, 400, 360, 135, 72);
        FillInk(cr, fur, 6);
    }
    if (s.Detail()) {
        EllipsePath(cr, 360, 335, 40, 30);
        Fill(cr, ear);
        EllipsePath(cr, 440, 385, 26, 20);
        Fill(cr, ear);
    }
    if (s.Part()) {
        const Point head = {540, 270};
        EllipsePath(cr, head.x, head.y, 68, 62);
        FillInk(cr, fur, 6);
        EllipsePath(cr, head.x + 55, head.y + 22, 46, 32);
        FillInk(cr, Hex(0xF3E5D0), 5);
        EllipsePath(cr, head.x + 92, head.y + 10, 16, 12);
        Fill(cr, kInk);
        Eye(cr, head.x + 18, head.y - 14, 9);
        if (barking) {
            cairo_move_to(cr, head.x + 50, head.y + 42);
            cairo_line_to(cr, head.x + 96, head.y + 36);
            cairo_line_to(cr, head.x + 70, head.y + 62);
            cairo_close_path(cr);
            FillInk(cr, Hex(0x8E2430), 4);
        } else {
            cairo_move_to(cr, head.x + 50, head.y + 42);
            cairo_curve_to(cr, head.x + 62, head.y + 50, head.x + 80, head.y + 48, head.x + 92,
                           head.y + 40);
            Stroke(cr, kInk, 4);
        }
        cairo_save(cr);
        cairo_translate(cr, head.x - 30, head.y - 40);
        cairo_rotate(cr, 0.35 + 0.1 * s.Wave(4));
        EllipsePath(cr, 0, 50, 24, 56);
        FillInk(cr, ear, 5);
        cairo_restore(cr);
    }
    if (s.Detail()) {
        cairo_move_to(cr, 486, 300);
        cairo_curve_to(cr, 500, 330, 540, 340, 572, 326);
        Stroke(cr, kInk, 20);
        cairo_move_to(cr, 486, 300);
        cairo_curve_to(cr, 500, 330, 540, 340, 572, 326);
        Stroke(cr, Hex(0x1E88E5), 12);
        CirclePath(cr, 528, 345, 12);
        FillInk(cr, Hex(0xFFD54F), 4);
    }
    if (s.Detail()) {
        if (!barking) {
            const double pant = 8 * s.Pulse(6);
            EllipsePath(cr, 612, 322 + pant, 13, 20 + pant);
            FillInk(cr, Hex(0xFF7F9A), 4);
        }
    }
    if (s.Detail()) {
        cairo_save(cr);
        cairo_translate(cr, 210, 470);
        cairo_rotate(cr, -0.2);
        for (int side : {-1, 1}) {
            CirclePath(cr, side * 44, -10, 14);
            CirclePath(cr, side * 44, 10, 14);
        }
        cairo_rectangle(cr, -44, -9, 88, 18);
        FillUnionInk(cr, kWhite, 4);
        cairo_restore(cr);
    }
    if (s.Detail()) {
        if (barking) SpeechBubble(cr, "Vov!", 660, 130, 40);
    }
}

void DrawCow(Sketch& s) {
    cairo_t* cr = s.cr;
    const double swish = 0.35 * s.Wave();
    const double chew = 6 * s.Pulse(4);
    const bool mooing = s.t >= 0.5 && s.t < 0.75;
    if (s.Part()) {
        for (double x : {265.0, 320.0, 470.0, 525.0}) {
            RoundedRectPath(cr, x - 20, 360, 40, 115, 14);
            FillInk(cr, kWhite, 5);
            RoundedRectPath(cr, x - 21, 456, 42, 28, 8);
            FillInk(cr, Hex(0x5D4037), 4);
        }
    }
    if (s.Part()) {
        cairo_save(cr);
        cairo_translate(cr, 230, 260);
        cairo_rotate(cr, swish);
        InkLine(cr, {0, 0}, {-30, 150}, kWhite, 10, 4);
        EllipsePath(cr, -32, 160, 16, 24);
        FillInk(cr, kInk, 3);
        cairo_restore(cr);
    }
    if (s.Part()) {
        RoundedRectPath(cr, 220, 230, 340, 170, 70);
        FillInk(cr, kWhite, 6);
        cairo_save(cr);
        RoundedRectPath(cr, 220, 230, 340, 170, 70);
        cairo_clip(cr);
        const double spots[][3] = {{290, 270, 44}, {420, 250, 36}, {480, 350, 40}, {350, 380, 30}};
        for (const auto& p : spots) {
            EllipsePath(cr, p[0], p[1], p[2], p[2] * 0.8);
            Fill(cr, Hex(0x37474F));
        }
        cairo_restore(cr);
    }
    if (s.Detail()) {
        EllipsePath(cr, 420, 400, 44, 26);
        FillInk(cr, Hex(0xFFB3C1), 4);
        for (int i = -1; i <= 1; ++i) {
            InkLine(cr, {420.0 + i * 20, 418}, {420.0 + i * 20, 432}, Hex(0xFFB3C1), 8, 3);
        }
    }
    if (s.Part()) {
        const Point head = {600, 240};
        for (int side : {-1, 1}) {
            cairo_move_to(cr, head.x + side * 30, head.y - 50);
            cairo_curve_to(cr, head.x + side * 50, head.y - 80, head.x + side * 60, head.y - 90,
                           head.x + side * 50, head.y - 110);
            Stroke(cr, kInk, 18);
            cairo_move_to(cr, head.x + side * 30, head.y - 50);
            cairo_curve_to(cr, head.x + side * 50, head.y - 80, head.x + side * 60, head.y - 90,
                           head.x + side * 50, head.y - 110);
            Stroke(cr, Hex(0xFFF3C4), 10);
            EllipsePath(cr, head.x + side * 78, head.y - 30 + (side > 0 ? 4 * s.Wave(2) : 0), 34,
                        16);
            FillInk(cr, kWhite, 5);
        }
        EllipsePath(cr, head.x, head.y, 62, 72);
        FillInk(cr, kWhite, 6);
        EllipsePath(cr, head.x - 20, head.y - 40, 26, 22);
        Fill(cr, Hex(0x37474F));
        Eye(cr, head.x - 24, head.y - 14, 9);
        Eye(cr, head.x + 24, head.y - 14, 9);
        EllipsePath(cr, head.x, head.y + 46 + chew * 0.3, 58, 38);
        FillInk(cr, Hex(0xFFB3C1), 5);
        for (int side : {-1, 1}) {
            EllipsePath(cr, head.x + side * 20, head.y + 42 + chew * 0.3, 8, 11);
            Fill(cr, Hex(0xC2185B));
        }
        if (mooing) {
            EllipsePath(cr, head.x, head.y + 68 + chew * 0.3, 18, 10);
            Fill(cr, Hex(0x8E2430));
        }
    }
    if (s.Detail()) {
        InkLine(cr, {558, 300}, {642, 300}, Hex(0x8D6E63), 10, 3);
        PolygonPath(cr, {{588, 304}, {612, 304}, {622, 344}, {578, 344}});
        FillInk(cr, Hex(0xFFD54F), 4);
        CirclePath(cr, 600, 348, 6);
        Fill(cr, kInk);
    }
    if (s.Detail()) {
        if (!mooing) {
            for (int i = 0; i < 3; ++i) {
                InkLine(cr, {590.0 + i * 10, 318 + chew * 0.3}, {570.0 + i * 16, 345 + chew},
                        Hex(0x66BB6A), 5, 2);
            }
        }
    }
    if (s.Detail()) {
        const double bx = 200 + 400 * s.t, by = 130 + 30 * s.Wave(2);
        Butterfly(cr, bx, by, 0.4 + 0.6 * s.Pulse(6), Hex(0xFF80AB));
    }
    if (s.Detail()) {
        if (mooing) SpeechBubble(cr, "Muu!", 470, 100, 44);
    }
}

void DrawPig(Sketch& s) {
    cairo_t* cr = s.cr;
    const Rgb pink = Hex(0xFFA8C5), deep = Hex(0xF06292);
    const double hop = 40 * std::max(0.0, s.Wave(2));
    const double splash = std::max(0.0, -s.Wave(2));
    cairo_save(cr);
    if (s.Detail()) {
        EllipsePath(cr, 400, 480, 230 + 20 * splash, 34);
        FillInk(cr, Hex(0x8D6E63), 5);
        EllipsePath(cr, 360, 476, 90, 12);
        Fill(cr, Hex(0xA1887F));
    }
    cairo_translate(cr, 0, -hop);
    if (s.Part()) {
        for (double x : {310.0, 360.0, 445.0, 495.0}) {
            RoundedRectPath(cr, x - 20, 390, 40, 80, 14);
            FillInk(cr, x < 400 ? Darker(pink, 0.08) : pink, 5);
            RoundedRectPath(cr, x - 20, 458, 40, 18, 6);
            FillInk(cr, Hex(0x8D6E63), 3);
        }
    }
    if (s.Part()) {
        cairo_move_to(cr, 265, 330);
        const double curl = 6 * s.Wave(4);
        cairo_curve_to(cr, 220, 320, 230, 280 + curl, 250, 290);
        cairo_curve_to(cr, 270, 300, 250, 330, 220, 310 + curl);
        Stroke(cr, kInk, 14);
        cairo_move_to(cr, 265, 330);
        cairo_curve_to(cr, 220, 320, 230, 280 + curl, 250, 290);
        cairo_curve_to(cr, 270, 300, 250, 330, 220, 310 + curl);
        Stroke(cr, pink, 7);
    }
    if (s.Part()) {
        EllipsePath(cr, 400, 350, 145, 100);
        FillInk(cr, pink, 6);
    }
    if (s.Detail()) {
        const double spots[][3] = {{330, 400, 22}, {450, 410, 16}, {380, 300, 12}};
        for (const auto& p : spots) {
            EllipsePath(cr, p[0], p[1], p[2], p[2] * 0.7);
            Fill(cr, Hex(0x8D6E63));
        }
    }
    if (s.Part()) {
        const Point head = {545, 300};
        for (int side : {-1, 1}) {
            PolygonPath(cr, {{head.x + side * 40, head.y - 50},
                             {head.x + side * 62, head.y - 105},
                             {head.x + side * 8, head.y - 66}});
            FillInk(cr, pink, 5);
        }
        CirclePath(cr, head.x, head.y, 72);
        FillInk(cr, pink, 6);
        EllipsePath(cr, head.x + 16, head.y + 24, 40, 28);
        FillInk(cr, deep, 5);
        for (int side : {-1, 1}) {
            EllipsePath(cr, head.x + 16 + side * 14, head.y + 24, 6, 10);
            Fill(cr, Hex(0x880E4F));
        }
        Eye(cr, head.x - 20, head.y - 22, 9);
        Eye(cr, head.x + 36, head.y - 22, 9);
    }
    if (s.Detail()) {
        for (int side : {-1, 1}) {
            EllipsePath(cr, 545 + side * 44, 310, 13, 8);
            Fill(cr, Hex(0xFF5C8A), 0.5);
        }
        cairo_move_to(cr, 538, 356);
        cairo_curve_to(cr, 548, 366, 566, 366, 574, 354);
        Stroke(cr, kInk, 4);
    }
    cairo_restore(cr);
    if (s.Detail()) {
        for (int i = 0; i < 6; ++i) {
            const double a = kPi + (i + 0.5) * kPi / 6;
            const double d = 150 + 80 * (1 - splash);
            CirclePath(cr, 400 + std::cos(a) * d * 1.3, 470 + std::sin(a) * d * 0.5 * splash,
                       8 * splash + 1);
            Fill(cr, Hex(0x8D6E63), splash);
        }
    }
    if (s.Detail()) {
        if (hop > 30) SpeechBubble(cr, "Nöff!", 650, 110, 40);
    }
}

void DrawFish(Sketch& s) {
    cairo_t* cr = s.cr;
    const double x = 400 + 90 * s.Wave();
    const double y = 290 + 30 * s.Wave(2);
    const double facing = std::cos(2 * kPi * s.t) >= 0 ? 1.0 : -1.0;
    const double wag = 0.35 * s.Wave(4);
    const Rgb orange = Hex(0xFF8A1F);
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, facing, 1);
    if (s.Part()) {
        cairo_save(cr);
        cairo_translate(cr, -130, 0);
        cairo_rotate(cr, wag);
        cairo_move_to(cr, 10, 0);
        cairo_curve_to(cr, -40, -30, -70, -80, -90, -80);
        cairo_curve_to(cr, -70, -30, -70, 30, -90, 80);
        cairo_curve_to(cr, -70, 80, -40, 30, 10, 0);
        cairo_close_path(cr);
        FillInk(cr, orange, 6);
        cairo_restore(cr);
    }
    if (s.Detail()) {
        cairo_move_to(cr, -70, -72);
        cairo_curve_to(cr, -40, -140, 40, -140, 60, -72);
        cairo_close_path(cr);
        FillInk(cr, orange, 5);
        cairo_move_to(cr, -30, 78);
        cairo_curve_to(cr, -10, 120, 30, 120, 40, 78);
        cairo_close_path(cr);
        FillInk(cr, orange, 5);
    }
    if (s.Part()) {
        EllipsePath(cr, 0, 0, 150, 88);
        FillInk(cr, orange, 6);
        cairo_save(cr);
        EllipsePath(cr, 0, 0, 150, 88);
        cairo_clip(cr);
        for (double sx : {-70.0, 30.0}) {
            cairo_move_to(cr, sx, -100);
            cairo_curve_to(cr, sx + 30, -40, sx + 30, 40, sx, 100);
            cairo_line_to(cr, sx + 28, 100);
            cairo_curve_to(cr, sx + 58, 40, sx + 58, -40, sx + 28, -100);
            cairo_close_path(cr);
            SetColour(cr, kWhite);
            cairo_fill_preserve(cr);
            Stroke(cr, kInk, 4);
        }
        cairo_restore(cr);
        EllipsePath(cr, 0, 0, 150, 88);
        Stroke(cr, kInk, 6);
    }
    if (s.Detail()) {
        cairo_save(cr);
        EllipsePath(cr, 0, 0, 146, 84);
        cairo_clip(cr);
        for (int row = -2; row <= 2; ++row) {
            for (int col = -4; col <= 1; ++col) {
                cairo_arc(cr, col * 30 + (row % 2) * 15, row * 28, 12, 0.2 * kPi, 0.8 * kPi);
                Stroke(cr, Hex(0xE06C00), 3);
            }
        }
        cairo_restore(cr);
    }
    if (s.Part()) {
        Eye(cr, 90, -18, 14);
        cairo_move_to(cr, 112, 30);
        cairo_curve_to(cr, 120, 44, 136, 44, 142, 30);
        Stroke(cr, kInk, 5);
    }
    if (s.Detail()) {
        cairo_save(cr);
        cairo_translate(cr, 20, 30);
        cairo_rotate(cr, 0.5 + 0.3 * s.Wave(4));
        EllipsePath(cr, -20, 0, 34, 16);
        FillInk(cr, orange, 4);
        cairo_restore(cr);
    }
    cairo_restore(cr);
    if (s.Detail()) Bubbles(s, {x + facing * 160, y - 30}, 4, 200);
    if (s.Detail()) {
        const double fx = 760 - std::fmod(s.t * 900, 1000.0);
        const double fy = 150;
        EllipsePath(cr, fx, fy, 40, 24);
        FillInk(cr, Hex(0x4FC3F7), 4);
        PolygonPath(cr, {{fx + 36, fy}, {fx + 66, fy - 22}, {fx + 66, fy + 22}});
        FillInk(cr, Hex(0x4FC3F7), 4);
        Eye(cr, fx - 20, fy - 5, 5);
    }
}

void DrawFrog(Sketch& s) {
    cairo_t* cr = s.cr;
    const Rgb green = Hex(0x66CC44), dark = Hex(0x3E9A2A);
    const double jump = std::max(0.0, std::sin(2 * kPi * s.t));
    const double lift = 170 * jump;
    const bool airborne = jump > 0.15;
    const double tongue = std::max(0.0, std::sin(2 * kPi * (s.t - 0.5))) * (s.t > 0.5 ? 1 : 0);
    if (s.Part()) {
        EllipsePath(cr, 400, 470, 190, 46);
        FillInk(cr, Hex(0x4CAF50), 5);
        PolygonPath(cr, {{400, 470}, {470, 426}, {510, 440}});
        Fill(cr, Hex(0x4FB8E8));
        cairo_move_to(cr, 400, 470);
        cairo_line_to(cr, 470, 428);
        Stroke(cr, kInk, 4);
    }
    cairo_save(cr);
    cairo_translate(cr, 0, -lift);
    if (s.Part()) {
        for (int side : {-1, 1}) {
            if (airborne) {
                InkLine(cr, {400.0 + side * 80, 420}, {400.0 + side * 150, 500}, green, 30, 5);
                EllipsePath(cr, 400 + side * 165, 508, 30, 12);
                FillInk(cr, green, 4);
            } else {
                EllipsePath(cr, 400 + side * 110, 420, 60, 44);
                FillInk(cr, green, 5);
                EllipsePath(cr, 400 + side * 150, 458, 40, 14);
                FillInk(cr, green, 4);
            }
        }
    }
    if (s.Part()) {
        EllipsePath(cr, 400, 370, 140, 100);
        FillInk(cr, green, 6);
        for (int side : {-1, 1}) {
            EllipsePath(cr, 400 + side * 70, 455, 34, 14);
            FillInk(cr, green, 4);
        }
    }
    if (s.Detail()) {
        EllipsePath(cr, 400, 395, 90, 60);
        Fill(cr, Hex(0xDCF5B8));
    }
    if (s.Detail()) {
        const double spots[][3] = {{320, 330, 14}, {470, 320, 10}, {290, 390, 9}, {500, 380, 12}};
        for (const auto& p : spots) {
            CirclePath(cr, p[0], p[1], p[2]);
            Fill(cr, dark);
        }
    }
    if (s.Part()) {
        for (int side : {-1, 1}) {
            CirclePath(cr, 400 + side * 60, 275, 44);
            FillInk(cr, green, 6);
            CirclePath(cr, 400 + side * 60, 272, 28);
            FillInk(cr, kWhite, 4);
            Eye(cr, 400 + side * 60 + 4, 276, 12);
        }
        cairo_move_to(cr, 330, 360);
        cairo_curve_to(cr, 370, 392, 430, 392, 470, 360);
        Stroke(cr, kInk, 6);
    }
    cairo_restore(cr);
    const Point fly = {560 + 40 * std::sin(2 * kPi * s.t * 3),
                       150 + 30 * std::cos(2 * kPi * s.t * 2)};
    if (s.Detail()) {
        if (tongue > 0.1) {
            const Point mouth = {470, 360 - lift};
            const Point end = {mouth.x + (fly.x - mouth.x) * tongue,
                               mouth.y + (fly.y - mouth.y) * tongue};
            InkLine(cr, mouth, end, Hex(0xFF6F91), 12, 3);
        }
    }
    if (s.Detail()) {
        for (int side : {-1, 1}) {
            EllipsePath(cr, fly.x + side * 12, fly.y - 12, 12, 8);
            SetColour(cr, kWhite, 0.8);
            cairo_fill_preserve(cr);
            Stroke(cr, kInk, 2);
        }
        CirclePath(cr, fly.x, fly.y, 9);
        Fill(cr, kInk);
    }
    if (s.Detail()) {
        const double ring = std::max(0.0, -std::sin(2 * kPi * s.t));
        for (int i = 0; i < 2; ++i) {
            EllipsePath(cr, 400, 480, 220 + i * 50 + 60 * ring, 40 + i * 12 + 10 * ring);
            Stroke(cr, Hex(0xB3E5FC), 5 * ring + 1);
        }
    }
}

void DrawRabbit(Sketch& s) {
    cairo_t* cr = s.cr;
    const Rgb fur = Hex(0xE8E2DC), shade = Hex(0xC9BFB6);
    const double hop = 90 * std::max(0.0, std::sin(2 * kPi * s.t * 2));
    const double flop = 0.25 * std::sin(2 * kPi * s.t * 2 + 0.6);
    const double nibble = s.Pulse(6);
    cairo_save(cr);
    cairo_translate(cr, 0, -hop);
    if (s.Part()) {
        EllipsePath(cr, 310, 440, 80, 34);
        FillInk(cr, fur, 5);
        CirclePath(cr, 265, 390, 30);
        FillInk(cr, kWhite, 5);
    }
    if (s.Part()) {
        EllipsePath(cr, 370, 370, 110, 100);
        FillInk(cr, fur, 6);
        EllipsePath(cr, 420, 460, 34, 20);
        FillInk(cr, fur, 5);
    }
    if (s.Part()) {
        for (int side : {-1, 1}) {
            cairo_save(cr);
            cairo_translate(cr, 470 + side * 28, 200);
            cairo_rotate(cr, side * 0.2 + flop);
            EllipsePath(cr, 0, -80, 28, 86);
            FillInk(cr, fur, 6);
            if (s.detailed) {
                EllipsePath(cr, 0, -76, 14, 64);
                Fill(cr, Hex(0xFFB3C1));
            }
            cairo_restore(cr);
        }
    }
    if (s.Part()) {
        CirclePath(cr, 475, 255, 78);
        FillInk(cr, fur, 6);
        Eye(cr, 450, 240, 10);
        Eye(cr, 505, 240, 10);
        EllipsePath(cr, 478, 278, 11, 8);
        Fill(cr, Hex(0xFF8A9A));
    }
    if (s.Detail()) {
        cairo_move_to(cr, 478, 286);
        cairo_curve_to(cr, 470, 300, 456, 300, 450, 292);
        cairo_move_to(cr, 478, 286);
        cairo_curve_to(cr, 486, 300, 500, 300, 506, 292);
        Stroke(cr, kInk, 4);
        cairo_rectangle(cr, 470, 296, 16, 12 + 4 * nibble);
        FillInk(cr, kWhite, 3);
    }
    if (s.Detail()) Whiskers(cr, {478, 280}, 60);
    if (s.Detail()) {
        EllipsePath(cr, 350, 400, 60, 50);
        Fill(cr, shade, 0.5);
        for (int side : {-1, 1}) {
            EllipsePath(cr, 478 + side * 44, 280, 13, 8);
            Fill(cr, Hex(0xFF5C8A), 0.45);
        }
    }
    cairo_restore(cr);
    if (s.Detail()) {
        cairo_save(cr);
        cairo_translate(cr, 610, 455);
        cairo_rotate(cr, -0.4);
        cairo_move_to(cr, -60, 0);
        cairo_curve_to(cr, -20, -24, 40, -20, 50, 0);
        cairo_curve_to(cr, 40, 20, -20, 24, -60, 0);
        cairo_close_path(cr);
        FillInk(cr, Hex(0xFF8F2E), 5);
        for (int i = -1; i <= 1; ++i) {
            EllipsePath(cr, 62, i * 12, 22, 7);
            FillInk(cr, Hex(0x4CAF50), 3);
        }
        cairo_restore(cr);
    }
    if (s.Detail()) {
        for (int i = 0; i < 5; ++i) {
            const double x = 180 + i * 110 + (i % 2) * 30;
            for (int blade = -1; blade <= 1; ++blade) {
                cairo_move_to(cr, x, 495);
                cairo_line_to(cr, x + blade * 12, 465 - (blade == 0 ? 10 : 0));
            }
            Stroke(cr, Hex(0x388E3C), 5);
        }
    }
}

}  // namespace make_demo
