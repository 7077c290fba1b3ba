#pragma once

#include <filesystem>

namespace make_demo {

// The program's icon, the bee of the menus on a round patch of sky, written to `folder` as
// icon.svg, icon-48.png, icon-64.png, icon-128.png and icon-256.png for the desktop's icon
// theme, and as window_icon_pixels.inc: the 64 x 64 pixels as 0xAARRGGBB words (straight
// alpha) for the program's window, one C++ initialiser list.
void WriteIcons(const std::filesystem::path& folder);

}  // namespace make_demo
