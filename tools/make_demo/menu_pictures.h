#pragma once

#include "item_catalog.h"
#include "pack_writer.h"

namespace make_demo {

// The main menu: background, stop note and the four quadrant highlights.
void WriteMainMenuPictures(PackWriter& pack);

// One theme's sub-menu background, its eight cell highlights and its "not now" picture.
void WriteSubMenuPictures(PackWriter& pack, Theme theme);

}  // namespace make_demo
