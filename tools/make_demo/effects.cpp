#include "effects.h"

#include <cmath>
#include <numbers>

namespace make_demo {
namespace {

constexpr double kPi = std::numbers::pi;

}  // namespace

double Rising(const Sketch& s, int index, int count) {
    return std::fmod(s.t + static_cast<double>(index) / count, 1.0);
}

void RisingNotes(Sketch& s, Point from, int count, double height, double drift) {
    const Rgb colours[] = {Hex(0xFF4F8B), Hex(0x3FA9F5), Hex(0xFFC928), Hex(0x4CD964)};
    for (int i = 0; i < count; ++i) {
        const double p = Rising(s, i, count);
        const double x = from.x + drift * p + 22 * std::sin(2 * kPi * p + i);
        const double y = from.y - height * p;
        const double size = 34 + 10 * std::sin(kPi * p);
        // The clip keeps the group (and its memory) the size of the note.
        cairo_save(s.cr);
        cairo_rectangle(s.cr, x - size, y - size * 1.5, size * 2.6, size * 2.1);
        cairo_clip(s.cr);
        cairo_push_group(s.cr);
        MusicNote(s.cr, x, y, size, colours[i % 4], i % 2 == 1);
        cairo_pop_group_to_source(s.cr);
        cairo_paint_with_alpha(s.cr, std::min(1.0, 3.0 * std::sin(kPi * p)));
        cairo_restore(s.cr);
    }
}

void SoundRings(cairo_t* cr, Point at, double strength, Rgb c) {
    if (strength <= 0.05) return;
    for (int i = 0; i < 3; ++i) {
        const double r = 30 + i * 26 + (1.0 - strength) * 40;
        cairo_arc(cr, at.x, at.y, r, -0.9, 0.9);
        Stroke(cr, c, 6 * strength);
        cairo_arc(cr, at.x, at.y, r, kPi - 0.9, kPi + 0.9);
        Stroke(cr, c, 6 * strength);
    }
}

void Bubbles(Sketch& s, Point from, int count, double height) {
    for (int i = 0; i < count; ++i) {
        const double p = Rising(s, i, count);
        const double x = from.x + 14 * std::sin(2 * kPi * (p * 2 + i * 0.3));
        CirclePath(s.cr, x, from.y - height * p, 7 + 8 * p);
        SetColour(s.cr, kWhite, 0.35);
        cairo_fill_preserve(s.cr);
        Stroke(s.cr, kWhite, 3);
        CirclePath(s.cr, x - 3 - 2 * p, from.y - height * p - 3 - 2 * p, 2 + p * 2);
        Fill(s.cr, kWhite);
    }
}

}  // namespace make_demo
