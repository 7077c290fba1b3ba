#include "canvas.h"

#include <algorithm>
#include <bit>
#include <stdexcept>

namespace make_demo {

static_assert(std::endian::native == std::endian::little,
              "the encoders read cairo's pixel words as B, G, R bytes");

Canvas::Canvas(int width, int height)
    : width_(width),
      height_(height),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height)),
      cr_(cairo_create(surface_)) {
    if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) {
        throw std::runtime_error("cannot create a picture surface");
    }
    cairo_set_source_rgb(cr_, 1, 1, 1);
    cairo_paint(cr_);
}

Canvas::~Canvas() {
    if (cr_ != nullptr) cairo_destroy(cr_);
    if (surface_ != nullptr) cairo_surface_destroy(surface_);
}

Canvas::Canvas(Canvas&& other) noexcept
    : width_(other.width_), height_(other.height_), surface_(other.surface_), cr_(other.cr_) {
    other.surface_ = nullptr;
    other.cr_ = nullptr;
}

const uint8_t* Canvas::Pixels() const {
    cairo_surface_flush(surface_);
    return cairo_image_surface_get_data(surface_);
}

int Canvas::Stride() const {
    return cairo_image_surface_get_stride(surface_);
}

uint8_t* Canvas::MutablePixels() {
    cairo_surface_flush(surface_);
    return cairo_image_surface_get_data(surface_);
}

void Canvas::MarkDirty() {
    cairo_surface_mark_dirty(surface_);
}

Canvas Canvas::Crop(int x, int y, int width, int height) const {
    Canvas part(width, height);
    cairo_set_source_surface(part.Cr(), surface_, -x, -y);
    cairo_paint(part.Cr());
    return part;
}

namespace {

uint8_t Clamp(double v) {
    return static_cast<uint8_t>(std::clamp(v, 0.0, 255.0) + 0.5);
}

}  // namespace

void Brighten(Canvas& canvas, int x, int y, int width, int height, double amount) {
    canvas.ForEachPixel(x, y, width, height, [amount](uint8_t& r, uint8_t& g, uint8_t& b) {
        const double grey = (r + g + b) / 3.0;
        auto lift = [&](uint8_t c) {
            const double vivid = grey + (c - grey) * (1.0 + amount);
            return Clamp(vivid * (1.0 + 0.25 * amount) + 45.0 * amount);
        };
        const uint8_t nr = lift(r), ng = lift(g), nb = lift(b);
        r = nr;
        g = ng;
        b = nb;
    });
}

void Fade(Canvas& canvas, int x, int y, int width, int height, double amount) {
    canvas.ForEachPixel(x, y, width, height, [amount](uint8_t& r, uint8_t& g, uint8_t& b) {
        const double grey = 0.3 * r + 0.59 * g + 0.11 * b;
        auto fade = [&](uint8_t c) {
            const double dull = c + (grey - c) * 0.8;
            return Clamp(dull + (225.0 - dull) * amount);
        };
        const uint8_t nr = fade(r), ng = fade(g), nb = fade(b);
        r = nr;
        g = ng;
        b = nb;
    });
}

}  // namespace make_demo
