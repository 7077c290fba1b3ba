#pragma once

#include "platform/sdl/presentation_options.h"

// The program's icon for its window, drawn by the demo generator at build time (the same
// drawing as the icons of the desktop entry).
platform::WindowIcon QuillowbeeWindowIcon();
