#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

#include "base/rect.h"

namespace platform {

// The software path's picture: drawn straight into the window's own surface, which keeps it
// between frames, so that only the changed rectangles are drawn and sent to the display. Where
// the window shows the picture at its own size the RGB565 pixels are converted into the window's
// pixels directly; only while it is scaled is a 32-bit copy of the picture kept for SDL to scale
// from. The window must have no renderer: SDL draws a window through one or the other.
class WindowSurfacePicture {
  public:
    WindowSurfacePicture() = default;
    ~WindowSurfacePicture();
    WindowSurfacePicture(const WindowSurfacePicture&) = delete;
    WindowSurfacePicture& operator=(const WindowSurfacePicture&) = delete;

    // Shows the rectangles of a `width` x `height` picture, all of it with black bars around when
    // `whole` or when the window's surface is not the one that holds the last picture (the
    // window was resized, or SDL changed buffers). Fails when the window has no surface.
    void Show(SDL_Window* window, const uint16_t* pixels, int32_t width, int32_t height,
              int32_t pitchPixels, const std::vector<Rect>& rects, bool whole);
    // Fills the window black.
    void ShowBlack(SDL_Window* window);
    // Forgets the window's surface and frees the scaled copy (the window goes, or the picture's
    // size changes).
    void Release();
    // Whether a copy of the picture is held for scaling: only while the window scales it.
    bool HoldsScaledCopy() const { return scaled_ != nullptr; }

  private:
    SDL_Surface* WindowSurface(SDL_Window* window, bool& whole);
    // The scaled copy for a window surface, made anew (whole: true) when there is none that fits.
    void PrepareScaledCopy(const SDL_Surface* surface, int32_t width, int32_t height, bool& whole);
    void FreeScaledCopy();
    // Scales the parts of the copy that cover the rectangles into the window box; returns the
    // window rectangles to send to the display.
    std::vector<SDL_Rect> Stretch(SDL_Surface* surface, const SDL_Rect& box,
                                  const std::vector<Rect>& rects, bool whole);

    SDL_Surface* scaled_ = nullptr;
    // The window surface that holds the last picture, as it was then.
    const SDL_Surface* surface_ = nullptr;
    const void* surfacePixels_ = nullptr;
    int surfaceWidth_ = 0;
    int surfaceHeight_ = 0;
    Uint32 surfaceFormat_ = 0;
};

}  // namespace platform
