#pragma once

#include <memory>

#include "display/display_device.h"

// The display objects, one each for the whole run.
namespace GameUtil {

extern std::unique_ptr<DisplayDevice> displayDevice;
extern std::unique_ptr<Surface> primarySurface;
extern Surface* backBuffer;

// Takes the screen: creates the display device on the installed platform, asks for exclusive
// full screen and 800 x 600 x 16, and creates the primary surface with its back buffer.
void TakeTheScreen();

// True when the display device can be used (TestCooperativeLevel returns 0).
bool IsDisplayReady();

// Drops the display objects (the back buffer first).
void DropDisplayObjects();

}  // namespace GameUtil
