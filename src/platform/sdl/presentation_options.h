#pragma once

#include <cstdint>

namespace platform {

enum class RendererChoice { Automatic, Software, Accelerated };

// A picture for the window's icon: straight (not premultiplied) 0xAARRGGBB words, rows from the
// top.
struct WindowIcon {
    int32_t width = 0;
    int32_t height = 0;
    const uint32_t* argb = nullptr;
};

struct PresentationOptions {
    bool windowed = false;  // an 800 x 600 window instead of the whole screen
    // Automatic: the accelerated renderer where there is graphics hardware, else the window's
    // framebuffer drawn in software.
    RendererChoice renderer = RendererChoice::Automatic;
    // The window's class (X11) and application id (Wayland), which desktops match against the
    // desktop entry's StartupWMClass and name; nullptr leaves SDL's default.
    const char* windowClass = nullptr;
    WindowIcon icon;  // none when argb is nullptr
};

}  // namespace platform
