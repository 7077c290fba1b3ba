#include "platform/sdl/window_surface_picture.h"

#include <algorithm>
#include <numeric>
#include <string>

#include "base/system_failure.h"
#include "platform/sdl/letterbox.h"
#include "platform/sdl/pixel_conversion.h"
#include "platform/sdl/sdl_failure.h"

namespace platform {

namespace {

struct Span {
    int32_t from;
    int32_t to;
};

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

// Where picture position `at` lies on a line shown `size` window pixels long.
int32_t Shown(int32_t at, int32_t picture, int32_t size) {
    return static_cast<int32_t>(int64_t{at} * size / picture);
}

// More changed parts than this are not scaled one by one: the whole picture is.
constexpr size_t kMostPartsAlone = 64;

// The rectangles widened as ScaledSpan widens them, in picture pixels.
std::vector<Rect> WidenedParts(const std::vector<Rect>& rects, int32_t width, int32_t height,
                               const SDL_Rect& box) {
    std::vector<Rect> parts;
    parts.reserve(rects.size());
    for (const Rect& r : rects) {
        const Span x = ScaledSpan(r.left, r.right, width, box.w);
        const Span y = ScaledSpan(r.top, r.bottom, height, box.h);
        parts.push_back({x.from, y.from, x.to, y.to});
    }
    return parts;
}

// Widened parts that overlap become one, their bounding box, until none overlap: the outermost
// window pixels of a part drawn alone may blend a shade differently, and drawn over another
// part they would spoil pixels that show a change.
void MergeOverlapping(std::vector<Rect>& parts) {
    for (bool merged = true; merged;) {
        merged = false;
        for (size_t i = 0; i < parts.size() && !merged; ++i) {
            for (size_t j = i + 1; j < parts.size(); ++j) {
                Rect& a = parts[i];
                const Rect& b = parts[j];
                if (a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom) {
                    a = {std::min(a.left, b.left), std::min(a.top, b.top),
                         std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
                    parts.erase(parts.begin() + static_cast<std::ptrdiff_t>(j));
                    merged = true;
                    break;
                }
            }
        }
    }
}

// The rectangles' parts inside the picture; empty ones dropped.
std::vector<Rect> Clipped(const std::vector<Rect>& rects, int32_t width, int32_t height) {
    std::vector<Rect> inside;
    inside.reserve(rects.size());
    for (const Rect& r : rects) {
        const Rect c{std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, width),
                     std::min(r.bottom, height)};
        if (c.left < c.right && c.top < c.bottom) {
            inside.push_back(c);
        }
    }
    return inside;
}

// The copy scaled by SDL's bilinear scaler has the window's own format where that is a 32-bit
// one; any other window gets 32 bits with alpha, converted as SDL scales it.
Uint32 ScaledCopyFormat(const SDL_Surface* surface) {
    const SDL_PixelFormat* f = surface->format;
    const bool direct = f->BytesPerPixel == 4 && !SDL_ISPIXELFORMAT_INDEXED(f->format) &&
                        !SDL_ISPIXELFORMAT_FOURCC(f->format) &&
                        f->format != SDL_PIXELFORMAT_ARGB2101010;
    return direct ? f->format : Uint32{SDL_PIXELFORMAT_ARGB8888};
}

// Locks a surface for direct access where SDL asks for it, for as long as it lives.
class SurfaceLock {
  public:
    explicit SurfaceLock(SDL_Surface* surface)
        : surface_(SDL_MUSTLOCK(surface) ? surface : nullptr) {
        if (surface_ != nullptr && SDL_LockSurface(surface_) != 0) {
            FailSdl("the window cannot be drawn in");
        }
    }
    ~SurfaceLock() {
        if (surface_ != nullptr) {
            SDL_UnlockSurface(surface_);
        }
    }
    SurfaceLock(const SurfaceLock&) = delete;
    SurfaceLock& operator=(const SurfaceLock&) = delete;

  private:
    SDL_Surface* surface_;
};

void FillBlack(SDL_Surface* surface, const SDL_Rect& area) {
    if (area.w > 0 && area.h > 0 &&
        SDL_FillRect(surface, &area, SDL_MapRGB(surface->format, 0, 0, 0)) != 0) {
        FailSdl("the window cannot be drawn in");
    }
}

// The window outside the picture's box: up to four black bars.
void FillBars(SDL_Surface* surface, const SDL_Rect& box) {
    const int right = box.x + box.w;
    const int bottom = box.y + box.h;
    FillBlack(surface, {0, 0, surface->w, box.y});
    FillBlack(surface, {0, bottom, surface->w, surface->h - bottom});
    FillBlack(surface, {0, box.y, box.x, box.h});
    FillBlack(surface, {right, box.y, surface->w - right, box.h});
}

}  // namespace

WindowSurfacePicture::~WindowSurfacePicture() {
    FreeScaledCopy();
}

void WindowSurfacePicture::Release() {
    FreeScaledCopy();
    surface_ = nullptr;
    surfacePixels_ = nullptr;
}

void WindowSurfacePicture::FreeScaledCopy() {
    if (scaled_ != nullptr) {
        SDL_FreeSurface(scaled_);
        scaled_ = nullptr;
    }
}

SDL_Surface* WindowSurfacePicture::WindowSurface(SDL_Window* window, bool& whole) {
    // Asked for every frame: SDL frees the surface when the window is resized and makes another.
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    if (surface == nullptr) {
        FailSdl("the window cannot be drawn in");
    }
    if (surface != surface_ || surface->pixels != surfacePixels_ || surface->w != surfaceWidth_ ||
        surface->h != surfaceHeight_ || surface->format->format != surfaceFormat_) {
        whole = true;
        surface_ = surface;
        surfacePixels_ = surface->pixels;
        surfaceWidth_ = surface->w;
        surfaceHeight_ = surface->h;
        surfaceFormat_ = surface->format->format;
    }
    return surface;
}

void WindowSurfacePicture::ShowBlack(SDL_Window* window) {
    bool whole = true;
    SDL_Surface* surface = WindowSurface(window, whole);
    {
        SurfaceLock lock(surface);
        FillBlack(surface, {0, 0, surface->w, surface->h});
    }
    // The window no longer holds a picture.
    surface_ = nullptr;
    if (SDL_UpdateWindowSurface(window) != 0) {
        FailSdl("the picture cannot be shown");
    }
}

void WindowSurfacePicture::PrepareScaledCopy(const SDL_Surface* surface, int32_t width,
                                             int32_t height, bool& whole) {
    const Uint32 format = ScaledCopyFormat(surface);
    if (scaled_ != nullptr && scaled_->w == width && scaled_->h == height &&
        scaled_->format->format == format) {
        return;
    }
    FreeScaledCopy();
    scaled_ = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, format);
    if (scaled_ == nullptr) {
        FailSdl("the picture cannot be scaled");
    }
    // The picture is opaque: copied as it is, never blended over what the window held.
    SDL_SetSurfaceBlendMode(scaled_, SDL_BLENDMODE_NONE);
    whole = true;
}

void WindowSurfacePicture::Show(SDL_Window* window, const uint16_t* pixels, int32_t width,
                                int32_t height, int32_t pitchPixels, const std::vector<Rect>& rects,
                                bool whole) {
    SDL_Surface* surface = WindowSurface(window, whole);
    const Letterbox fit = FitPicture(surface->w, surface->h, width, height);
    const SDL_Rect box{fit.x, fit.y, fit.width, fit.height};
    if (box.w <= 0 || box.h <= 0) {
        ShowBlack(window);  // a window too small for a single pixel of the picture
        return;
    }
    const bool scaled = box.w != width || box.h != height;
    if (scaled) {
        PrepareScaledCopy(surface, width, height, whole);
    } else {
        FreeScaledCopy();
    }
    const std::vector<Rect> parts =
        Clipped(whole ? std::vector<Rect>{{0, 0, width, height}} : rects, width, height);
    if (parts.empty()) {
        return;
    }
    std::vector<SDL_Rect> targets;
    {
        SurfaceLock lock(surface);
        if (whole) {
            FillBars(surface, box);
        }
        SDL_Surface* into = scaled ? scaled_ : surface;
        const int32_t x = scaled ? 0 : box.x;
        const int32_t y = scaled ? 0 : box.y;
        for (const Rect& r : parts) {
            if (!Rgb565ToSurface(pixels, pitchPixels, r, into, x + r.left, y + r.top)) {
                FailSdl("the picture cannot be drawn");
            }
            targets.push_back({x + r.left, y + r.top, r.right - r.left, r.bottom - r.top});
        }
    }
    if (scaled) {
        targets = Stretch(surface, box, parts, whole);
    }
    const int updated = whole ? SDL_UpdateWindowSurface(window)
                              : SDL_UpdateWindowSurfaceRects(window, targets.data(),
                                                             static_cast<int>(targets.size()));
    if (updated != 0) {
        FailSdl("the picture cannot be shown");
    }
}

std::vector<SDL_Rect> WindowSurfacePicture::Stretch(SDL_Surface* surface, const SDL_Rect& box,
                                                    const std::vector<Rect>& rects, bool whole) {
    const int32_t width = scaled_->w;
    const int32_t height = scaled_->h;
    // SDL's bilinear scaler works between surfaces of one 32-bit format; other windows get the
    // nearest pixel, converted, and always the whole picture.
    const bool linear = scaled_->format->format == surface->format->format;
    // Only the changed parts are drawn where SDL scales a part exactly as it scales the whole
    // picture (a scale its fixed-point step holds without rounding, such as 800 to 1024);
    // elsewhere, or for a great many parts, the whole picture is drawn again, and only the
    // changed parts sent to the display.
    const bool partsAlone = !whole && linear && ExactScale(width, box.w) &&
                            ExactScale(height, box.h) && rects.size() <= kMostPartsAlone;
    std::vector<Rect> parts = WidenedParts(rects, width, height, box);
    if (partsAlone) {
        MergeOverlapping(parts);
    }
    std::vector<SDL_Rect> targets;
    targets.reserve(parts.size());
    for (const Rect& part : parts) {
        const int32_t left = box.x + Shown(part.left, width, box.w);
        const int32_t top = box.y + Shown(part.top, height, box.h);
        targets.push_back({left, top, box.x + Shown(part.right, width, box.w) - left,
                           box.y + Shown(part.bottom, height, box.h) - top});
    }
    const auto draw = [&](const SDL_Rect& from, const SDL_Rect& to) {
        SDL_Rect target = to;  // SDL's scaled blit writes back the part it drew
        const int drawn = linear ? SDL_SoftStretchLinear(scaled_, &from, surface, &to)
                                 : SDL_BlitScaled(scaled_, &from, surface, &target);
        if (drawn != 0) {
            FailSdl("the picture cannot be scaled");
        }
    };
    if (partsAlone) {
        for (size_t i = 0; i < parts.size(); ++i) {
            const Rect& p = parts[i];
            draw({p.left, p.top, p.right - p.left, p.bottom - p.top}, targets[i]);
        }
    } else {
        draw({0, 0, width, height}, box);
    }
    return targets;
}

}  // namespace platform
