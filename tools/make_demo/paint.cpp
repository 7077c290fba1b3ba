#include "paint.h"

#include <cmath>
#include <numbers>
#include <string>

namespace make_demo {
namespace {

constexpr double kPi = std::numbers::pi;

void SelectFont(cairo_t* cr, double size) {
    cairo_select_font_face(cr, "URW Gothic", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, size);
}

double AlignedX(cairo_t* cr, const std::string& text, double x, Align align) {
    if (align == Align::Left) return x;
    cairo_text_extents_t e;
    cairo_text_extents(cr, text.c_str(), &e);
    const double width = e.x_advance;
    return align == Align::Centre ? x - width / 2 : x - width;
}

}  // namespace

Rgb Mix(Rgb a, Rgb b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

void SetColour(cairo_t* cr, Rgb c, double alpha) {
    if (alpha >= 1.0) {
        cairo_set_source_rgb(cr, c.r, c.g, c.b);
    } else {
        cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
    }
}

void RoundedRectPath(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -kPi / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, kPi / 2);
    cairo_arc(cr, x + r, y + h - r, r, kPi / 2, kPi);
    cairo_arc(cr, x + r, y + r, r, kPi, 3 * kPi / 2);
    cairo_close_path(cr);
}

void EllipsePath(cairo_t* cr, double cx, double cy, double rx, double ry) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_close_path(cr);
    cairo_restore(cr);
}

void CirclePath(cairo_t* cr, double cx, double cy, double r) {
    EllipsePath(cr, cx, cy, r, r);
}

void PolygonPath(cairo_t* cr, std::initializer_list<Point> points) {
    bool first = true;
    for (const Point& p : points) {
        if (first) {
            cairo_move_to(cr, p.x, p.y);
            first = false;
        } else {
            cairo_line_to(cr, p.x, p.y);
        }
    }
    cairo_close_path(cr);
}

void StarPath(cairo_t* cr, double cx, double cy, double outer, double inner, int points,
              double turn) {
    for (int i = 0; i < points * 2; ++i) {
        const double a = turn - kPi / 2 + i * kPi / points;
        const double r = i % 2 == 0 ? outer : inner;
        if (i == 0) {
            cairo_move_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
        } else {
            cairo_line_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
        }
    }
    cairo_close_path(cr);
}

void HeartPath(cairo_t* cr, double cx, double cy, double s) {
    cairo_move_to(cr, cx, cy + s * 0.9);
    cairo_curve_to(cr, cx - s * 1.3, cy + s * 0.1, cx - s * 0.9, cy - s * 1.0, cx, cy - s * 0.35);
    cairo_curve_to(cr, cx + s * 0.9, cy - s * 1.0, cx + s * 1.3, cy + s * 0.1, cx, cy + s * 0.9);
    cairo_close_path(cr);
}

void Fill(cairo_t* cr, Rgb c, double alpha) {
    SetColour(cr, c, alpha);
    cairo_fill(cr);
}

void Stroke(cairo_t* cr, Rgb c, double width) {
    SetColour(cr, c);
    cairo_set_line_width(cr, width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
}

void FillInk(cairo_t* cr, Rgb c, double line) {
    SetColour(cr, c);
    cairo_fill_preserve(cr);
    Stroke(cr, kInk, line);
}

void FillUnionInk(cairo_t* cr, Rgb c, double line) {
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    SetColour(cr, kInk);
    cairo_set_line_width(cr, 2 * line);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke_preserve(cr);
    Fill(cr, c);
}

void InkLine(cairo_t* cr, Point a, Point b, Rgb c, double width, double line) {
    cairo_move_to(cr, a.x, a.y);
    cairo_line_to(cr, b.x, b.y);
    cairo_path_t* path = cairo_copy_path(cr);
    Stroke(cr, kInk, width + 2 * line);
    cairo_append_path(cr, path);
    Stroke(cr, c, width);
    cairo_path_destroy(path);
}

void InkCurve(cairo_t* cr, Point a, Point c1, Point c2, Point b, Rgb c, double width, double line) {
    cairo_move_to(cr, a.x, a.y);
    cairo_curve_to(cr, c1.x, c1.y, c2.x, c2.y, b.x, b.y);
    cairo_path_t* path = cairo_copy_path(cr);
    Stroke(cr, kInk, width + 2 * line);
    cairo_append_path(cr, path);
    Stroke(cr, c, width);
    cairo_path_destroy(path);
}

void MusicNote(cairo_t* cr, double x, double y, double size, Rgb c, bool twin) {
    // (x, y) is the centre of the (first) note head.
    const double head = size * 0.32;
    const double stem = size;
    cairo_save(cr);
    cairo_set_line_width(cr, size * 0.08);
    EllipsePath(cr, x, y, head * 1.2, head * 0.9);
    if (twin) EllipsePath(cr, x + size * 0.7, y - size * 0.15, head * 1.2, head * 0.9);
    const double right = x + head * 1.1;
    cairo_rectangle(cr, right - size * 0.1, y - stem, size * 0.1, stem);
    if (twin) {
        cairo_rectangle(cr, right + size * 0.6, y - stem - size * 0.15, size * 0.1, stem);
        PolygonPath(cr, {{right - size * 0.1, y - stem},
                         {right + size * 0.7, y - stem - size * 0.15},
                         {right + size * 0.7, y - stem + size * 0.07},
                         {right - size * 0.1, y - stem + size * 0.22}});
    } else {
        cairo_move_to(cr, right - size * 0.05, y - stem);
        cairo_curve_to(cr, right + size * 0.3, y - stem + size * 0.15, right + size * 0.45,
                       y - stem + size * 0.35, right + size * 0.25, y - stem + size * 0.6);
        cairo_curve_to(cr, right + size * 0.3, y - stem + size * 0.4, right + size * 0.1,
                       y - stem + size * 0.3, right - size * 0.05, y - stem + size * 0.25);
        cairo_close_path(cr);
    }
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    SetColour(cr, kInk);
    cairo_stroke_preserve(cr);
    Fill(cr, c);
    cairo_restore(cr);
}

void Cloud(cairo_t* cr, double cx, double cy, double s) {
    const double bumps[][3] = {
        {-60, 8, 34}, {-25, -14, 42}, {20, -20, 46}, {58, 2, 34}, {0, 14, 40}};
    for (const auto& b : bumps) CirclePath(cr, cx + b[0] * s, cy + b[1] * s, b[2] * s);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    SetColour(cr, Hex(0xC9DDF2));
    cairo_set_line_width(cr, 6 * s);
    cairo_stroke_preserve(cr);
    Fill(cr, kWhite);
}

void Sun(cairo_t* cr, double cx, double cy, double r, double turn) {
    for (int i = 0; i < 12; ++i) {
        const double a = turn + i * kPi / 6;
        InkLine(cr, {cx + std::cos(a) * r * 1.25, cy + std::sin(a) * r * 1.25},
                {cx + std::cos(a) * r * 1.6, cy + std::sin(a) * r * 1.6}, Hex(0xFFC83D), r * 0.14,
                r * 0.04);
    }
    CirclePath(cr, cx, cy, r);
    FillInk(cr, Hex(0xFFD93B), r * 0.07);
    Eye(cr, cx - r * 0.33, cy - r * 0.12, r * 0.13);
    Eye(cr, cx + r * 0.33, cy - r * 0.12, r * 0.13);
    Smile(cr, cx, cy + r * 0.2, r * 0.7, r * 0.28, r * 0.07);
}

void Flower(cairo_t* cr, double x, double y, double size, Rgb petals) {
    InkLine(cr, {x, y}, {x, y + size * 2.2}, Hex(0x4CAF50), size * 0.22, size * 0.06);
    for (int i = 0; i < 5; ++i) {
        const double a = i * 2 * kPi / 5;
        CirclePath(cr, x + std::cos(a) * size * 0.55, y + std::sin(a) * size * 0.55, size * 0.45);
        FillInk(cr, petals, size * 0.08);
    }
    CirclePath(cr, x, y, size * 0.38);
    FillInk(cr, Hex(0xFFD93B), size * 0.08);
}

void Sparkle(cairo_t* cr, double cx, double cy, double size, Rgb c) {
    StarPath(cr, cx, cy, size, size * 0.3, 4);
    FillInk(cr, c, size * 0.12);
}

void Eye(cairo_t* cr, double cx, double cy, double r, double lookX, double lookY) {
    EllipsePath(cr, cx + lookX * r * 0.3, cy + lookY * r * 0.3, r, r * 1.2);
    Fill(cr, kInk);
    CirclePath(cr, cx + lookX * r * 0.3 - r * 0.35, cy + lookY * r * 0.3 - r * 0.45, r * 0.38);
    Fill(cr, kWhite);
}

void Smile(cairo_t* cr, double cx, double cy, double w, double depth, double line) {
    cairo_move_to(cr, cx - w / 2, cy);
    cairo_curve_to(cr, cx - w / 4, cy + depth, cx + w / 4, cy + depth, cx + w / 2, cy);
    Stroke(cr, kInk, line);
}

double TextWidth(cairo_t* cr, std::string_view text, double size) {
    cairo_save(cr);
    SelectFont(cr, size);
    cairo_text_extents_t e;
    cairo_text_extents(cr, std::string(text).c_str(), &e);
    cairo_restore(cr);
    return e.x_advance;
}

void DrawText(cairo_t* cr, std::string_view text, double x, double baseline, double size, Rgb c,
              Align align) {
    const std::string s(text);
    cairo_save(cr);
    SelectFont(cr, size);
    cairo_move_to(cr, AlignedX(cr, s, x, align), baseline);
    SetColour(cr, c);
    cairo_show_text(cr, s.c_str());
    cairo_restore(cr);
}

void DrawOutlinedText(cairo_t* cr, std::string_view text, double x, double baseline, double size,
                      Rgb c, Align align, double outline, Rgb outlineColour) {
    const std::string s(text);
    cairo_save(cr);
    SelectFont(cr, size);
    cairo_move_to(cr, AlignedX(cr, s, x, align), baseline);
    cairo_text_path(cr, s.c_str());
    SetColour(cr, outlineColour);
    cairo_set_line_width(cr, outline);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke_preserve(cr);
    Fill(cr, c);
    cairo_restore(cr);
}

}  // namespace make_demo
