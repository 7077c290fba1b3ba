#include "platform/sdl/sdl_presentation.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <numeric>
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

struct Span {
    int32_t from;
    int32_t to;
};

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

// A part [from, to) of a picture line of `picture` pixels shown as `shown` window pixels,
// widened so that it is drawn as the whole picture draws it: scaled, by the picture pixel on
// either side (a blended window pixel also shows the picture pixels beside its own), then to where
// a picture pixel's edge meets a window pixel's edge. Only the outermost window pixels of the
// widened part, which show no change, may blend a shade differently.
Span ScaledSpan(int32_t from, int32_t to, int32_t picture, int32_t shown) {
    if (picture == shown) {
        return {from, to};
    }
    const int32_t step = picture / std::gcd(picture, shown);
    return {std::max((from - 1) / step * step, 0), std::min((to + step) / step * step, picture)};
}

// SDL's software scaler steps through the picture in 16-bit fixed point: a part drawn alone lands
// on the same positions as in the whole picture only when that step is exact.
bool ExactScale(int32_t picture, int32_t shown) {
    return picture == shown || (int64_t{picture} << 16) % shown == 0;
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
    // The picture is opaque: copied as it is, never blended over what the window held.
    SDL_SetTextureBlendMode(texture_, SDL_BLENDMODE_NONE);
    onScreen_ = false;
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
    if (renderer_ == nullptr) {
        Fail("a frame was shown before the display mode was set");
    }
    if (width != modeWidth_ || height != modeHeight_) {
        Fail("a frame of " + std::to_string(width) + " x " + std::to_string(height) +
             " does not fit the display mode");
    }
    if (texture_ == nullptr) {
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
    Upload(pixels, pitchPixels, rects);
    int outputWidth = 0;
    int outputHeight = 0;
    SDL_GetRendererOutputSize(renderer_, &outputWidth, &outputHeight);
    const Letterbox box = FitPicture(outputWidth, outputHeight, width, height);
    if (software_ && !whole) {
        ShowOnWindowSurface(box, rects);
    } else {
        // An accelerated renderer's back buffer holds nothing after a present: the whole
        // (partly updated) texture is drawn again, and the GPU scales it.
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

void SdlPresentation::ShowOnWindowSurface(const Letterbox& box, const std::vector<Rect>& rects) {
    // The window's own surface keeps the picture: only the changed parts are sent to the display.
    // They alone are drawn into it where SDL scales a part exactly as it scales the whole picture
    // (unscaled, or a scale its fixed-point step holds without rounding, such as 800 to 1024);
    // elsewhere the whole picture is drawn again.
    const bool partsAlone =
        ExactScale(modeWidth_, box.width) && ExactScale(modeHeight_, box.height);
    std::vector<SDL_Rect> targets;
    targets.reserve(rects.size());
    for (const Rect& r : rects) {
        const Span x = ScaledSpan(r.left, r.right, modeWidth_, box.width);
        const Span y = ScaledSpan(r.top, r.bottom, modeHeight_, box.height);
        const SDL_Rect source{x.from, y.from, x.to - x.from, y.to - y.from};
        const auto shown = [](int32_t at, int32_t picture, int32_t size) {
            return static_cast<int32_t>(int64_t{at} * size / picture);
        };
        const int32_t left = box.x + shown(x.from, modeWidth_, box.width);
        const int32_t top = box.y + shown(y.from, modeHeight_, box.height);
        targets.push_back({left, top, box.x + shown(x.to, modeWidth_, box.width) - left,
                           box.y + shown(y.to, modeHeight_, box.height) - top});
        if (partsAlone && SDL_RenderCopy(renderer_, texture_, &source, &targets.back()) != 0) {
            FailSdl("the picture cannot be drawn");
        }
    }
    const SDL_Rect all{box.x, box.y, box.width, box.height};
    if (!partsAlone && SDL_RenderCopy(renderer_, texture_, nullptr, &all) != 0) {
        FailSdl("the picture cannot be drawn");
    }
    if (SDL_RenderFlush(renderer_) != 0 ||
        SDL_UpdateWindowSurfaceRects(window_, targets.data(), static_cast<int>(targets.size())) !=
            0) {
        FailSdl("the picture cannot be shown");
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
