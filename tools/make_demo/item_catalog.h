#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sketch.h"

namespace make_demo {

// The four themes, numbered as the program numbers them.
enum class Theme { Yrke = 1, Musik = 2, Sport = 3, Djur = 4 };

std::string_view ThemeName(Theme theme);  // "Yrke", "Musik", "Sport", "Djur"

// The settings each item stands in.
enum class Scene { Town, Stage, Field, Meadow, Pool, Snow, Sea, Underwater, Ice, Pond, Court };

struct Item {
    Theme theme;
    std::string_view name;  // UTF-8; also the name of its folder
    Scene scene;
    int filmPictures;
    int pictureDelay;    // milliseconds for an ordinary film picture
    int firstDelay;      // the film's first picture stays a little longer
    int calloutPicture;  // a picture held longer for its moment (-1: none)
    int calloutDelay;
    void (*draw)(Sketch& sketch);  // draws the item over its scene, 800 × 600 coordinates
};

// The 32 items, indexed by the program's item number: (theme - 1) × 8 + slot.
const std::array<Item, 32>& Items();

// "Djur\\Höna\\": the folder text of the item's record, UTF-8.
std::string FolderText(const Item& item);
std::vector<int16_t> FilmDelays(const Item& item);

}  // namespace make_demo
