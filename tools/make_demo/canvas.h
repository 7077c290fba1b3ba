#pragma once

#include <cairo.h>

#include <cstdint>

namespace make_demo {

// An opaque picture drawn with cairo (RGB24: one 0x00RRGGBB word a pixel).
class Canvas {
  public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(Canvas&& other) noexcept;
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    Canvas& operator=(Canvas&&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    cairo_t* Cr() const { return cr_; }
    cairo_surface_t* Surface() const { return surface_; }

    // The pixels as bytes B, G, R, unused (little-endian words), after pending drawing.
    const uint8_t* Pixels() const;
    int Stride() const;

    Canvas Crop(int x, int y, int width, int height) const;

    // Calls f(r, g, b) with references to the channels of every pixel in the rectangle.
    template <class F>
    void ForEachPixel(int x0, int y0, int width, int height, F f);

  private:
    uint8_t* MutablePixels();
    void MarkDirty();

    int width_;
    int height_;
    cairo_surface_t* surface_;
    cairo_t* cr_;
};

template <class F>
void Canvas::ForEachPixel(int x0, int y0, int width, int height, F f) {
    uint8_t* data = MutablePixels();
    const int stride = Stride();
    for (int y = y0; y < y0 + height; ++y) {
        uint8_t* p = data + y * stride + x0 * 4;
        for (int x = 0; x < width; ++x, p += 4) f(p[2], p[1], p[0]);
    }
    MarkDirty();
}

// Lifts the rectangle towards white and its colours a little, for highlights.
void Brighten(Canvas& canvas, int x, int y, int width, int height, double amount);

// Fades the rectangle towards a pale grey, for items that are not available now.
void Fade(Canvas& canvas, int x, int y, int width, int height, double amount);

}  // namespace make_demo
