#pragma once

#include "paint.h"
#include "sketch.h"

namespace make_demo {

// Where the index-th of `count` things that rise over and over stands in its climb: runs
// 0 → 1 once per film pass, each one a step behind the one before.
double Rising(const Sketch& s, int index, int count);

// Music notes floating up and away from a point, fading as they go.
void RisingNotes(Sketch& s, Point from, int count, double height, double drift);

// Rings spreading out from a point that was just struck; strength 0 draws nothing.
void SoundRings(cairo_t* cr, Point at, double strength, Rgb c);

// Bubbles rising from a point.
void Bubbles(Sketch& s, Point from, int count, double height);

}  // namespace make_demo
