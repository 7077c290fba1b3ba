#pragma once

#include <cairo.h>

#include <cstdint>
#include <initializer_list>
#include <string_view>

namespace make_demo {

struct Rgb {
    double r, g, b;
};

constexpr Rgb Hex(uint32_t v) {
    return {((v >> 16) & 0xFF) / 255.0, ((v >> 8) & 0xFF) / 255.0, (v & 0xFF) / 255.0};
}
Rgb Mix(Rgb a, Rgb b, double t);
inline Rgb Lighter(Rgb c, double t) {
    return Mix(c, Hex(0xFFFFFF), t);
}
inline Rgb Darker(Rgb c, double t) {
    return Mix(c, Hex(0x000000), t);
}

// The outline colour of every drawing: a soft dark plum rather than black.
inline constexpr Rgb kInk = Hex(0x3B2C4F);
inline constexpr Rgb kWhite = Hex(0xFFFFFF);

struct Point {
    double x, y;
};

void SetColour(cairo_t* cr, Rgb c, double alpha = 1.0);

// Paths (nothing is painted until a fill or stroke).
void RoundedRectPath(cairo_t* cr, double x, double y, double w, double h, double r);
void EllipsePath(cairo_t* cr, double cx, double cy, double rx, double ry);
void CirclePath(cairo_t* cr, double cx, double cy, double r);
void PolygonPath(cairo_t* cr, std::initializer_list<Point> points);
void StarPath(cairo_t* cr, double cx, double cy, double outer, double inner, int points,
              double turn = 0.0);
void HeartPath(cairo_t* cr, double cx, double cy, double size);

// Painting of the current path.
void Fill(cairo_t* cr, Rgb c, double alpha = 1.0);
void Stroke(cairo_t* cr, Rgb c, double width);
// Fills the path and outlines it in ink: the cartoon look of every shape.
void FillInk(cairo_t* cr, Rgb c, double line = 5.0);
// The same for a path of overlapping pieces: one outline around the whole.
void FillUnionInk(cairo_t* cr, Rgb c, double line = 5.0);
// A thick outlined stroke with round ends, for arms, handles and strings.
void InkLine(cairo_t* cr, Point a, Point b, Rgb c, double width, double line = 4.0);
void InkCurve(cairo_t* cr, Point a, Point c1, Point c2, Point b, Rgb c, double width,
              double line = 4.0);

// Small pictures used by many drawings.
void MusicNote(cairo_t* cr, double x, double y, double size, Rgb c, bool twin = false);
void Cloud(cairo_t* cr, double cx, double cy, double scale);
void Sun(cairo_t* cr, double cx, double cy, double r, double turn = 0.0);
void Flower(cairo_t* cr, double x, double y, double size, Rgb petals);
void Sparkle(cairo_t* cr, double cx, double cy, double size, Rgb c);
void Eye(cairo_t* cr, double cx, double cy, double r, double lookX = 0.0, double lookY = 0.0);
void Smile(cairo_t* cr, double cx, double cy, double w, double depth, double line = 5.0);

// Text in the program's rounded geometric face.
enum class Align { Left, Centre, Right };
double TextWidth(cairo_t* cr, std::string_view text, double size);
void DrawText(cairo_t* cr, std::string_view text, double x, double baseline, double size, Rgb c,
              Align align = Align::Left);
// Text with an ink outline behind it, for names on busy backgrounds.
void DrawOutlinedText(cairo_t* cr, std::string_view text, double x, double baseline, double size,
                      Rgb c, Align align = Align::Centre, double outline = 6.0,
                      Rgb outlineColour = kInk);

}  // namespace make_demo
