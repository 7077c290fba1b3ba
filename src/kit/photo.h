#pragma once

#include <cairo.h>

#include <filesystem>
#include <memory>

#include "make_demo/canvas.h"

namespace kit {

// A photo as read: its pixels as stored, and how to turn them upright.
struct UprightPhoto {
    std::unique_ptr<make_demo::Canvas> stored;
    int orientation = 1;    // EXIF orientation 1..8
    double Width() const;   // upright width in pixels
    double Height() const;  // upright height in pixels
    // The map from upright coordinates to the stored pixels.
    cairo_matrix_t UprightToStored() const;
};

// Reads a JPEG (with its EXIF orientation), PNG or (built with libheif) HEIC photo. A JPEG is
// decoded at the smallest of TurboJPEG's scales that still gives the work picture full detail. A
// file that is not such a picture is a failure naming it.
UprightPhoto LoadPhoto(const std::filesystem::path& path);

// Reads a HEIC photo through libheif, its rotation and mirroring applied (so it is upright);
// built only with libheif.
UprightPhoto DecodeHeif(const std::filesystem::path& path);

}  // namespace kit
