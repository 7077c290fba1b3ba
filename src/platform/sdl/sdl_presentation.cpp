#include "platform/sdl/sdl_presentation.h"

#include <cerrno>
#include <ctime>
#include <string>

#include "base/system_failure.h"
#include "platform/sdl/display_probe.h"
#include "platform/sdl/pixel_conversion.h"
#include "platform/sdl/sdl_failure.h"

namespace platform {

namespace {

constexpr std::chrono::nanoseconds kFramePeriod{16'666'667};
// Presents that follow each other faster than this cannot have waited for a refresh.
constexpr std::chrono::milliseconds kNoVsyncInterval{4};
constexpr int kNoVsyncEvidence = 30;

// One sleep to an absolute time on the steady clock (CLOCK_MONOTONIC), however often a signal
// interrupts it.
void SleepUntil(std::chrono::steady_clock::time_point deadline) {
    const auto since =
        std::chrono::duration_cast<std::chrono::nanoseconds>(deadline.time_since_epoch()).count();
    timespec at{};
    at.tv_sec = static_cast<time_t>(since / 1'000'000'000);
    at.tv_nsec = static_cast<long>(since % 1'000'000'000);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) == EINTR) {
    }
}

}  // namespace

SdlPresentation::SdlPresentation(PresentationOptions options) : options_(options) {}

SdlPresentation::~SdlPresentation() {
    log_.Frames(handedOver_, presented_);
    DestroyWindow();
}

void SdlPresentation::SetCooperativeLevel(int32_t flags) {
    constexpr int32_t kFullScreen = 1;
    constexpr int32_t kExclusive = 16;
    exclusive_ = (flags & kFullScreen) != 0 && (flags & kExclusive) != 0;
    ApplyGrab();
}

void SdlPresentation::SetDisplayMode(int32_t width, int32_t height, int32_t bitsPerPixel,
                                     int32_t /*refreshRate*/, int32_t /*flags*/) {
    if (width <= 0 || height <= 0 || bitsPerPixel != 16) {
        Fail("the display mode " + std::to_string(width) + " x " + std::to_string(height) + " x " +
             std::to_string(bitsPerPixel) + " cannot be set");
    }
    modeWidth_ = width;
    modeHeight_ = height;
    if (window_ == nullptr) {
        OpenWindow();
    } else {
        PreparePicture();
    }
    ApplyGrab();
}

void SdlPresentation::OpenWindow() {
    bool software = options_.renderer == RendererChoice::Software ||
                    (options_.renderer == RendererChoice::Automatic && !HasHardwareRendering());
    for (;;) {
        // Drawing through the window's own framebuffer in software, never through software GL.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, software ? "0" : "1");
        SDL_Rect bounds{SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, modeWidth_, modeHeight_};
        Uint32 flags = SDL_WINDOW_HIDDEN;
        if (options_.windowed) {
            flags |= SDL_WINDOW_RESIZABLE;
        } else {
            // At the desktop's own place and size: on a display without a window manager this
            // is all the full screen there is.
            if (SDL_GetDisplayBounds(0, &bounds) != 0) {
                FailSdl("the desktop size is unknown");
            }
            flags |= SDL_WINDOW_BORDERLESS;
        }
        window_ = SDL_CreateWindow("Quillowbee", bounds.x, bounds.y, bounds.w, bounds.h, flags);
        if (window_ == nullptr) {
            FailSdl("the window cannot be created");
        }
        SetIcon();
        if (software) {
            break;  // drawn through the window's own surface, with no renderer
        }
        if (TryCreateRenderer() &&
            (options_.renderer != RendererChoice::Automatic || !RunsOnSoftwareGl(renderer_))) {
            break;
        }
        DestroyWindow();
        software = true;
    }
    software_ = software;
    if (software_) {
        vsync_ = false;  // paced by the clock
    }

    PreparePicture();
    fullScreen_ = !options_.windowed;
    if (fullScreen_ && HasWindowManager(window_) &&
        SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
        FailSdl("the window cannot take the whole screen");
    }
    SDL_ShowWindow(window_);
    SDL_RaiseWindow(window_);
    if (software_) {
        surfacePicture_.ShowBlack(window_);
    } else {
        SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
        SDL_RenderClear(renderer_);
        SDL_RenderPresent(renderer_);
    }
    nextTick_ = std::chrono::steady_clock::now() + kFramePeriod;
    log_.Milestone("window");
}

void SdlPresentation::SetIcon() {
    const WindowIcon& icon = options_.icon;
    if (icon.argb == nullptr) {
        return;
    }
    // SDL copies the pixels; the surface only lends them.
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<uint32_t*>(icon.argb), icon.width, icon.height, 32, icon.width * 4,
        SDL_PIXELFORMAT_ARGB8888);
    if (surface != nullptr) {
        SDL_SetWindowIcon(window_, surface);
        SDL_FreeSurface(surface);
    }
}

bool SdlPresentation::TryCreateRenderer() {
    renderer_ =
        SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (renderer_ == nullptr) {
        return false;
    }
    SDL_RendererInfo info{};
    SDL_GetRendererInfo(renderer_, &info);
    vsync_ = (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
    fastPresents_ = 0;
    return true;
}

void SdlPresentation::PreparePicture() {
    onScreen_ = false;
    if (software_) {
        surfacePicture_.Release();  // the picture's size may have changed
        return;
    }
    CreateTexture();
}

void SdlPresentation::CreateTexture() {
    if (texture_ != nullptr) {
        SDL_DestroyTexture(texture_);
        texture_ = nullptr;
    }
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    // 32-bit pixels as OpenGL takes them.
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                 modeWidth_, modeHeight_);
    if (texture_ == nullptr) {
        FailSdl("the picture texture cannot be created");
    }
    // The picture is opaque: copied as it is, never blended over what the window held.
    SDL_SetTextureBlendMode(texture_, SDL_BLENDMODE_NONE);
    onScreen_ = false;
}

void SdlPresentation::DestroyWindow() {
    surfacePicture_.Release();
    if (texture_ != nullptr) {
        SDL_DestroyTexture(texture_);
        texture_ = nullptr;
    }
    if (renderer_ != nullptr) {
        SDL_DestroyRenderer(renderer_);
        renderer_ = nullptr;
    }
    if (window_ != nullptr) {
        SDL_DestroyWindow(window_);
        window_ = nullptr;
    }
    onScreen_ = false;
}

void SdlPresentation::ApplyGrab() {
    if (window_ != nullptr) {
        // Keeps a child's pointer from wandering onto a second monitor.
        SDL_SetWindowGrab(window_, fullScreen_ && exclusive_ ? SDL_TRUE : SDL_FALSE);
    }
}

void SdlPresentation::RestoreDisplayMode() {
    DestroyWindow();
    fullScreen_ = false;
}

void SdlPresentation::Present(const uint16_t* pixels, int32_t width, int32_t height,
                              int32_t pitchPixels) {
    PresentChanged(pixels, width, height, pitchPixels, {{0, 0, width, height}});
}

void SdlPresentation::PresentUnchanged(const uint16_t* pixels, int32_t width, int32_t height,
                                       int32_t pitchPixels) {
    PresentChanged(pixels, width, height, pitchPixels, {});
}

void SdlPresentation::PresentChanged(const uint16_t* pixels, int32_t width, int32_t height,
                                     int32_t pitchPixels, const std::vector<Rect>& changed) {
    ++handedOver_;
    if (window_ == nullptr) {
        Fail("a frame was shown before the display mode was set");
    }
    if (width != modeWidth_ || height != modeHeight_) {
        Fail("a frame of " + std::to_string(width) + " x " + std::to_string(height) +
             " does not fit the display mode");
    }
    if (!software_ && texture_ == nullptr) {
        CreateTexture();
    }
    // A window that lost its picture gets all of it.
    const bool whole = !onScreen_;
    const std::vector<Rect> all{{0, 0, width, height}};
    const std::vector<Rect>& rects = whole ? all : changed;
    if (rects.empty()) {
        Pace(false);
        return;
    }
    onScreen_ = false;
    if (software_) {
        surfacePicture_.Show(window_, pixels, width, height, pitchPixels, rects, whole);
    } else {
        Upload(pixels, pitchPixels, rects);
        // An accelerated renderer's back buffer holds nothing after a present: the whole
        // (partly updated) texture is drawn again, and the GPU scales it.
        int outputWidth = 0;
        int outputHeight = 0;
        SDL_GetRendererOutputSize(renderer_, &outputWidth, &outputHeight);
        const Letterbox box = FitPicture(outputWidth, outputHeight, width, height);
        const SDL_Rect target{box.x, box.y, box.width, box.height};
        SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
        SDL_RenderClear(renderer_);
        if (SDL_RenderCopy(renderer_, texture_, nullptr, &target) != 0) {
            FailSdl("the picture cannot be drawn");
        }
        SDL_RenderPresent(renderer_);
    }
    onScreen_ = true;
    if (++presented_ == 1) {
        log_.Milestone("first-frame");
    }
    Pace(true);
}

void SdlPresentation::Upload(const uint16_t* pixels, int32_t pitchPixels,
                             const std::vector<Rect>& rects) {
    for (const Rect& r : rects) {
        const SDL_Rect area{r.left, r.top, r.right - r.left, r.bottom - r.top};
        void* texels = nullptr;
        int texturePitch = 0;
        if (SDL_LockTexture(texture_, &area, &texels, &texturePitch) != 0) {
            FailSdl("the picture cannot be uploaded");
        }
        for (int32_t y = r.top; y < r.bottom; ++y) {
            Rgb565ToArgb8888(
                pixels + static_cast<size_t>(y) * pitchPixels + r.left,
                reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(texels) +
                                            static_cast<size_t>(y - r.top) * texturePitch),
                area.w);
        }
        SDL_UnlockTexture(texture_);
    }
}

void SdlPresentation::Pace(bool presented) {
    const auto now = std::chrono::steady_clock::now();
    if (presented && vsync_) {
        // The present waited for the refresh; a renderer that claims vsync but does not wait
        // (some virtual displays) is found out and paced like the rest.
        if (now - lastPresent_ < kNoVsyncInterval && ++fastPresents_ >= kNoVsyncEvidence) {
            vsync_ = false;
        }
        lastPresent_ = now;
        nextTick_ = now + kFramePeriod;
        return;
    }
    lastPresent_ = {};
    if (now < nextTick_) {
        SleepUntil(nextTick_);
        nextTick_ += kFramePeriod;
    } else {
        nextTick_ = now + kFramePeriod;
    }
}

int32_t SdlPresentation::TestCooperativeLevel() {
    if (window_ == nullptr) {
        return 0;
    }
    const Uint32 flags = SDL_GetWindowFlags(window_);
    return (flags & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) != 0 ? 1 : 0;
}

void SdlPresentation::RestoreAllSurfaces() {
    if (renderer_ != nullptr && texture_ == nullptr) {
        CreateTexture();
    }
    Invalidate();
    if (window_ != nullptr) {
        // Back on screen, the keys belong to the program again; without a window manager
        // nobody else gives the focus back.
        SDL_RaiseWindow(window_);
        SDL_SetWindowInputFocus(window_);
    }
}

Letterbox SdlPresentation::WindowBox() const {
    int width = 0;
    int height = 0;
    if (window_ != nullptr) {
        SDL_GetWindowSize(window_, &width, &height);
    }
    if (width <= 0 || height <= 0) {
        return {0, 0, modeWidth_, modeHeight_};
    }
    return FitPicture(width, height, modeWidth_, modeHeight_);
}

Point SdlPresentation::PictureFromWindow(int32_t windowX, int32_t windowY) const {
    return platform::PictureFromWindow(WindowBox(), modeWidth_, modeHeight_, windowX, windowY);
}

Point SdlPresentation::WindowFromPicture(int32_t x, int32_t y) const {
    return platform::WindowFromPicture(WindowBox(), modeWidth_, modeHeight_, x, y);
}

void SdlPresentation::Invalidate() {
    onScreen_ = false;
}

void SdlPresentation::OnRenderReset() {
    if (texture_ != nullptr) {
        SDL_DestroyTexture(texture_);
        texture_ = nullptr;
    }
    onScreen_ = false;
}

}  // namespace platform
