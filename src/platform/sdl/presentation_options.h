#pragma once

namespace platform {

enum class RendererChoice { Automatic, Software, Accelerated };

struct PresentationOptions {
    bool windowed = false;  // an 800 x 600 window instead of the whole screen
    // Automatic: the accelerated renderer where there is graphics hardware, else the window's
    // framebuffer drawn in software.
    RendererChoice renderer = RendererChoice::Automatic;
};

}  // namespace platform
