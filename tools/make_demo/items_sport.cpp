// The sports: the ball, the boat, the bike or the athlete, always on the move.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "effects.h"
#include "item_drawings.h"
#include "paint.h"
#include "person.h"

namespace make_demo {
namespace {

constexpr double kPi = std::numbers::pi;

void Football(cairo_t* cr, double x, double y, double r, double turn) {
    CirclePath(cr, x, y, r);
    FillInk(cr, kWhite, 5);
    cairo_save(cr);
    CirclePath(cr, x, y, r);
    cairo_clip(cr);
    for (int i = 0; i < 6; ++i) {
        const double a = turn + i * kPi / 3;
        const double d = i == 0 ? 0 : r * 0.78;
        const double px = x + (i == 0 ? 0 : std::cos(a) * d);
        const double py = y + (i == 0 ? 0 : std::sin(a) * d);
        StarPath(cr, px, py, r * 0.32, r * 0.32 * 0.81, 5, turn + (i == 0 ? 0 : a));
        Fill(cr, kInk);
    }
    cairo_restore(cr);
}

void Ball(cairo_t* cr, double x, double y, double r, Rgb c, double turn, bool basket) {
    CirclePath(cr, x, y, r);
    FillInk(cr, c, 5);
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, turn);
    if (basket) {
        cairo_move_to(cr, -r, 0);
        cairo_line_to(cr, r, 0);
        cairo_move_to(cr, 0, -r);
        cairo_line_to(cr, 0, r);
        cairo_move_to(cr, -r * 0.7, -r * 0.7);
        cairo_curve_to(cr, -r * 0.2, -r * 0.3, -r * 0.2, r * 0.3, -r * 0.7, r * 0.7);
        cairo_move_to(cr, r * 0.7, -r * 0.7);
        cairo_curve_to(cr, r * 0.2, -r * 0.3, r * 0.2, r * 0.3, r * 0.7, r * 0.7);
        Stroke(cr, kInk, 4);
    } else {
        cairo_arc(cr, -r * 1.25, 0, r * 0.85, -0.8, 0.8);
        Stroke(cr, kWhite, 4);
        cairo_arc(cr, r * 1.25, 0, r * 0.85, kPi - 0.8, kPi + 0.8);
        Stroke(cr, kWhite, 4);
    }
    cairo_restore(cr);
}

void Shadow(cairo_t* cr, double x, double y, double rx) {
    EllipsePath(cr, x, y, rx, rx * 0.25);
    Fill(cr, Hex(0x000000), 0.18);
}

void SpeedLines(cairo_t* cr, double x, double y, double length, double spread) {
    for (int i = -1; i <= 1; ++i) {
        cairo_move_to(cr, x - 10, y + i * spread);
        cairo_line_to(cr, x - 10 - length * (i == 0 ? 1.0 : 0.7), y + i * spread);
        Stroke(cr, kWhite, 6);
    }
}

void Cheer(cairo_t* cr, const char* text, double x, double y, double strength) {
    if (strength <= 0.0) return;
    cairo_save(cr);
    cairo_rectangle(cr, x - 160, y - 110, 320, 180);
    cairo_clip(cr);
    cairo_push_group(cr);
    for (int i = 0; i < 5; ++i) {
        const double a = i * 2 * kPi / 5 - kPi / 2;
        Sparkle(cr, x + std::cos(a) * 110, y - 10 + std::sin(a) * 60, 16, Hex(0xFFEB3B));
    }
    DrawOutlinedText(cr, text, x, y + 14, 54, Hex(0xFFEB3B), Align::Centre, 9);
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, std::min(1.0, strength));
    cairo_restore(cr);
}

}  // namespace

void DrawFootball(Sketch& s) {
    cairo_t* cr = s.cr;
    const double p =
        std::min(1.0, s.t * 1.25);  // the ball's flight; it rests in the net at the end
    const double bx = 170 + 440 * p;
    const double by = 440 - 230 * std::sin(kPi * std::min(1.0, p * 1.1)) * (1 - 0.3 * p);
    const bool scored = p >= 1.0;
    if (s.Part()) {
        cairo_move_to(cr, 430, 470);
        cairo_line_to(cr, 470, 390);
        cairo_line_to(cr, 800, 390);
        Stroke(cr, kWhite, 6);
        EllipsePath(cr, 170, 462, 14, 5);
        Fill(cr, kWhite);
    }
    if (s.Detail()) {
        cairo_save(cr);
        cairo_rectangle(cr, 520, 175, 210, 235);
        cairo_clip(cr);
        const double bulge = scored ? 14 : 0;
        for (int i = 0; i < 12; ++i) {
            cairo_move_to(cr, 520 + i * 20 + bulge, 175);
            cairo_line_to(cr, 520 + i * 20 + bulge * 1.5, 410);
            cairo_move_to(cr, 520, 175 + i * 20);
            cairo_line_to(cr, 730, 175 + i * 20 + bulge);
        }
        Stroke(cr, Hex(0xECEFF1), 3);
        cairo_restore(cr);
    }
    if (s.Part()) {
        cairo_move_to(cr, 520, 410);
        cairo_line_to(cr, 520, 170);
        cairo_line_to(cr, 740, 170);
        cairo_line_to(cr, 740, 410);
        cairo_path_t* frame = cairo_copy_path(cr);
        Stroke(cr, kInk, 24);
        cairo_append_path(cr, frame);
        Stroke(cr, kWhite, 14);
        cairo_path_destroy(frame);
    }
    if (s.Detail()) {
        InkLine(cr, {90, 470}, {90, 330}, Hex(0xECEFF1), 6, 3);
        const double flap = 8 * s.Wave(3);
        PolygonPath(cr, {{93, 332}, {150, 344 + flap}, {93, 372}});
        FillInk(cr, Hex(0xFF5252), 4);
    }
    if (s.Detail()) Shadow(cr, bx, 470, 40 * (0.6 + 0.4 * (by / 440)));
    if (s.Part()) Football(cr, bx, by, 40, s.t * 6 * kPi);
    if (s.Detail()) {
        if (!scored && p > 0.05) SpeedLines(cr, bx - 40, by, 70, 18);
    }
    if (s.Detail()) Cheer(cr, "MÅL!", 400, 110, scored ? 1.0 : 0.0);
}

void DrawTennis(Sketch& s) {
    cairo_t* cr = s.cr;
    const double u = s.Pulse();  // 0: the ball at the left, 1: at the racket
    const double bx = 200 + 330 * u;
    const double by = 380 - 200 * std::abs(std::sin(kPi * u * 1.5)) - 20 * u;
    const double swing = std::clamp((u - 0.75) * 4, 0.0, 1.0);
    if (s.Part()) {
        InkLine(cr, {150, 320}, {150, 430}, Hex(0x546E7A), 10, 3);
        InkLine(cr, {650, 320}, {650, 430}, Hex(0x546E7A), 10, 3);
        cairo_save(cr);
        cairo_rectangle(cr, 150, 325, 500, 90);
        cairo_clip(cr);
        for (int i = 0; i < 40; ++i) {
            cairo_move_to(cr, 150 + i * 13, 325);
            cairo_line_to(cr, 150 + i * 13, 415);
        }
        for (int i = 0; i < 8; ++i) {
            cairo_move_to(cr, 150, 325 + i * 13);
            cairo_line_to(cr, 650, 325 + i * 13);
        }
        Stroke(cr, Hex(0x263238), 2);
        cairo_restore(cr);
    }
    if (s.Detail()) {
        cairo_rectangle(cr, 145, 318, 510, 14);
        FillInk(cr, kWhite, 3);
    }
    if (s.Detail()) {
        cairo_save(cr);
        cairo_translate(cr, 130, 240);
        cairo_rotate(cr, 0.5);
        InkLine(cr, {0, 60}, {0, 170}, Hex(0x1E88E5), 16, 4);
        EllipsePath(cr, 0, 0, 46, 62);
        FillInk(cr, Hex(0xE3F2FD), 7);
        cairo_restore(cr);
    }
    if (s.Part()) {
        cairo_save(cr);
        cairo_translate(cr, 620, 300);
        cairo_rotate(cr, -0.35 - 0.6 * swing);
        InkLine(cr, {0, 80}, {0, 230}, Hex(0xE53935), 20, 5);
        EllipsePath(cr, 0, 0, 70, 92);
        FillInk(cr, Hex(0xFFF8E1), 10);
        cairo_save(cr);
        EllipsePath(cr, 0, 0, 66, 88);
        cairo_clip(cr);
        for (int i = -6; i <= 6; ++i) {
            cairo_move_to(cr, i * 11, -95);
            cairo_line_to(cr, i * 11, 95);
            cairo_move_to(cr, -75, i * 14);
            cairo_line_to(cr, 75, i * 14);
        }
        Stroke(cr, Hex(0x9E9E9E), 2);
        cairo_restore(cr);
        EllipsePath(cr, 0, 0, 70, 92);
        Stroke(cr, Hex(0xE53935), 8);
        cairo_restore(cr);
    }
    if (s.Detail()) {
        for (int i = 1; i <= 3; ++i) {
            const double tu = std::max(0.0, u - 0.04 * i);
            CirclePath(cr, 200 + 330 * tu, 380 - 200 * std::abs(std::sin(kPi * tu * 1.5)) - 20 * tu,
                       22 - 4 * i);
            Fill(cr, Hex(0xD4F53C), 0.5 - 0.12 * i);
        }
    }
    if (s.Part()) {
        CirclePath(cr, bx, by, 24);
        FillInk(cr, Hex(0xD4F53C), 4);
    }
    if (s.Detail()) {
        cairo_arc(cr, bx - 30, by, 26, -0.6, 0.6);
        Stroke(cr, kWhite, 4);
        cairo_arc(cr, bx + 30, by, 26, kPi - 0.6, kPi + 0.6);
        Stroke(cr, kWhite, 4);
    }
    if (s.Detail()) {
        if (u > 0.85) {
            for (int i = 0; i < 3; ++i) {
                Sparkle(cr, bx + 30 + i * 20, by - 40 + i * 30, 12, Hex(0xFFEB3B));
            }
        }
    }
}

void DrawSwimming(Sketch& s) {
    cairo_t* cr = s.cr;
    const double stroke = s.t * 2 * kPi * 2;  // two strokes a pass
    const double bob = 6 * std::sin(stroke * 2);
    const double hx = 400, hy = 296 + bob;
    if (s.Detail()) {
        for (int i = 0; i < 3; ++i) {
            const double grow = std::fmod(s.t * 2 + i / 3.0, 1.0);
            EllipsePath(cr, hx, 350, 90 + grow * 160, 20 + grow * 30);
            Stroke(cr, kWhite, 6 * (1 - grow) + 1);
        }
    }
    if (s.Part()) {
        // The arm under the water, seen faintly, and the arm over it.
        for (int side : {-1, 1}) {
            const double a = stroke + (side < 0 ? 0 : kPi);
            const double up = std::sin(a);
            const Point shoulder = {hx + side * 60, 345};
            const Point hand = {shoulder.x + side * 130 * std::cos(a) + side * 50, 345 - 170 * up};
            if (up < 0) {
                InkLine(cr, shoulder, {hand.x, 360}, Hex(0x90CAF9), 24, 3);
            } else {
                InkLine(cr, shoulder, hand, Hex(0xF6C7A1), 26, 5);
                CirclePath(cr, hand.x, hand.y, 17);
                FillInk(cr, Hex(0xF6C7A1), 5);
            }
        }
    }
    if (s.Part()) {
        CirclePath(cr, hx, hy, 62);
        FillInk(cr, Hex(0xF6C7A1), 5);
        Eye(cr, hx - 23, hy + 2, 8);
        Eye(cr, hx + 23, hy + 2, 8);
        Smile(cr, hx, hy + 26, 40, 16, 5);
    }
    if (s.Part()) {
        cairo_move_to(cr, hx - 64, hy - 6);
        cairo_curve_to(cr, hx - 70, hy - 86, hx + 70, hy - 86, hx + 64, hy - 6);
        cairo_curve_to(cr, hx + 30, hy - 22, hx - 30, hy - 22, hx - 64, hy - 6);
        cairo_close_path(cr);
        FillInk(cr, Hex(0xFF4081), 5);
        CirclePath(cr, hx + 20, hy - 52, 8);
        Fill(cr, kWhite, 0.6);
    }
    if (s.Detail()) {
        for (int side : {-1, 1}) {
            CirclePath(cr, hx + side * 23, hy + 2, 19);
            SetColour(cr, Hex(0x80DEEA), 0.45);
            cairo_fill_preserve(cr);
            Stroke(cr, Hex(0x00838F), 6);
        }
        cairo_move_to(cr, hx - 4, hy + 2);
        cairo_line_to(cr, hx + 4, hy + 2);
        Stroke(cr, Hex(0x00838F), 6);
    }
    if (s.Part()) {
        cairo_rectangle(cr, 0, 350, 800, 250);
        Fill(cr, Hex(0x1E88E5), 0.35);
        for (int i = -1; i < 9; ++i) {
            const double x = i * 100 + std::fmod(s.t * 200, 100.0);
            cairo_move_to(cr, x, 352);
            cairo_curve_to(cr, x + 25, 340, x + 50, 340, x + 75, 352);
        }
        Stroke(cr, kWhite, 5);
    }
    if (s.Detail()) {
        for (int side : {-1, 1}) {
            const double a = stroke + (side < 0 ? 0 : kPi);
            const double splash = std::max(0.0, std::cos(a)) * (std::sin(a) > -0.3 ? 1.0 : 0.0);
            for (int i = 0; i < 4; ++i) {
                const double x = hx + side * (150 + i * 18);
                CirclePath(cr, x, 345 - splash * (20 + i * 12), 6 * splash + 1);
                Fill(cr, kWhite, splash);
            }
        }
    }
    if (s.Detail()) Bubbles(s, {300, 560}, 4, 160);
    if (s.Detail()) {
        // A yellow rubber duck bobbing on the waves.
        const double dx = 640, dy = 345 + 6 * s.Wave(2, 0.25);
        EllipsePath(cr, dx, dy, 56, 34);
        FillInk(cr, Hex(0xFFD93B), 5);
        CirclePath(cr, dx - 20, dy - 46, 28);
        FillInk(cr, Hex(0xFFD93B), 5);
        PolygonPath(cr, {{dx - 46, dy - 48}, {dx - 72, dy - 40}, {dx - 46, dy - 32}});
        FillInk(cr, Hex(0xFF8F00), 3);
        Eye(cr, dx - 26, dy - 52, 5);
    }
}

void DrawCycling(Sketch& s) {
    cairo_t* cr = s.cr;
    const double turn = -s.t * 2 * kPi * 2;
    const double bob = 3 * std::abs(s.Wave(4));
    const Point back = {265, 400}, front = {545, 400};
    const Point crank = {390, 405}, seat = {350, 250 - bob}, bars = {510, 235 - bob};
    const double r = 100;
    if (s.Part()) {
        for (const Point& w : {back, front}) {
            CirclePath(cr, w.x, w.y, r);
            Stroke(cr, kInk, 26);
            CirclePath(cr, w.x, w.y, r);
            Stroke(cr, Hex(0x455A64), 16);
            const double a = turn + (w.x > 400 ? 1.0 : 0.0);
            CirclePath(cr, w.x + std::cos(a) * (r - 26), w.y + std::sin(a) * (r - 26), 9);
            FillInk(cr, Hex(0xFF7043), 3);
            CirclePath(cr, w.x, w.y, 12);
            FillInk(cr, Hex(0xB0BEC5), 4);
        }
    }
    if (s.Detail()) {
        for (const Point& w : {back, front}) {
            for (int i = 0; i < 8; ++i) {
                const double a = turn + i * kPi / 4;
                cairo_move_to(cr, w.x, w.y);
                cairo_line_to(cr, w.x + std::cos(a) * (r - 10), w.y + std::sin(a) * (r - 10));
            }
            Stroke(cr, Hex(0xCFD8DC), 3);
        }
    }
    if (s.Part()) {
        const Rgb frame = Hex(0x00B8D4);
        InkLine(cr, back, crank, frame, 14, 4);
        InkLine(cr, crank, {seat.x + 10, seat.y + 30}, frame, 14, 4);
        InkLine(cr, back, {seat.x + 5, seat.y + 30}, frame, 14, 4);
        InkLine(cr, {seat.x + 10, seat.y + 30}, {bars.x - 20, bars.y + 40}, frame, 14, 4);
        InkLine(cr, crank, {bars.x - 14, bars.y + 60}, frame, 14, 4);
        InkLine(cr, {bars.x - 20, bars.y + 30}, front, frame, 14, 4);
    }
    if (s.Detail()) {
        EllipsePath(cr, crank.x - 62, crank.y, 70, 20);
        Stroke(cr, Hex(0x616161), 5);
        CirclePath(cr, crank.x, crank.y, 26);
        FillInk(cr, Hex(0x9E9E9E), 4);
        for (int side : {-1, 1}) {
            const double a = turn * 0.8 + (side < 0 ? 0 : kPi);
            const Point pedal = {crank.x + std::cos(a) * 50, crank.y + std::sin(a) * 50};
            InkLine(cr, crank, pedal, Hex(0x757575), 8, 3);
            RoundedRectPath(cr, pedal.x - 20, pedal.y - 6, 40, 12, 4);
            FillInk(cr, Hex(0x424242), 3);
        }
    }
    if (s.Part()) {
        InkLine(cr, {seat.x + 10, seat.y + 30}, {seat.x, seat.y}, Hex(0x9E9E9E), 8, 3);
        EllipsePath(cr, seat.x - 6, seat.y - 4, 40, 13);
        FillInk(cr, Hex(0x5D4037), 4);
        InkLine(cr, {bars.x - 20, bars.y + 40}, bars, Hex(0x9E9E9E), 8, 3);
        InkLine(cr, bars, {bars.x - 50, bars.y - 14}, Hex(0x9E9E9E), 9, 3);
        InkLine(cr, {bars.x - 50, bars.y - 14}, {bars.x - 70, bars.y - 14}, Hex(0xE53935), 13, 3);
    }
    if (s.Detail()) {
        RoundedRectPath(cr, bars.x + 8, bars.y + 10, 80, 56, 10);
        FillInk(cr, Hex(0xD7A15C), 4);
        for (int i = 0; i < 3; ++i) {
            Flower(cr, bars.x + 24 + i * 24, bars.y - 2 - (i % 2) * 16, 10,
                   i == 1 ? Hex(0xFFEB3B) : Hex(0xFF7FAF));
        }
    }
    if (s.Detail()) {
        cairo_arc(cr, bars.x - 28, bars.y - 22, 11, kPi, 2 * kPi);
        cairo_close_path(cr);
        FillInk(cr, Hex(0xFFD54F), 3);
        if (s.Pulse(2) > 0.8) {
            DrawOutlinedText(cr, "pling!", bars.x - 60, bars.y - 60, 30, kWhite, Align::Centre, 6);
        }
    }
    if (s.Detail()) {
        for (int i = 0; i < 3; ++i) {
            const double x = 120 - std::fmod(s.t * 300 + i * 60, 180.0);
            SpeedLines(cr, x + 40, 260 + i * 70, 60, 16);
        }
        for (int i = 0; i < 6; ++i) {
            const double x = std::fmod(800 - s.t * 400 + i * 140, 840.0) - 20;
            EllipsePath(cr, x, 515 + (i % 2) * 40, 10, 5);
            Fill(cr, Hex(0x8BC34A));
        }
    }
}

void DrawSkiing(Sketch& s) {
    cairo_t* cr = s.cr;
    const double slide = 50 * s.Wave();
    const double tilt = 0.24;
    Figure f;
    f.x = 400 + slide;
    f.feet = 420 + slide * std::tan(tilt) + 40;
    f.skin = Hex(0xF6C7A1);
    f.hair = Hex(0xE8B04B);
    f.shirt = Hex(0xE53935);
    f.trousers = Hex(0x3949AB);
    f.shoes = Hex(0x263238);
    const double plant = s.Pulse(2);
    cairo_save(cr);
    cairo_translate(cr, f.x, f.feet);
    cairo_rotate(cr, tilt * 0.5);
    cairo_translate(cr, -f.x, -f.feet);
    if (s.Part()) {
        for (int side : {-1, 1}) {
            const double x = f.x + side * 40;
            cairo_move_to(cr, x - 130, f.feet + 4 + side * 6);
            cairo_line_to(cr, x + 110, f.feet + 4 + side * 6);
            cairo_curve_to(cr, x + 140, f.feet + 4 + side * 6, x + 150, f.feet - 10 + side * 6,
                           x + 140, f.feet - 24 + side * 6);
            cairo_path_t* ski = cairo_copy_path(cr);
            Stroke(cr, kInk, 18);
            cairo_append_path(cr, ski);
            Stroke(cr, side < 0 ? Hex(0xFFC400) : Hex(0xFFD740), 10);
            cairo_path_destroy(ski);
        }
    }
    if (s.Part()) DrawBody(cr, f);
    if (s.Detail()) {
        cairo_rectangle(cr, f.x - 76, f.feet - 200, 152, 18);
        Fill(cr, kWhite);
        cairo_rectangle(cr, f.x - 76, f.feet - 200, 152, 18);
        Stroke(cr, kInk, 3);
    }
    if (s.Part()) {
        DrawHead(cr, f);
        const double y = f.HeadY() - 30;
        cairo_move_to(cr, f.x - 64, y + 8);
        cairo_curve_to(cr, f.x - 68, y - 70, f.x + 68, y - 70, f.x + 64, y + 8);
        cairo_close_path(cr);
        FillInk(cr, Hex(0x00ACC1), 5);
        cairo_rectangle(cr, f.x - 66, y - 4, 132, 20);
        FillInk(cr, kWhite, 4);
        CirclePath(cr, f.x, y - 60, 20);
        FillInk(cr, kWhite, 4);
    }
    if (s.Detail()) DrawFaceDetails(cr, f);
    if (s.Detail()) {
        RoundedRectPath(cr, f.x - 50, f.HeadY() + 52, 100, 22, 10);
        FillInk(cr, Hex(0x00ACC1), 4);
        RoundedRectPath(cr, f.x + 26, f.HeadY() + 60, 22, 56, 8);
        FillInk(cr, Hex(0x00ACC1), 4);
    }
    if (s.Part()) {
        for (const bool right : {false, true}) {
            const double angle = 0.5 + 0.25 * (right ? plant : 1 - plant);
            const Point h = Hand(f, right, angle);
            const Point tip = {h.x + (right ? 60 : -60) + 30, f.feet + 10};
            InkLine(cr, h, tip, Hex(0x90A4AE), 7, 3);
            CirclePath(cr, tip.x, tip.y - 14, 10);
            Stroke(cr, kInk, 4);
            DrawArm(cr, f, right, angle);
            DrawHand(cr, f, h);
        }
    }
    cairo_restore(cr);
    if (s.Detail()) {
        for (int i = 0; i < 6; ++i) {
            const double p = Rising(s, i, 6);
            CirclePath(cr, f.x - 160 - 60 * p, f.feet - 20 * p - 10 - i * 3, 10 + 12 * p);
            Fill(cr, kWhite, 0.9 * (1 - p));
            CirclePath(cr, f.x - 160 - 60 * p, f.feet - 20 * p - 10 - i * 3, 10 + 12 * p);
            Stroke(cr, Hex(0xB3E5FC), 2);
        }
    }
}

void DrawBasketball(Sketch& s) {
    cairo_t* cr = s.cr;
    const double p = std::min(1.0, s.t * 1.3);
    const double bx = 180 + 390 * p;
    const double by = 430 - 330 * std::sin(kPi * p * 0.82) + (p > 0.9 ? (p - 0.9) * 800 : 0);
    const bool scored = p >= 0.95;
    if (s.Part()) {
        cairo_rectangle(cr, 640, 120, 26, 370);
        FillInk(cr, Hex(0x78909C), 5);
        RoundedRectPath(cr, 520, 60, 200, 140, 10);
        FillInk(cr, kWhite, 6);
        InkLine(cr, {640, 190}, {600, 210}, Hex(0x78909C), 10, 3);
    }
    if (s.Detail()) {
        cairo_rectangle(cr, 580, 110, 80, 62);
        Stroke(cr, Hex(0xE53935), 6);
    }
    if (s.Detail()) {
        cairo_rectangle(cr, 636, 380, 34, 110);
        FillInk(cr, Hex(0x1E88E5), 4);
    }
    if (s.Detail()) Shadow(cr, bx, 488, 36);
    if (s.Part()) {
        Ball(cr, bx, by, 38, Hex(0xFF8A2B), s.t * 5 * kPi, true);
    }
    if (s.Part()) {
        const double sway = scored ? 8 * std::sin(s.t * 40) : 0;
        PolygonPath(cr, {{555, 212}, {625, 212}, {612 + sway, 280}, {568 + sway, 280}});
        SetColour(cr, kWhite);
        cairo_set_line_width(cr, 4);
        cairo_stroke(cr);
        for (int i = 0; i < 4; ++i) {
            cairo_move_to(cr, 560 + i * 20, 212);
            cairo_line_to(cr, 575 + i * 10 + sway, 280);
        }
        Stroke(cr, kWhite, 4);
        EllipsePath(cr, 590, 210, 40, 10);
        Stroke(cr, kInk, 14);
        EllipsePath(cr, 590, 210, 40, 10);
        Stroke(cr, Hex(0xFF5722), 7);
    }
    if (s.Detail()) {
        if (!scored && p > 0.05) SpeedLines(cr, bx - 40, by + 10, 60, 16);
    }
    if (s.Detail()) Cheer(cr, "KORG!", 330, 130, scored ? 1.0 : 0.0);
}

void DrawIceHockey(Sketch& s) {
    cairo_t* cr = s.cr;
    const double p = std::min(1.0, s.t * 1.3);
    const double px = 260 + 390 * p * (2 - p);
    const double py = 450 - 60 * p;
    const double swing = std::clamp(1.0 - s.t * 6, 0.0, 1.0);
    const bool scored = p >= 0.98;
    if (s.Detail()) {
        for (int i = 0; i < 5; ++i) {
            cairo_move_to(cr, 100 + i * 130, 520 - i * 9);
            cairo_curve_to(cr, 140 + i * 130, 500, 180 + i * 130, 540, 230 + i * 130, 515);
        }
        Stroke(cr, kWhite, 4);
    }
    if (s.Detail()) {
        cairo_save(cr);
        cairo_rectangle(cr, 600, 300, 150, 110);
        cairo_clip(cr);
        for (int i = 0; i < 10; ++i) {
            cairo_move_to(cr, 600 + i * 16, 300);
            cairo_line_to(cr, 600 + i * 16 + (scored ? 8 : 0), 410);
            cairo_move_to(cr, 600, 300 + i * 14);
            cairo_line_to(cr, 750, 300 + i * 14);
        }
        Stroke(cr, Hex(0xB0BEC5), 3);
        cairo_restore(cr);
    }
    if (s.Part()) {
        cairo_move_to(cr, 600, 410);
        cairo_line_to(cr, 600, 300);
        cairo_line_to(cr, 750, 300);
        cairo_line_to(cr, 750, 410);
        cairo_path_t* frame = cairo_copy_path(cr);
        Stroke(cr, kInk, 20);
        cairo_append_path(cr, frame);
        Stroke(cr, Hex(0xE53935), 12);
        cairo_path_destroy(frame);
    }
    if (s.Detail()) {
        for (int i = 1; i <= 3; ++i) {
            const double tp = std::max(0.0, p - 0.05 * i);
            EllipsePath(cr, 260 + 390 * tp * (2 - tp), 450 - 60 * tp, 28, 10);
            Fill(cr, Hex(0x90A4AE), 0.35 - 0.08 * i);
        }
    }
    if (s.Part()) {
        EllipsePath(cr, px, py + 8, 30, 11);
        FillInk(cr, Hex(0x212121), 4);
        EllipsePath(cr, px, py, 30, 11);
        FillInk(cr, Hex(0x424242), 4);
    }
    if (s.Part()) {
        cairo_save(cr);
        cairo_translate(cr, 170, 130);
        cairo_rotate(cr, -0.35 - 0.5 * swing + 0.1 * (1 - swing));
        InkLine(cr, {0, 0}, {40, 320}, Hex(0xD7A15C), 20, 5);
        cairo_move_to(cr, 40, 320);
        cairo_curve_to(cr, 44, 350, 70, 356, 130, 352);
        Stroke(cr, kInk, 30);
        cairo_move_to(cr, 40, 320);
        cairo_curve_to(cr, 44, 350, 70, 356, 130, 352);
        Stroke(cr, Hex(0x37474F), 20);
        cairo_rectangle(cr, 6, 40, 26, 60);
        Fill(cr, kWhite);
        if (s.detailed) {
            RoundedRectPath(cr, -30, 60, 70, 60, 18);
            FillInk(cr, Hex(0x1E88E5), 5);
        }
        cairo_restore(cr);
    }
    if (s.Detail()) {
        if (swing > 0.4) {
            StarPath(cr, 280, 440, 44, 18, 8);
            FillInk(cr, Hex(0xFFEB3B), 4);
        }
    }
    if (s.Detail()) Cheer(cr, "MÅL!", 420, 150, scored ? 1.0 : 0.0);
}

void DrawSailing(Sketch& s) {
    cairo_t* cr = s.cr;
    const double rock = 0.06 * s.Wave();
    const double lift = 10 * s.Wave(1, 0.25);
    cairo_save(cr);
    cairo_translate(cr, 400, 400 + lift);
    cairo_rotate(cr, rock);
    if (s.Part()) {
        cairo_move_to(cr, -190, -20);
        cairo_line_to(cr, 200, -20);
        cairo_curve_to(cr, 170, 50, 120, 70, 80, 70);
        cairo_line_to(cr, -130, 70);
        cairo_curve_to(cr, -160, 70, -180, 30, -190, -20);
        cairo_close_path(cr);
        FillInk(cr, Hex(0xE53935), 6);
        cairo_rectangle(cr, -188, -20, 386, 16);
        FillInk(cr, kWhite, 4);
    }
    if (s.Detail()) {
        for (int i = 0; i < 3; ++i) {
            CirclePath(cr, -90 + i * 80, 28, 13);
            FillInk(cr, Hex(0xB3E5FC), 4);
        }
    }
    if (s.Part()) {
        InkLine(cr, {10, -20}, {10, -330}, Hex(0x8D6E63), 12, 4);
        cairo_move_to(cr, 0, -320);
        cairo_curve_to(cr, -80 - 10 * s.Wave(2), -220, -140, -120, -170, -40);
        cairo_line_to(cr, 0, -40);
        cairo_close_path(cr);
        FillInk(cr, kWhite, 6);
        cairo_move_to(cr, 22, -300);
        cairo_curve_to(cr, 80, -220, 130, -140, 150, -46);
        cairo_line_to(cr, 22, -46);
        cairo_close_path(cr);
        FillInk(cr, Hex(0xFFF59D), 6);
    }
    if (s.Detail()) {
        cairo_save(cr);
        cairo_move_to(cr, 0, -320);
        cairo_curve_to(cr, -80 - 10 * s.Wave(2), -220, -140, -120, -170, -40);
        cairo_line_to(cr, 0, -40);
        cairo_close_path(cr);
        cairo_clip(cr);
        const Rgb stripes[] = {Hex(0x42A5F5), Hex(0xFF7043)};
        for (int i = 0; i < 2; ++i) {
            cairo_rectangle(cr, -200, -190 + i * 70, 220, 26);
            Fill(cr, stripes[i]);
        }
        cairo_restore(cr);
    }
    if (s.Detail()) {
        const double flap = 10 * s.Wave(3);
        cairo_move_to(cr, 16, -330);
        cairo_curve_to(cr, 40, -340 + flap, 60, -320 - flap, 84, -326 + flap);
        cairo_line_to(cr, 80, -298 + flap);
        cairo_curve_to(cr, 60, -292 - flap, 40, -310 + flap, 16, -300);
        cairo_close_path(cr);
        FillInk(cr, Hex(0x1E88E5), 4);
    }
    cairo_restore(cr);
    if (s.Part()) {
        const double shift = std::fmod(s.t * 100, 100.0);
        for (int row = 0; row < 2; ++row) {
            cairo_move_to(cr, -100, 600);
            for (int i = -1; i < 10; ++i) {
                const double x = i * 100 + (row == 0 ? shift : -shift + 50);
                const double y = 460 + row * 60;
                cairo_line_to(cr, x, y);
                cairo_curve_to(cr, x + 20, y - 26, x + 60, y - 26, x + 80, y);
                cairo_curve_to(cr, x + 88, y - 8, x + 94, y - 8, x + 100, y);
            }
            cairo_line_to(cr, 900, 600);
            cairo_close_path(cr);
            FillInk(cr, row == 0 ? Hex(0x29B6F6) : Hex(0x0288D1), 5);
        }
    }
    if (s.Detail()) {
        const double gx = 150 + 500 * s.t;
        const double flap = 14 * s.Wave(4);
        cairo_move_to(cr, gx - 40, 120 - flap);
        cairo_curve_to(cr, gx - 25, 100, gx - 10, 105, gx, 120);
        cairo_curve_to(cr, gx + 10, 105, gx + 25, 100, gx + 40, 120 - flap);
        Stroke(cr, kInk, 6);
    }
}

}  // namespace make_demo
