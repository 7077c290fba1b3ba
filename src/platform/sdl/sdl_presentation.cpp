#include "platform/sdl/sdl_presentation.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <string>

#include "base/system_failure.h"
#include "platform/sdl/display_probe.h"
#include "platform/sdl/pixel_conversion.h"

namespace platform {

namespace {

constexpr std::chrono::nanoseconds kFramePeriod{16'666'667};
// Presents that follow each other faster than this cannot have waited for a refresh.
constexpr std::chrono::milliseconds kNoVsyncInterval{4};
constexpr int kNoVsyncEvidence = 30;

[[noreturn]] void FailSdl(const std::string& what) {
    Fail(what + ": " + SDL_GetError());
}

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
        CreateWindowAndRenderer();
    } else {
        CreateTexture();
    }
    ApplyGrab();
}

void SdlPresentation::CreateWindowAndRenderer() {
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
        if (TryCreateRenderer(software)) {
            if (software || options_.renderer != RendererChoice::Automatic ||
                !RunsOnSoftwareGl(renderer_)) {
                break;
            }
        } else if (software) {
            FailSdl("no renderer can draw in the window");
        }
        DestroyWindow();
        software = true;
    }
    software_ = software;

    CreateTexture();
    fullScreen_ = !options_.windowed;
    if (fullScreen_ && HasWindowManager(window_) &&
        SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
        FailSdl("the window cannot take the whole screen");
    }
    SDL_ShowWindow(window_);
    SDL_RaiseWindow(window_);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderPresent(renderer_);
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

bool SdlPresentation::TryCreateRenderer(bool software) {
    const Uint32 flags =
        software ? SDL_RENDERER_SOFTWARE : SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC;
    renderer_ = SDL_CreateRenderer(window_, -1, flags);
    if (renderer_ == nullptr) {
        return false;
    }
    SDL_RendererInfo info{};
    SDL_GetRendererInfo(renderer_, &info);
    vsync_ = !software && (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
    fastPresents_ = 0;
    return true;
}

void SdlPresentation::CreateTexture() {
    if (texture_ != nullptr) {
        SDL_DestroyTexture(texture_);
        texture_ = nullptr;
    }
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    // 32-bit pixels in the window's own order where it has one: the software renderer then
    // scales without converting, and OpenGL takes them as they are.
    Uint32 format = SDL_PIXELFORMAT_ARGB8888;
    if (software_ && SDL_GetWindowPixelFormat(window_) == SDL_PIXELFORMAT_RGB888) {
        format = SDL_PIXELFORMAT_RGB888;
    }
    texture_ =
        SDL_CreateTexture(renderer_, format, SDL_TEXTUREACCESS_STREAMING, modeWidth_, modeHeight_);
    if (texture_ == nullptr) {
        FailSdl("the picture texture cannot be created");
    }
    shown_.clear();
}

void SdlPresentation::DestroyWindow() {
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
    shown_.clear();
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
    ++handedOver_;
    if (renderer_ == nullptr) {
        Fail("a frame was shown before the display mode was set");
    }
    if (width != modeWidth_ || height != modeHeight_) {
        Fail("a frame of " + std::to_string(width) + " x " + std::to_string(height) +
             " does not fit the display mode");
    }
    const size_t rowBytes = static_cast<size_t>(width) * sizeof(uint16_t);
    bool same = shown_.size() == static_cast<size_t>(width) * height;
    for (int32_t y = 0; same && y < height; ++y) {
        same = std::memcmp(shown_.data() + static_cast<size_t>(y) * width,
                           pixels + static_cast<size_t>(y) * pitchPixels, rowBytes) == 0;
    }
    if (!same) {
        if (texture_ == nullptr) {
            CreateTexture();
        }
        void* texels = nullptr;
        int texturePitch = 0;
        if (SDL_LockTexture(texture_, nullptr, &texels, &texturePitch) != 0) {
            FailSdl("the picture cannot be uploaded");
        }
        shown_.resize(static_cast<size_t>(width) * height);
        for (int32_t y = 0; y < height; ++y) {
            uint16_t* row = shown_.data() + static_cast<size_t>(y) * width;
            std::memcpy(row, pixels + static_cast<size_t>(y) * pitchPixels, rowBytes);
            Rgb565ToArgb8888(row,
                             reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(texels) +
                                                         static_cast<size_t>(y) * texturePitch),
                             width);
        }
        SDL_UnlockTexture(texture_);
        int outputWidth = 0;
        int outputHeight = 0;
        SDL_GetRendererOutputSize(renderer_, &outputWidth, &outputHeight);
        const Letterbox box = FitPicture(outputWidth, outputHeight, width, height);
        const SDL_Rect target{box.x, box.y, box.width, box.height};
        SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
        SDL_RenderClear(renderer_);
        if (SDL_RenderCopy(renderer_, texture_, nullptr, &target) != 0) {
            shown_.clear();
            FailSdl("the picture cannot be drawn");
        }
        SDL_RenderPresent(renderer_);
        if (++presented_ == 1) {
            log_.Milestone("first-frame");
        }
    }
    Pace(!same);
}

void SdlPresentation::PresentUnchanged(const uint16_t* pixels, int32_t width, int32_t height,
                                       int32_t pitchPixels) {
    if (shown_.empty() || texture_ == nullptr || width != modeWidth_ || height != modeHeight_) {
        Present(pixels, width, height, pitchPixels);
        return;
    }
    ++handedOver_;
    Pace(false);
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
    shown_.clear();
}

void SdlPresentation::OnRenderReset() {
    if (texture_ != nullptr) {
        SDL_DestroyTexture(texture_);
        texture_ = nullptr;
    }
    shown_.clear();
}

}  // namespace platform
