#pragma once

#include <cstdint>
#include <vector>

#include "base/rect.h"

namespace platform {

// Where the finished 800 x 600 RGB565 back buffer goes: the monitor, scaled with its aspect kept,
// or a recording in tests. Stands in for the exclusive full-screen display mode.
class DisplayPresentation {
  public:
    virtual ~DisplayPresentation() = default;

    // 81: full screen, exclusive; 8: normal (the desktop back). A refusal throws SystemFailure.
    virtual void SetCooperativeLevel(int32_t flags) = 0;
    // Takes the screen at width x height x bitsPerPixel; a refusal throws SystemFailure.
    virtual void SetDisplayMode(int32_t width, int32_t height, int32_t bitsPerPixel,
                                int32_t refreshRate, int32_t flags) = 0;
    virtual void RestoreDisplayMode() = 0;
    // Shows one frame and returns when the display accepted it (vertical sync, or paced to about
    // 60 frames a second where there is none).
    virtual void Present(const uint16_t* pixels, int32_t width, int32_t height,
                         int32_t pitchPixels) = 0;
    // The same, for a frame known to equal the last one handed over: a presentation that keeps
    // that frame need not look at the pixels again.
    virtual void PresentUnchanged(const uint16_t* pixels, int32_t width, int32_t height,
                                  int32_t pitchPixels) {
        Present(pixels, width, height, pitchPixels);
    }
    // The same, for a frame of which only the `changed` rectangles differ from the one handed
    // over before: a presentation that keeps that frame updates only those (none: unchanged).
    virtual void PresentChanged(const uint16_t* pixels, int32_t width, int32_t height,
                                int32_t pitchPixels, const std::vector<Rect>& changed) {
        if (changed.empty()) {
            PresentUnchanged(pixels, width, height, pitchPixels);
        } else {
            Present(pixels, width, height, pitchPixels);
        }
    }
    // 0 while the display can be used, nonzero while it is lost (window minimised or hidden).
    virtual int32_t TestCooperativeLevel() = 0;
    virtual void RestoreAllSurfaces() = 0;
};

}  // namespace platform
