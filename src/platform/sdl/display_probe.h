#pragma once

#include <SDL.h>

namespace platform {

// Whether the accelerated renderer can be expected to run on graphics hardware: not on SDL's
// offscreen or dummy drivers, not when software GL is forced, not without a usable render node
// under /dev/dri.
bool HasHardwareRendering();

// Whether an OpenGL renderer that was created runs on a software rasteriser after all
// (llvmpipe, softpipe), as on virtual displays.
bool RunsOnSoftwareGl(SDL_Renderer* renderer);

// Whether a window manager looks after the window's display. Without one (a bare X server),
// asking for full screen only makes SDL wait for an answer that never comes.
bool HasWindowManager(SDL_Window* window);

}  // namespace platform
