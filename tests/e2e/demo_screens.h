#pragma once

#include <vector>

#include "screen_image.h"

namespace e2e {

// What the program should show on the demo content, put together from the content's own
// pictures the way the program lays them out (in 800 x 600 picture coordinates).

// The main menu with quadrant 0-3 highlighted (0 top left, 1 top right, 2 bottom left,
// 3 bottom right), with the stop note when the exit is locked.
Image MainMenu(int quadrant, bool exitLocked = false);

// The sub-menu of theme 1-4 (Yrke, Musik, Sport, Djur) with the cell of slot 0-7 highlighted,
// and the cells of the hidden slots covered by their note.
Image SubMenu(int theme, int slot, const std::vector<int>& hiddenSlots = {});

// Choices page 0 (information), 2 (items) or 3 (build-up) with the marks of the settings a
// fresh start has; the other pages carry text that no file holds.
Image ChoicesPage(int page);

// The hen's (the first animal's) complex picture series "Byggupp" or "Film".
std::vector<Image> HenSeries(const char* folder);

}  // namespace e2e
