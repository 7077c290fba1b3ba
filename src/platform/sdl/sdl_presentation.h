#pragma once

#include <SDL.h>

#include <chrono>
#include <cstdint>
#include <vector>

#include "platform/display_presentation.h"
#include "platform/sdl/frame_log.h"
#include "platform/sdl/letterbox.h"
#include "platform/sdl/presentation_options.h"
#include "platform/sdl/window_surface_picture.h"

namespace platform {

// The display on SDL: one window, created when the program takes the screen, showing the
// 800 x 600 picture scaled to the window with its aspect kept (black bars). Only the parts of a
// frame that changed are uploaded and shown; the pace stays at the display's refresh, or about
// 60 frames a second where there is no vertical sync.
class SdlPresentation : public DisplayPresentation {
  public:
    explicit SdlPresentation(PresentationOptions options);
    ~SdlPresentation() override;
    SdlPresentation(const SdlPresentation&) = delete;
    SdlPresentation& operator=(const SdlPresentation&) = delete;

    void SetCooperativeLevel(int32_t flags) override;
    void SetDisplayMode(int32_t width, int32_t height, int32_t bitsPerPixel, int32_t refreshRate,
                        int32_t flags) override;
    void RestoreDisplayMode() override;
    void Present(const uint16_t* pixels, int32_t width, int32_t height,
                 int32_t pitchPixels) override;
    // Keeps the picture on screen and only keeps the pace, unless the window lost its content.
    void PresentUnchanged(const uint16_t* pixels, int32_t width, int32_t height,
                          int32_t pitchPixels) override;
    // Uploads and shows only the changed rectangles while the window keeps the last picture.
    void PresentChanged(const uint16_t* pixels, int32_t width, int32_t height, int32_t pitchPixels,
                        const std::vector<Rect>& changed) override;
    int32_t TestCooperativeLevel() override;
    void RestoreAllSurfaces() override;

    // For the window system: the window (null before the screen is taken or after it is given
    // back), and the picture's size.
    SDL_Window* Window() const { return window_; }
    int32_t PictureWidth() const { return modeWidth_; }
    int32_t PictureHeight() const { return modeHeight_; }
    bool IsSoftware() const { return software_; }
    // Whether the software path holds a copy of the picture to scale (only while it is scaled).
    bool HoldsScaledCopy() const { return surfacePicture_.HoldsScaledCopy(); }
    FrameLog& Log() { return log_; }
    // Frames handed over, and of those actually presented (the rest had nothing changed).
    long HandedOverFrames() const { return handedOver_; }
    long PresentedFrames() const { return presented_; }

    // Where the picture lies in the window, in window coordinates (those of mouse events).
    Letterbox WindowBox() const;
    // The picture pixel under a window position (the nearest one on a bar), and back.
    Point PictureFromWindow(int32_t windowX, int32_t windowY) const;
    Point WindowFromPicture(int32_t x, int32_t y) const;

    // The window's content is gone (exposed, resized, render device reset): the next frame is
    // presented even when it equals the last one.
    void Invalidate();
    // The accelerated renderer lost its textures.
    void OnRenderReset();

  private:
    // The window, and on the accelerated path its renderer; the software path draws through
    // the window's own surface, where the display has no graphics hardware or the choice says so.
    void OpenWindow();
    // The window's icon from the options, where they give one; a window without is no failure.
    void SetIcon();
    bool TryCreateRenderer();
    // Makes ready to take the picture at the display mode's size: it is shown whole next.
    void PreparePicture();
    void CreateTexture();
    void DestroyWindow();
    void ApplyGrab();
    void Pace(bool presented);
    // Accelerated path: converts the rectangles of the frame into the texture.
    void Upload(const uint16_t* pixels, int32_t pitchPixels, const std::vector<Rect>& rects);

    PresentationOptions options_;
    FrameLog log_;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    WindowSurfacePicture surfacePicture_;
    bool exclusive_ = false;
    bool fullScreen_ = false;
    bool software_ = false;
    bool vsync_ = false;
    int32_t modeWidth_ = 800;
    int32_t modeHeight_ = 600;
    bool onScreen_ = false;  // the window shows the last frame handed over
    std::chrono::steady_clock::time_point nextTick_{};
    std::chrono::steady_clock::time_point lastPresent_{};
    int fastPresents_ = 0;
    long handedOver_ = 0;
    long presented_ = 0;
};

}  // namespace platform
