#include "theme_style.h"

namespace make_demo {

Rgb ThemeColour(Theme theme) {
    switch (theme) {
        case Theme::Yrke:
            return Hex(0x1E78E0);
        case Theme::Musik:
            return Hex(0x9B45C8);
        case Theme::Sport:
            return Hex(0xF27A10);
        case Theme::Djur:
            return Hex(0x2EA24A);
    }
    return kInk;
}

Rgb ThemePale(Theme theme) {
    return Lighter(ThemeColour(theme), 0.78);
}

}  // namespace make_demo
