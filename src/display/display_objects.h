#pragma once

#include <memory>

#include "display/display_device.h"

// The display objects, one each for the whole run.
namespace GameUtil {

extern std::unique_ptr<DisplayDevice> displayDevice;
extern std::unique_ptr<Surface> primarySurface;
extern Surface* backBuffer;

// Creates the display device on the installed platform, if there is none, without touching the
// screen: pictures may be read into its memory before the screen is taken.
void CreateDisplayDevice();

// Takes the screen: creates the display device if need be, asks for exclusive full screen and
// 800 x 600 x 16, and creates the primary surface with its back buffer.
void TakeTheScreen();

// True when the display device can be used (TestCooperativeLevel returns 0).
bool IsDisplayReady();

// Drops the display objects (the back buffer first).
void DropDisplayObjects();

}  // namespace GameUtil
