#include "display/display_device.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <utility>

#include "base/system_failure.h"
#include "display/changed_tiles.h"
#include "display/frame_record.h"
#include "display/surface_memory.h"

using namespace DisplayFlags;

uint16_t ColorToPixel(uint32_t color) {
    return PackRgb565(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
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

struct SurfaceShared {
    SurfaceMemory memory;
    Surface* backBuffer = nullptr;  // the one surface whose frames are recorded
};

namespace {

uint64_t NextStamp() {
    static std::atomic<uint64_t> last{0};
    return last.fetch_add(1, std::memory_order_relaxed) + 1;
}

}  // namespace

Surface::Surface(DisplayDevice& device, int32_t width, int32_t height, int32_t caps, bool zeroed)
    : device_(device),
      shared_(device.shared_),
      width_(width),
      height_(height),
      caps_(caps),
      pixels_(shared_->memory.Acquire(static_cast<size_t>(width) * static_cast<size_t>(height),
                                      zeroed)),
      stamp_(NextStamp()) {}

Surface::Surface(DisplayDevice& device, int32_t caps, SurfacePixels&& pixels)
    : device_(device),
      shared_(device.shared_),
      width_(pixels.width_),
      height_(pixels.height_),
      caps_(caps),
      pixels_(std::exchange(pixels.pixels_, nullptr)),
      stamp_(NextStamp()) {
    pixels.shared_.reset();
}

SurfacePixels::SurfacePixels(std::shared_ptr<SurfaceShared> shared, int32_t width, int32_t height)
    : shared_(std::move(shared)), width_(width), height_(height) {
    pixels_ =
        shared_->memory.Acquire(static_cast<size_t>(width) * static_cast<size_t>(height), false);
}

SurfacePixels::~SurfacePixels() {
    Reset();
}

SurfacePixels::SurfacePixels(SurfacePixels&& other) noexcept
    : shared_(std::move(other.shared_)),
      width_(other.width_),
      height_(other.height_),
      pixels_(std::exchange(other.pixels_, nullptr)) {}

SurfacePixels& SurfacePixels::operator=(SurfacePixels&& other) noexcept {
    if (this != &other) {
        Reset();
        shared_ = std::move(other.shared_);
        width_ = other.width_;
        height_ = other.height_;
        pixels_ = std::exchange(other.pixels_, nullptr);
    }
    return *this;
}

void SurfacePixels::Reset() {
    if (shared_) {
        shared_->memory.Release(pixels_,
                                static_cast<size_t>(width_) * static_cast<size_t>(height_));
    }
    shared_.reset();
    pixels_ = nullptr;
}

SurfacePixels SurfacePixelSource::Take(int32_t width, int32_t height) const {
    return SurfacePixels(shared_, std::max(width, 0), std::max(height, 0));
}

Surface::~Surface() {
    BeforeChangeAsSource();
    if (shared_->backBuffer == this) {
        shared_->backBuffer = nullptr;
    }
    shared_->memory.Release(pixels_, static_cast<size_t>(width_) * static_cast<size_t>(height_));
}

uint16_t* Surface::Row(int32_t y) {
    BeforeWrite();
    return RawRow(y);
}

const uint16_t* Surface::Row(int32_t y) const {
    BeforeRead();
    return RawRow(y);
}

void Surface::BeforeRead() const {
    if (record_) {
        record_->BeforeRead();
    }
}

void Surface::BeforeWrite() {
    if (record_) {
        record_->BeforeWrite();
    } else {
        BeforeChangeAsSource();
    }
    stamp_ = NextStamp();
}

void Surface::BeforeChangeAsSource() {
    Surface* back = shared_->backBuffer;
    if (back != nullptr && back != this && back->record_) {
        back->record_->BeforeSourceChanges(this);
    }
}

size_t Surface::HeldBackOperations() const {
    return record_ ? record_->HeldBack() : 0;
}

void Surface::Draw(const DrawOp& op) {
    if (op.source != nullptr) {
        op.source->BeforeRead();
    }
    if (record_ && op.source != this) {
        record_->Draw(op);
        return;
    }
    BeforeWrite();
    Apply(op);
}

void Surface::Execute(const DrawOp& op) {
    stamp_ = NextStamp();
    Apply(op);
}

void Surface::Apply(const DrawOp& op) {
    switch (op.kind) {
        case DrawOp::Kind::Copy:
            ApplyCopy(op);
            break;
        case DrawOp::Kind::Stretch:
            ApplyStretch(op);
            break;
        case DrawOp::Kind::Fill:
            ApplyFill(op);
            break;
        case DrawOp::Kind::Circle:
            ApplyCircle(op);
            break;
    }
}

int32_t Surface::BltFast(int32_t x, int32_t y, const Surface* source, const Rect& sourceRect,
                         int32_t flags) {
    if (source == nullptr || !IsInside(sourceRect, source->width_, source->height_)) {
        return kErrorInvalidParams;
    }
    if (device_.TestCooperativeLevel() != 0) {
        return kErrorSurfaceLost;
    }
    Span s{sourceRect.left,
           sourceRect.top,
           x,
           y,
           sourceRect.right - sourceRect.left,
           sourceRect.bottom - sourceRect.top};
    if (!ClipToDestination(s, width_, height_)) {
        return kOk;
    }
    const bool keyed = (flags & kBltFastSourceColorKey) != 0 && source->colorKey_.has_value();
    DrawOp op;
    op.kind = DrawOp::Kind::Copy;
    op.source = source;
    op.sourceStamp = source->stamp_;
    op.from = sourceRect;
    op.to = {x, y, 0, 0};
    op.flags = flags;
    op.coversAll = !keyed && s.dx == 0 && s.dy == 0 && s.w == width_ && s.h == height_;
    Draw(op);
    return kOk;
}

void Surface::ApplyCopy(const DrawOp& op) {
    const Surface* source = op.source;
    const Rect& r = op.from;
    Span s{r.left, r.top, op.to.left, op.to.top, r.right - r.left, r.bottom - r.top};
    if (!ClipToDestination(s, width_, height_)) {
        return;
    }
    const bool keyed = (op.flags & kBltFastSourceColorKey) != 0 && source->colorKey_.has_value();
    for (int32_t row = 0; row < s.h; ++row) {
        const uint16_t* from = source->RawRow(s.sy + row) + s.sx;
        uint16_t* to = RawRow(s.dy + row) + s.dx;
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
    const int32_t x0 = std::max(destRect.left, 0);
    const int32_t x1 = std::min(destRect.right, width_);
    const int32_t y0 = std::max(destRect.top, 0);
    const int32_t y1 = std::min(destRect.bottom, height_);
    if (x0 >= x1 || y0 >= y1) {
        return kOk;
    }
    DrawOp op;
    op.kind = DrawOp::Kind::Stretch;
    op.source = source;
    op.sourceStamp = source->stamp_;
    op.from = sourceRect;
    op.to = destRect;
    op.coversAll = x0 == 0 && y0 == 0 && x1 == width_ && y1 == height_;
    Draw(op);
    return kOk;
}

void Surface::ApplyStretch(const DrawOp& op) {
    const Surface* source = op.source;
    const Rect& sourceRect = op.from;
    const Rect& destRect = op.to;
    const int64_t dw = static_cast<int64_t>(destRect.right) - destRect.left;
    const int64_t dh = static_cast<int64_t>(destRect.bottom) - destRect.top;
    const int32_t sw = sourceRect.right - sourceRect.left;
    const int32_t sh = sourceRect.bottom - sourceRect.top;
    // Nearest-neighbour stretch, only where the destination is visible.
    const int32_t x0 = std::max(destRect.left, 0);
    const int32_t x1 = std::min(destRect.right, width_);
    const int32_t y0 = std::max(destRect.top, 0);
    const int32_t y1 = std::min(destRect.bottom, height_);
    for (int32_t y = y0; y < y1; ++y) {
        const int32_t sy =
            sourceRect.top + static_cast<int32_t>((int64_t{y} - destRect.top) * sh / dh);
        const uint16_t* from = source->RawRow(sy);
        uint16_t* to = RawRow(y);
        for (int32_t x = x0; x < x1; ++x) {
            to[x] = from[sourceRect.left +
                         static_cast<int32_t>((int64_t{x} - destRect.left) * sw / dw)];
        }
    }
}

void Surface::BltColorFill(const Rect& destRect, uint32_t color) {
    const int32_t x0 = std::max(destRect.left, 0);
    const int32_t x1 = std::min(destRect.right, width_);
    const int32_t y0 = std::max(destRect.top, 0);
    const int32_t y1 = std::min(destRect.bottom, height_);
    if (x0 >= x1 || y0 >= y1) {
        return;
    }
    DrawOp op;
    op.kind = DrawOp::Kind::Fill;
    op.to = destRect;
    op.color = color;
    op.coversAll = x0 == 0 && y0 == 0 && x1 == width_ && y1 == height_;
    Draw(op);
}

void Surface::ApplyFill(const DrawOp& op) {
    const uint16_t pixel = ColorToPixel(op.color);
    const int32_t x0 = std::max(op.to.left, 0);
    const int32_t x1 = std::min(op.to.right, width_);
    const int32_t y0 = std::max(op.to.top, 0);
    const int32_t y1 = std::min(op.to.bottom, height_);
    for (int32_t y = y0; y < y1; ++y) {
        std::fill(RawRow(y) + x0, RawRow(y) + x1, pixel);
    }
}

void Surface::Flip(Surface* overrideSurface, int32_t /*flags*/) {
    Surface* shown = overrideSurface != nullptr ? overrideSurface : backBuffer_.get();
    if (shown == nullptr) {
        Fail("Flip on a surface that is not the primary surface");
    }
    FrameRecord* record = shown == backBuffer_.get() ? shown->record_.get() : nullptr;
    if (record == nullptr) {
        if (backBuffer_ && backBuffer_->record_) {
            backBuffer_->record_->ScreenChanged();
        }
        shown->BeforeRead();
        shown->Present(false);
        return;
    }
    const bool unchanged = record->EndFrame();
    try {
        shown->Present(unchanged);
    } catch (...) {
        record->Presented(false);
        throw;
    }
    record->Presented(true);
}

void Surface::Present(bool unchanged) {
    device_.Present(pixels_, width_, height_, unchanged);
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
    BeforeChangeAsSource();
    stamp_ = NextStamp();
    colorKey_ = static_cast<uint16_t>(low);
}

void Surface::DrawCircle(int32_t cx, int32_t cy, int32_t radius) {
    DrawOp op;
    op.kind = DrawOp::Kind::Circle;
    op.to = {cx, cy, radius, 0};
    op.color = foreColor_;
    Draw(op);
}

void Surface::ApplyCircle(const DrawOp& op) {
    const uint16_t pixel = ColorToPixel(op.color);
    const int32_t cx = op.to.left;
    const int32_t cy = op.to.top;
    const int32_t radius = op.to.right;
    auto plot = [&](int32_t x, int32_t y) {
        if (x >= 0 && y >= 0 && x < width_ && y < height_) {
            RawRow(y)[x] = pixel;
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

void Surface::SetFont(const platform::FontSpec& font) {
    font_ = font;
}

void Surface::SetForeColor(uint32_t color) {
    foreColor_ = color;
}

void Surface::DrawText(int32_t x, int32_t y, const std::string& text) {
    const platform::TextMask& mask = device_.Text().Render(font_, text);
    const uint16_t pixel = ColorToPixel(foreColor_);
    // Blended into what is there, so never held back: the text is drawn at once.
    BeforeWrite();
    for (int32_t row = 0; row < mask.height; ++row) {
        const int32_t ty = y + row;
        if (ty < 0 || ty >= height_) {
            continue;
        }
        const uint8_t* coverage = mask.coverage.data() + static_cast<size_t>(row) * mask.width;
        uint16_t* to = RawRow(ty);
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
    : presentation_(presentation), text_(text), shared_(std::make_shared<SurfaceShared>()) {}

void DisplayDevice::SetCooperativeLevel(int32_t flags) {
    presentation_.SetCooperativeLevel(flags);
}

void DisplayDevice::SetDisplayMode(int32_t width, int32_t height, int32_t bitsPerPixel,
                                   int32_t refreshRate, int32_t flags) {
    if (bitsPerPixel != 16) {
        Fail("display mode with " + std::to_string(bitsPerPixel) + " bits per pixel");
    }
    ForgetShownFrame();
    presentation_.SetDisplayMode(width, height, bitsPerPixel, refreshRate, flags);
    modeWidth_ = width;
    modeHeight_ = height;
}

void DisplayDevice::RestoreDisplayMode() {
    ForgetShownFrame();
    presentation_.RestoreDisplayMode();
}

std::unique_ptr<Surface> DisplayDevice::CreateSurface(const SurfaceRequest& request) {
    return Create(request, true);
}

std::unique_ptr<Surface> DisplayDevice::CreateSurfaceForOverwrite(const SurfaceRequest& request) {
    return Create(request, false);
}

std::unique_ptr<Surface> DisplayDevice::CreateSurfaceFrom(const SurfaceRequest& request,
                                                          SurfacePixels&& pixels) {
    if (pixels.shared_ == shared_ && pixels.width_ == request.width &&
        pixels.height_ == request.height) {
        return Create(request, false, &pixels);
    }
    std::unique_ptr<Surface> surface = Create(request, true);
    const int32_t width = std::min(pixels.width_, request.width);
    for (int32_t y = 0; y < std::min(pixels.height_, request.height); ++y) {
        std::copy_n(pixels.pixels_ + static_cast<size_t>(y) * pixels.width_, width,
                    surface->RawRow(y));
    }
    return surface;
}

std::unique_ptr<Surface> DisplayDevice::Create(const SurfaceRequest& request, bool zeroed,
                                               SurfacePixels* pixels) {
    if ((request.caps & kCapsPrimary) != 0) {
        auto primary = std::make_unique<Surface>(*this, 0, 0, request.caps);
        if ((request.flags & kRequestBackBufferCount) != 0 && request.backBufferCount >= 1) {
            auto back = std::make_unique<Surface>(*this, modeWidth_, modeHeight_,
                                                  kCapsBackBuffer | kCapsFlip);
            back->record_ = std::make_unique<FrameRecord>(static_cast<DrawTarget&>(*back));
            // Only one back buffer is told of changes to its sources: an earlier one draws
            // everything at once from now on.
            if (Surface* earlier = shared_->backBuffer) {
                earlier->record_->BeforeWrite();
                earlier->record_.reset();
            }
            shared_->backBuffer = back.get();
            primary->backBuffer_ = std::move(back);
        }
        return primary;
    }
    const bool sized =
        (request.flags & kRequestWidth) != 0 && (request.flags & kRequestHeight) != 0;
    constexpr int32_t kLargest = 16384;
    if (!sized || request.width <= 0 || request.height <= 0 || request.width > kLargest ||
        request.height > kLargest) {
        Fail("cannot create a surface of " + std::to_string(request.width) + " x " +
             std::to_string(request.height));
    }
    if (pixels != nullptr) {
        return std::make_unique<Surface>(*this, request.caps, std::move(*pixels));
    }
    return std::make_unique<Surface>(*this, request.width, request.height, request.caps, zeroed);
}

void DisplayDevice::Present(const uint16_t* pixels, int32_t width, int32_t height, bool unchanged) {
    const bool known = shownWidth_ == width && shownHeight_ == height;
    std::vector<Rect> changed;
    if (unchanged && known) {
        // Nothing to compare: the frame is the one handed over last.
    } else if (known) {
        changed = UpdateChangedTiles(pixels, width, shown_.data(), width, height);
    } else {
        shown_.assign(pixels, pixels + static_cast<size_t>(width) * height);
        shownWidth_ = width;
        shownHeight_ = height;
        changed.push_back({0, 0, width, height});
    }
    lastFrameChanged_ = !changed.empty();
    try {
        presentation_.PresentChanged(pixels, width, height, width, changed);
    } catch (...) {
        ForgetShownFrame();
        throw;
    }
}

void DisplayDevice::ForgetShownFrame() {
    // What the display shows is unknown now: the next frame goes to it whole.
    shownWidth_ = 0;
    shownHeight_ = 0;
    lastFrameChanged_ = true;
}

int32_t DisplayDevice::TestCooperativeLevel() {
    return presentation_.TestCooperativeLevel();
}

void DisplayDevice::RestoreAllSurfaces() {
    ForgetShownFrame();
    presentation_.RestoreAllSurfaces();
}
