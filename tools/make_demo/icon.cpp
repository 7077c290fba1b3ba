#include "icon.h"

#include <cairo-svg.h>
#include <cairo.h>

#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>

#include "menu_art.h"
#include "paint.h"

namespace make_demo {

namespace {

constexpr double kSide = 256.0;  // the drawing's own size; every icon is a scaled copy

void DrawIcon(cairo_t* cr) {
    const double c = kSide / 2;
    const double r = kSide / 2 - 8;
    CirclePath(cr, c, c, r);
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, c - r, 0, c + r);
    cairo_pattern_add_color_stop_rgb(sky, 0, 0.55, 0.84, 1.0);
    cairo_pattern_add_color_stop_rgb(sky, 1, 0.86, 0.96, 1.0);
    cairo_set_source(cr, sky);
    cairo_fill(cr);
    cairo_pattern_destroy(sky);

    cairo_save(cr);
    CirclePath(cr, c, c, r);
    cairo_clip(cr);
    EllipsePath(cr, c + 30, kSide + 40, 190, 110);
    Fill(cr, Hex(0x6CCB5F));
    EllipsePath(cr, c - 90, kSide + 30, 120, 80);
    Fill(cr, Hex(0x4FB353));
    cairo_restore(cr);

    CirclePath(cr, c, c, r);
    Stroke(cr, kInk, 8);
    Bee(cr, c - 6, c + 24, 150);
}

// Writes the drawing at `side` pixels as a PNG, and returns the surface for more uses.
cairo_surface_t* Render(int side) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, side, side);
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, side / kSide, side / kSide);
    DrawIcon(cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    return surface;
}

void Check(cairo_status_t status, const std::filesystem::path& path) {
    if (status != CAIRO_STATUS_SUCCESS) {
        throw std::runtime_error("cannot write " + path.string() + ": " +
                                 cairo_status_to_string(status));
    }
}

// Cairo keeps premultiplied alpha; the window icon wants it straight.
void WritePixels(cairo_surface_t* surface, const std::filesystem::path& path) {
    const int side = cairo_image_surface_get_width(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    std::ofstream out(path);
    for (int y = 0; y < side; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(data + y * stride);
        for (int x = 0; x < side; ++x) {
            const uint32_t p = row[x];
            const uint32_t a = p >> 24;
            auto straight = [a](uint32_t v) { return a == 0 ? 0 : (v * 255 + a / 2) / a; };
            const uint32_t argb = a << 24 | straight((p >> 16) & 0xFF) << 16 |
                                  straight((p >> 8) & 0xFF) << 8 | straight(p & 0xFF);
            char word[16];
            std::snprintf(word, sizeof word, "0x%08x,", argb);
            out << word << (x + 1 == side ? "\n" : " ");
        }
    }
    if (!out.flush()) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

}  // namespace

void WriteIcons(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    for (const int side : {48, 64, 128, 256}) {
        cairo_surface_t* surface = Render(side);
        const std::filesystem::path png = folder / ("icon-" + std::to_string(side) + ".png");
        Check(cairo_surface_write_to_png(surface, png.c_str()), png);
        if (side == 64) {
            WritePixels(surface, folder / "window_icon_pixels.inc");
        }
        cairo_surface_destroy(surface);
    }
    const std::filesystem::path svg = folder / "icon.svg";
    cairo_surface_t* surface = cairo_svg_surface_create(svg.c_str(), kSide, kSide);
    cairo_t* cr = cairo_create(surface);
    DrawIcon(cr);
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    Check(cairo_surface_status(surface), svg);
    cairo_surface_destroy(surface);
}

}  // namespace make_demo
