#pragma once

#include <memory>

#include "shell/display_device.h"

// The display objects, one each for the whole run.
namespace GameUtil {

extern std::unique_ptr<DisplayDevice> displayDevice;
extern std::unique_ptr<Surface> primarySurface;
extern Surface* backBuffer;

// True when the display device can be used (TestCooperativeLevel returns 0).
bool IsDisplayReady();

// Drops the display objects (the back buffer first).
void DropDisplayObjects();

}  // namespace GameUtil
