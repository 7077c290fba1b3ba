#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "make_demo/canvas.h"
#include "make_demo/item_catalog.h"

namespace kit {

// The menu pictures an item appears in, as JPEG bytes.
struct MenuPictures {
    std::string subMenu;  // the theme's sub-menu background with the item's cell
    std::string note;     // the theme's "not now" picture with the item's cell faded
    std::string button;   // the item's cell under the pointer, 195 × 260
};

// Draws the item's cell, in the style of every other cell, at `position` (0..7) into the
// theme's sub-menu background and note picture (the old JPEG files; when one is missing a plain
// picture in the theme's colours stands in) and makes its button picture from it.
MenuPictures DrawMenuPictures(const std::optional<std::string>& subMenu,
                              const std::optional<std::string>& note, make_demo::Theme theme,
                              int position, std::string_view nameUtf8,
                              const make_demo::Canvas& work);

// Where the choices screen's item page shows the small picture of item `position` (0..7) of
// `theme`: the box a cross covers when the item is switched off.
struct PageBox {
    int x, y;
};
inline constexpr int kPageBoxWidth = 51, kPageBoxHeight = 54;
PageBox ItemPageBox(make_demo::Theme theme, int position);

// The item page (the old 800 × 600 JPEG file) with the item's small picture drawn from `work`.
std::string DrawItemPage(const std::string& itemPage, make_demo::Theme theme, int position,
                         const make_demo::Canvas& work);
// The item's box of `from` copied into `into`, both item pages.
std::string CopyItemPageBox(const std::string& into, const std::string& from,
                            make_demo::Theme theme, int position);

// The cell at `position` of `from` copied into `into`; both are 800 × 600 JPEG files. Brings an
// old cell back without touching the others.
std::string CopyCell(const std::string& into, const std::string& from, int position);

// A JPEG file decoded and stretched to width × height, as the program shows it.
make_demo::Canvas DecodeJpegTo(const std::string& jpeg, int width, int height);

}  // namespace kit
