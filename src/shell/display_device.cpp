#include "shell/display_device.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "shell/system_failure.h"

using namespace DisplayFlags;

uint16_t ColorToPixel(uint32_t color) {
    const uint32_t r = color & 0xFF;
    const uint32_t g = (color >> 8) & 0xFF;
    const uint32_t b = (color >> 16) & 0xFF;
    return static_cast<uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}

namespace {

bool IsInside(const Rect& r, int32_t width, int32_t height) {
    return r.left >= 0 && r.top >= 0 && r.left <= r.right && r.top <= r.bottom &&
           r.right <= width && r.bottom <= height;
}

// Clips a copy of a w x h block from (sx, sy) to (dx, dy) to the destination's bounds. Works in
// 64 bits so that any 32-bit position, however far off the surface, clips without overflow.
struct Span {
    int32_t sx, sy, dx, dy, w, h;
};
bool ClipToDestination(Span& s, int32_t destWidth, int32_t destHeight) {
    int64_t sx = s.sx, sy = s.sy, dx = s.dx, dy = s.dy, w = s.w, h = s.h;
    if (dx < 0) {
        sx -= dx;
        w += dx;
        dx = 0;
    }
    if (dy < 0) {
        sy -= dy;
        h += dy;
        dy = 0;
    }
    w = std::min<int64_t>(w, destWidth - dx);
    h = std::min<int64_t>(h, destHeight - dy);
    if (w <= 0 || h <= 0) {
        return false;
    }
    s = {static_cast<int32_t>(sx), static_cast<int32_t>(sy), static_cast<int32_t>(dx),
         static_cast<int32_t>(dy), static_cast<int32_t>(w),  static_cast<int32_t>(h)};
    return true;
}

uint16_t Blend(uint16_t under, uint16_t over, uint32_t alpha) {
    const uint32_t inv = 255 - alpha;
    const uint32_t r = (((under >> 11) & 31) * inv + ((over >> 11) & 31) * alpha + 127) / 255;
    const uint32_t g = (((under >> 5) & 63) * inv + ((over >> 5) & 63) * alpha + 127) / 255;
    const uint32_t b = ((under & 31) * inv + (over & 31) * alpha + 127) / 255;
    return static_cast<uint16_t>((r << 11) | (g << 5) | b);
}

}  // namespace

Surface::Surface(DisplayDevice& device, int32_t width, int32_t height, int32_t caps)
    : device_(device),
      width_(width),
      height_(height),
      caps_(caps),
      pixels_(static_cast<size_t>(width) * static_cast<size_t>(height), 0) {}

int32_t Surface::BltFast(int32_t x, int32_t y, const Surface* source, const Rect& sourceRect,
                         int32_t flags) {
    if (source == nullptr || !IsInside(sourceRect, source->width_, source->height_)) {
        return kErrorInvalidParams;
    }
    if (device_.TestCooperativeLevel() != 0) {
        return kErrorSurfaceLost;
    }
    Span s{sourceRect.left, sourceRect.top, x, y, sourceRect.right - sourceRect.left,
           sourceRect.bottom - sourceRect.top};
    if (!ClipToDestination(s, width_, height_)) {
        return kOk;
    }
    const bool keyed = (flags & kBltFastSourceColorKey) != 0 && source->colorKey_.has_value();
    for (int32_t row = 0; row < s.h; ++row) {
        const uint16_t* from = source->Row(s.sy + row) + s.sx;
        uint16_t* to = Row(s.dy + row) + s.dx;
        if (!keyed) {
            std::memmove(to, from, static_cast<size_t>(s.w) * sizeof(uint16_t));
            continue;
        }
        const uint16_t key = *source->colorKey_;
        for (int32_t i = 0; i < s.w; ++i) {
            if (from[i] != key) {
                to[i] = from[i];
            }
        }
    }
    return kOk;
}

int32_t Surface::Blt(const Rect& destRect, const Surface* source, const Rect& sourceRect,
                     int32_t /*flags*/) {
    if (source == nullptr || !IsInside(sourceRect, source->width_, source->height_) ||
        destRect.right < destRect.left || destRect.bottom < destRect.top) {
        return kErrorInvalidParams;
    }
    if (device_.TestCooperativeLevel() != 0) {
        return kErrorSurfaceLost;
    }
    const int64_t dw = static_cast<int64_t>(destRect.right) - destRect.left;
    const int64_t dh = static_cast<int64_t>(destRect.bottom) - destRect.top;
    const int32_t sw = sourceRect.right - sourceRect.left;
    const int32_t sh = sourceRect.bottom - sourceRect.top;
    if (dw == sw && dh == sh) {
        return BltFast(destRect.left, destRect.top, source, sourceRect, kBltFastWait);
    }
    if (sw == 0 || sh == 0) {
        return kOk;
    }
    // Nearest-neighbour stretch, only where the destination is visible.
    const int32_t x0 = std::max(destRect.left, 0);
    const int32_t x1 = std::min(destRect.right, width_);
    const int32_t y0 = std::max(destRect.top, 0);
    const int32_t y1 = std::min(destRect.bottom, height_);
    for (int32_t y = y0; y < y1; ++y) {
        const int32_t sy =
            sourceRect.top + static_cast<int32_t>((int64_t{y} - destRect.top) * sh / dh);
        const uint16_t* from = source->Row(sy);
        uint16_t* to = Row(y);
        for (int32_t x = x0; x < x1; ++x) {
            to[x] = from[sourceRect.left +
                         static_cast<int32_t>((int64_t{x} - destRect.left) * sw / dw)];
        }
    }
    return kOk;
}

void Surface::BltColorFill(const Rect& destRect, uint32_t color) {
    const uint16_t pixel = ColorToPixel(color);
    const int32_t x0 = std::max(destRect.left, 0);
    const int32_t x1 = std::min(destRect.right, width_);
    const int32_t y0 = std::max(destRect.top, 0);
    const int32_t y1 = std::min(destRect.bottom, height_);
    if (x0 >= x1) {
        return;
    }
    for (int32_t y = y0; y < y1; ++y) {
        std::fill(Row(y) + x0, Row(y) + x1, pixel);
    }
}

void Surface::Flip(Surface* overrideSurface, int32_t /*flags*/) {
    Surface* shown = overrideSurface != nullptr ? overrideSurface : backBuffer_.get();
    if (shown == nullptr) {
        Fail("Flip on a surface that is not the primary surface");
    }
    device_.Presentation().Present(shown->pixels_.data(), shown->width_, shown->height_,
                                   shown->width_);
}

Surface* Surface::GetAttachedSurface(int32_t caps) {
    if (caps != kCapsBackBuffer || !backBuffer_) {
        Fail("the surface has no attached back buffer");
    }
    return backBuffer_.get();
}

void Surface::SetColorKey(int32_t flags, uint32_t low, uint32_t /*high*/) {
    if (flags != kColorKeySourceBlt) {
        Fail("unsupported colour key flags " + std::to_string(flags));
    }
    // The key pair is in the surface's own pixel format; low equals high in every use.
    colorKey_ = static_cast<uint16_t>(low);
}

void Surface::DrawCircle(int32_t cx, int32_t cy, int32_t radius) {
    const uint16_t pixel = ColorToPixel(foreColor_);
    auto plot = [&](int32_t x, int32_t y) {
        if (x >= 0 && y >= 0 && x < width_ && y < height_) {
            Row(y)[x] = pixel;
        }
    };
    // Midpoint circle: every octant mirrored from one.
    int32_t x = radius;
    int32_t y = 0;
    int32_t error = 1 - radius;
    while (x >= y) {
        plot(cx + x, cy + y);
        plot(cx - x, cy + y);
        plot(cx + x, cy - y);
        plot(cx - x, cy - y);
        plot(cx + y, cy + x);
        plot(cx - y, cy + x);
        plot(cx + y, cy - x);
        plot(cx - y, cy - x);
        ++y;
        if (error < 0) {
            error += 2 * y + 1;
        } else {
            --x;
            error += 2 * (y - x) + 1;
        }
    }
}

void Surface::SetFont(const platform::FontSpec& font) { font_ = font; }

void Surface::SetForeColor(uint32_t color) { foreColor_ = color; }

void Surface::DrawText(int32_t x, int32_t y, const std::string& text) {
    const platform::TextMask& mask = device_.Text().Render(font_, text);
    const uint16_t pixel = ColorToPixel(foreColor_);
    for (int32_t row = 0; row < mask.height; ++row) {
        const int32_t ty = y + row;
        if (ty < 0 || ty >= height_) {
            continue;
        }
        const uint8_t* coverage = mask.coverage.data() + static_cast<size_t>(row) * mask.width;
        uint16_t* to = Row(ty);
        for (int32_t col = 0; col < mask.width; ++col) {
            const int32_t tx = x + col;
            if (tx < 0 || tx >= width_ || coverage[col] == 0) {
                continue;
            }
            to[tx] = coverage[col] == 255 ? pixel : Blend(to[tx], pixel, coverage[col]);
        }
    }
}

DisplayDevice::DisplayDevice(platform::DisplayPresentation& presentation,
                             platform::TextRenderer& text)
    : presentation_(presentation), text_(text) {}

void DisplayDevice::SetCooperativeLevel(int32_t flags) { presentation_.SetCooperativeLevel(flags); }

void DisplayDevice::SetDisplayMode(int32_t width, int32_t height, int32_t bitsPerPixel,
                                   int32_t refreshRate, int32_t flags) {
    if (bitsPerPixel != 16) {
        Fail("display mode with " + std::to_string(bitsPerPixel) + " bits per pixel");
    }
    presentation_.SetDisplayMode(width, height, bitsPerPixel, refreshRate, flags);
    modeWidth_ = width;
    modeHeight_ = height;
}

void DisplayDevice::RestoreDisplayMode() { presentation_.RestoreDisplayMode(); }

std::unique_ptr<Surface> DisplayDevice::CreateSurface(const SurfaceRequest& request) {
    if ((request.caps & kCapsPrimary) != 0) {
        auto primary = std::make_unique<Surface>(*this, 0, 0, request.caps);
        if ((request.flags & kRequestBackBufferCount) != 0 && request.backBufferCount >= 1) {
            primary->backBuffer_ = std::make_unique<Surface>(*this, modeWidth_, modeHeight_,
                                                             kCapsBackBuffer | kCapsFlip);
        }
        return primary;
    }
    const bool sized = (request.flags & kRequestWidth) != 0 && (request.flags & kRequestHeight) != 0;
    constexpr int32_t kLargest = 16384;
    if (!sized || request.width <= 0 || request.height <= 0 || request.width > kLargest ||
        request.height > kLargest) {
        Fail("cannot create a surface of " + std::to_string(request.width) + " x " +
             std::to_string(request.height));
    }
    return std::make_unique<Surface>(*this, request.width, request.height, request.caps);
}

int32_t DisplayDevice::TestCooperativeLevel() { return presentation_.TestCooperativeLevel(); }

void DisplayDevice::RestoreAllSurfaces() { presentation_.RestoreAllSurfaces(); }
