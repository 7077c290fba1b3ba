#pragma once

#include "make_demo/canvas.h"
#include "make_demo/paint.h"

namespace kit {

// A photo is cut to 4:3 around its middle when that keeps at least this share of it; a photo
// of a more different shape (a phone's portrait photo, a panorama) is shown whole, with bars.
inline constexpr double kLeastKeptShare = 0.7;

// The picture every series is drawn from: 4:3, larger than the screen so the film can zoom in.
inline constexpr int kWorkWidth = 1200;
inline constexpr int kWorkHeight = 900;

bool Letterboxed(double uprightWidth, double uprightHeight);

// The scale from the upright photo to the work picture.
double FitScale(double uprightWidth, double uprightHeight);

struct UprightPhoto;

// The photo upright on a kWorkWidth × kWorkHeight picture, cut to 4:3 or with bars of the
// colour `bars` (with a little confetti) on the sides it does not fill.
make_demo::Canvas FitPhoto(const UprightPhoto& photo, make_demo::Rgb bars);

}  // namespace kit
