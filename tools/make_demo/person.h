#pragma once

#include <cairo.h>

#include "paint.h"

namespace make_demo {

// A standing cartoon person; the occupations dress it and put things in its hands.
struct Figure {
    double x = 330;     // centre line
    double feet = 488;  // bottom of the shoes
    Rgb skin = Hex(0xF6C7A1);
    Rgb hair = Hex(0x7A4A2A);
    Rgb shirt = Hex(0xFFFFFF);
    Rgb trousers = Hex(0x3D5A99);
    Rgb shoes = Hex(0x5A3E2B);
    bool longHair = false;

    double HeadY() const { return feet - 300; }
    double HeadR() const { return 62; }
    Point Shoulder(bool right) const { return {x + (right ? 62 : -62), feet - 208}; }
};

void TorsoPath(cairo_t* cr, const Figure& f);
void DrawBody(cairo_t* cr, const Figure& f);
void DrawHead(cairo_t* cr, const Figure& f);
void DrawFaceDetails(cairo_t* cr, const Figure& f);

// Arms hang at angle 0 and swing outwards (away from the body) with larger angles, in
// radians; π/2 points straight out to the side, π straight up.
Point Hand(const Figure& f, bool right, double angle);
// The direction from shoulder to hand, for tools held along the forearm.
Point ArmDirection(bool right, double angle);
void DrawArm(cairo_t* cr, const Figure& f, bool right, double angle);
void DrawHand(cairo_t* cr, const Figure& f, Point hand);

}  // namespace make_demo
