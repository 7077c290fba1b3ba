#pragma once

#include "item_catalog.h"
#include "paint.h"

namespace make_demo {

// Each theme has its own colour wherever it appears: names, cards, frames.
Rgb ThemeColour(Theme theme);
Rgb ThemePale(Theme theme);

}  // namespace make_demo
