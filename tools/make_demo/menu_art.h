#pragma once

#include <cairo.h>

#include "paint.h"

namespace make_demo {

// Pictures shared by the menus and the choices pages.

// The program's mascot, a friendly bee, centred on (x, y); size is about its width.
void Bee(cairo_t* cr, double x, double y, double size);

// A door standing ajar with an arrow going out: "leave", filling the box.
void ExitDoor(cairo_t* cr, double x, double y, double w, double h);

// A cog on a button: the grown-ups' settings.
void SettingsButton(cairo_t* cr, double x, double y, double w, double h);

// A padlock, closed, centred on (x, y).
void Padlock(cairo_t* cr, double x, double y, double size);

// A red octagonal stop sign with its word, centred on (x, y).
void StopSign(cairo_t* cr, double x, double y, double radius);

// A round red "no entry" sign, centred on (x, y).
void NoEntrySign(cairo_t* cr, double x, double y, double radius);

// Confetti dots and little stars over a rectangle, from a fixed seed.
void Confetti(cairo_t* cr, double x, double y, double w, double h, int count, unsigned seed,
              double alpha);

}  // namespace make_demo
