#include "person.h"

#include <cmath>
#include <numbers>

namespace make_demo {
namespace {

constexpr double kArmLength = 118;

}  // namespace

void TorsoPath(cairo_t* cr, const Figure& f) {
    const double x = f.x, feet = f.feet;
    const double top = feet - 238, bottom = feet - 92;
    cairo_move_to(cr, x - 50, top);
    cairo_line_to(cr, x + 50, top);
    cairo_curve_to(cr, x + 80, top, x + 78, top + 30, x + 76, top + 50);
    cairo_line_to(cr, x + 66, bottom - 20);
    cairo_curve_to(cr, x + 66, bottom, x + 50, bottom, x + 46, bottom);
    cairo_line_to(cr, x - 46, bottom);
    cairo_curve_to(cr, x - 50, bottom, x - 66, bottom, x - 66, bottom - 20);
    cairo_line_to(cr, x - 76, top + 50);
    cairo_curve_to(cr, x - 78, top + 30, x - 80, top, x - 50, top);
    cairo_close_path(cr);
}

void DrawBody(cairo_t* cr, const Figure& f) {
    const double x = f.x, feet = f.feet;
    for (int side : {-1, 1}) {
        RoundedRectPath(cr, side < 0 ? x - 54 : x + 10, feet - 118, 44, 104, 14);
        FillInk(cr, f.trousers, 5);
    }
    for (int side : {-1, 1}) {
        EllipsePath(cr, x + side * 40, feet - 14, 38, 17);
        FillInk(cr, f.shoes, 5);
    }
    TorsoPath(cr, f);
    FillInk(cr, f.shirt, 5);
}

void DrawHead(cairo_t* cr, const Figure& f) {
    const double x = f.x, y = f.HeadY(), r = f.HeadR();
    if (f.longHair) {
        RoundedRectPath(cr, x - r - 8, y - 20, 2 * r + 16, r + 62, 30);
        FillInk(cr, f.hair, 5);
    }
    cairo_rectangle(cr, x - 16, y + r - 16, 32, 30);
    FillInk(cr, f.skin, 4);
    for (int side : {-1, 1}) {
        CirclePath(cr, x + side * (r - 2), y + 6, 15);
        FillInk(cr, f.skin, 5);
    }
    CirclePath(cr, x, y, r);
    FillInk(cr, f.skin, 5);
    // Hair: a cap over the top with a wavy fringe.
    cairo_move_to(cr, x - r - 2, y + 4);
    cairo_curve_to(cr, x - r - 6, y - r * 1.3, x + r + 6, y - r * 1.3, x + r + 2, y + 4);
    cairo_curve_to(cr, x + r - 10, y - 20, x + 30, y - 40, x + 10, y - 30);
    cairo_curve_to(cr, x - 5, y - 42, x - 30, y - 22, x - 40, y - 34);
    cairo_curve_to(cr, x - 50, y - 20, x - r + 4, y - 16, x - r - 2, y + 4);
    cairo_close_path(cr);
    FillInk(cr, f.hair, 5);
    Eye(cr, x - 23, y + 2, 8);
    Eye(cr, x + 23, y + 2, 8);
    Smile(cr, x, y + 26, 46, 18, 5);
}

void DrawFaceDetails(cairo_t* cr, const Figure& f) {
    const double x = f.x, y = f.HeadY();
    for (int side : {-1, 1}) {
        EllipsePath(cr, x + side * 38, y + 22, 12, 8);
        Fill(cr, Hex(0xFF7F8A), 0.55);
        cairo_move_to(cr, x + side * 33, y - 16);
        cairo_curve_to(cr, x + side * 27, y - 22, x + side * 17, y - 22, x + side * 12, y - 17);
        Stroke(cr, kInk, 4);
    }
    cairo_move_to(cr, x - 4, y + 10);
    cairo_curve_to(cr, x - 2, y + 18, x + 6, y + 18, x + 6, y + 12);
    Stroke(cr, Darker(f.skin, 0.3), 4);
}

Point ArmDirection(bool right, double angle) {
    return {(right ? 1.0 : -1.0) * std::sin(angle), std::cos(angle)};
}

Point Hand(const Figure& f, bool right, double angle) {
    const Point s = f.Shoulder(right);
    const Point d = ArmDirection(right, angle);
    return {s.x + d.x * kArmLength, s.y + d.y * kArmLength};
}

void DrawArm(cairo_t* cr, const Figure& f, bool right, double angle) {
    InkLine(cr, f.Shoulder(right), Hand(f, right, angle), f.shirt, 32, 5);
}

void DrawHand(cairo_t* cr, const Figure& f, Point hand) {
    CirclePath(cr, hand.x, hand.y, 18);
    FillInk(cr, f.skin, 5);
}

}  // namespace make_demo
