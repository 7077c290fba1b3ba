#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/rect.h"
#include "display/draw_op.h"
#include "platform/display_presentation.h"
#include "platform/text_renderer.h"

// The surface description a caller fills before creating a surface.
struct SurfaceRequest {
    int32_t flags = 0;  // 1 caps, 2 height, 4 width, 0x20 back-buffer count valid
    int32_t height = 0;
    int32_t width = 0;
    int32_t backBufferCount = 0;
    int32_t caps =
        0;  // 0x40 off-screen plain, 0x800 system memory; 0x200 primary, 0x10 flip, 0x8 complex
    bool operator==(const SurfaceRequest&) const = default;
};

namespace DisplayFlags {
inline constexpr int32_t kRequestCaps = 1;
inline constexpr int32_t kRequestHeight = 2;
inline constexpr int32_t kRequestWidth = 4;
inline constexpr int32_t kRequestBackBufferCount = 0x20;
inline constexpr int32_t kCapsComplex = 0x8;
inline constexpr int32_t kCapsFlip = 0x10;
inline constexpr int32_t kCapsOffScreenPlain = 0x40;
inline constexpr int32_t kCapsPrimary = 0x200;
inline constexpr int32_t kCapsSystemMemory = 0x800;
inline constexpr int32_t kCapsBackBuffer = 4;
inline constexpr int32_t kBltFastWait = 16;
inline constexpr int32_t kBltFastSourceColorKey = 1;
inline constexpr int32_t kBltWait = 0x1000000;
inline constexpr int32_t kFlipWait = 1;
inline constexpr int32_t kColorKeySourceBlt = 8;
inline constexpr int32_t kCooperativeFullScreenExclusive = 81;
inline constexpr int32_t kCooperativeNormal = 8;
// Result codes of BltFast.
inline constexpr int32_t kOk = 0;
inline constexpr int32_t kErrorInvalidParams = static_cast<int32_t>(0x80070057);
inline constexpr int32_t kErrorSurfaceLost = static_cast<int32_t>(0x887601C2);
}  // namespace DisplayFlags

// 0xBBGGRR colour to an RGB565 pixel.
uint16_t ColorToPixel(uint32_t color);
// Red, green and blue of 0 to 255 to an RGB565 pixel: each channel's top bits.
inline uint16_t PackRgb565(uint32_t r, uint32_t g, uint32_t b) {
    return static_cast<uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}

class DisplayDevice;
class FrameRecord;
struct SurfaceShared;

// Pixel memory for a surface that does not exist yet, taken and written on any thread (a picture
// decoded ahead of its load). A surface of the same size adopts it; dropped, it goes back.
class SurfacePixels {
  public:
    SurfacePixels() = default;
    ~SurfacePixels();
    SurfacePixels(SurfacePixels&& other) noexcept;
    SurfacePixels& operator=(SurfacePixels&& other) noexcept;

    uint16_t* Data() const { return pixels_; }

  private:
    friend class Surface;
    friend class SurfacePixelSource;
    friend class DisplayDevice;
    SurfacePixels(std::shared_ptr<SurfaceShared> shared, int32_t width, int32_t height);
    void Reset();

    std::shared_ptr<SurfaceShared> shared_;
    int32_t width_ = 0;
    int32_t height_ = 0;
    uint16_t* pixels_ = nullptr;
};

// Hands out a display device's surface memory on any thread, and outlives the device.
class SurfacePixelSource {
  public:
    // Room for `width` x `height` pixels, content unspecified (the taker writes them all).
    SurfacePixels Take(int32_t width, int32_t height) const;

  private:
    friend class DisplayDevice;
    explicit SurfacePixelSource(std::shared_ptr<SurfaceShared> shared)
        : shared_(std::move(shared)) {}
    std::shared_ptr<SurfaceShared> shared_;
};

// A 16-bit RGB565 picture in memory. Blits, fills and colour-keyed copies are plain loops over
// rows, clipped to the destination. The back buffer remembers how its frame was drawn
// (FrameRecord), so a frame drawn like the last one costs no pixel work.
class Surface : private DrawTarget {
  public:
    // `zeroed` false: the caller writes every pixel before anything reads one.
    Surface(DisplayDevice& device, int32_t width, int32_t height, int32_t caps, bool zeroed = true);
    // A surface of the size `pixels` were taken for, with their content.
    Surface(DisplayDevice& device, int32_t caps, SurfacePixels&& pixels);
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    int32_t Caps() const { return caps_; }
    // Direct access to a row's pixels. Writes through the row belong before the surface's next
    // drawing operation or use as a source; after that, ask for the row again.
    uint16_t* Row(int32_t y);
    const uint16_t* Row(int32_t y) const;
    uint16_t PixelAt(int32_t x, int32_t y) const { return Row(y)[x]; }

    // Copies `sourceRect` of `source` to (x, y). Flags 16 (wait) or 17 (wait + source colour
    // key). Returns 0, or a nonzero code when there is no source, the source rectangle lies
    // outside the source, or the display is lost.
    int32_t BltFast(int32_t x, int32_t y, const Surface* source, const Rect& sourceRect,
                    int32_t flags);
    // Copies `sourceRect` of `source` into `destRect`, stretching where the sizes differ.
    int32_t Blt(const Rect& destRect, const Surface* source, const Rect& sourceRect, int32_t flags);
    void BltColorFill(const Rect& destRect, uint32_t color);
    // Primary surface only: shows the attached back buffer and returns when the display took it.
    void Flip(Surface* overrideSurface, int32_t flags);
    Surface* GetAttachedSurface(int32_t caps);
    void SetColorKey(int32_t flags, uint32_t low, uint32_t high);
    std::optional<uint16_t> ColorKey() const { return colorKey_; }

    // Outline circle in the current drawing colour (the text colour).
    void DrawCircle(int32_t x, int32_t y, int32_t radius);
    void SetFont(const platform::FontSpec& font);
    void SetForeColor(uint32_t color);
    uint32_t ForeColor() const { return foreColor_; }
    // Text with its top-left corner at (x, y), in the current font and colour.
    void DrawText(int32_t x, int32_t y, const std::string& text);

    // Back buffer only: the operations of the frame so far that are held back (tests).
    size_t HeldBackOperations() const;

  private:
    friend class DisplayDevice;
    void Draw(const DrawOp& op);
    void Execute(const DrawOp& op) override;
    void Apply(const DrawOp& op);
    void ApplyCopy(const DrawOp& op);
    void ApplyStretch(const DrawOp& op);
    void ApplyFill(const DrawOp& op);
    void ApplyCircle(const DrawOp& op);
    void BeforeRead() const;
    void BeforeWrite();
    // A back buffer's held-back operations that read this surface are performed first.
    void BeforeChangeAsSource();
    uint16_t* RawRow(int32_t y) { return pixels_ + static_cast<size_t>(y) * width_; }
    const uint16_t* RawRow(int32_t y) const { return pixels_ + static_cast<size_t>(y) * width_; }
    void Present(bool unchanged);

    DisplayDevice& device_;
    std::shared_ptr<SurfaceShared> shared_;
    int32_t width_;
    int32_t height_;
    int32_t caps_;
    uint16_t* pixels_ = nullptr;
    // Changes whenever the pixels or the colour key may have changed; never repeats, not even
    // across surfaces.
    uint64_t stamp_ = 0;
    std::optional<uint16_t> colorKey_;
    uint32_t foreColor_ = 0;
    platform::FontSpec font_;
    std::unique_ptr<Surface> backBuffer_;  // primary surface only
    std::unique_ptr<FrameRecord> record_;  // back buffer only
};

// The display device: exclusive mode, the primary surface with its back buffer, off-screen
// surfaces in memory, loss detection.
class DisplayDevice {
  public:
    DisplayDevice(platform::DisplayPresentation& presentation, platform::TextRenderer& text);

    void SetCooperativeLevel(int32_t flags);
    void SetDisplayMode(int32_t width, int32_t height, int32_t bitsPerPixel, int32_t refreshRate,
                        int32_t flags);
    void RestoreDisplayMode();
    // A surface of exactly the requested size, all black; the primary surface (caps 0x200) comes
    // with one back buffer of the display mode's size. An impossible request throws
    // SystemFailure.
    std::unique_ptr<Surface> CreateSurface(const SurfaceRequest& request);
    // The same for a caller that writes every pixel before anything reads one (a picture
    // loader): the pixels start with no particular content, which saves clearing them.
    std::unique_ptr<Surface> CreateSurfaceForOverwrite(const SurfaceRequest& request);
    // The same with the content of `pixels`, taken from this device's pixel source for the
    // request's size (pixels of another device or size are copied into a new black surface).
    std::unique_ptr<Surface> CreateSurfaceFrom(const SurfaceRequest& request,
                                               SurfacePixels&& pixels);
    SurfacePixelSource PixelSource() const { return SurfacePixelSource(shared_); }
    int32_t TestCooperativeLevel();
    void RestoreAllSurfaces();

    platform::DisplayPresentation& Presentation() { return presentation_; }
    platform::TextRenderer& Text() { return text_; }
    // True when the last frame handed to the presentation differed from the one before it.
    bool LastFrameChanged() const { return lastFrameChanged_; }

  private:
    friend class Surface;
    std::unique_ptr<Surface> Create(const SurfaceRequest& request, bool zeroed,
                                    SurfacePixels* pixels = nullptr);
    // Hands a finished frame to the presentation with the rectangles that differ from the last
    // one handed over; `unchanged`: the caller knows it equals that one.
    void Present(const uint16_t* pixels, int32_t width, int32_t height, bool unchanged);
    void ForgetShownFrame();

    platform::DisplayPresentation& presentation_;
    platform::TextRenderer& text_;
    std::shared_ptr<SurfaceShared> shared_;
    int32_t modeWidth_ = 800;
    int32_t modeHeight_ = 600;
    // The last frame handed to the presentation; its size is 0 x 0 when unknown.
    std::vector<uint16_t> shown_;
    int32_t shownWidth_ = 0;
    int32_t shownHeight_ = 0;
    bool lastFrameChanged_ = true;
};
