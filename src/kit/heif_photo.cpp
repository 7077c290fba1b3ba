#include <libheif/heif.h>

#include <cstring>
#include <memory>

#include "kit/kit_error.h"
#include "kit/photo.h"

namespace kit {
namespace {

template <typename T, void (*Free)(T*)>
struct Freer {
    void operator()(T* p) const { Free(p); }
};
using Context = std::unique_ptr<heif_context, Freer<heif_context, heif_context_free>>;
using Handle =
    std::unique_ptr<heif_image_handle, Freer<const heif_image_handle, heif_image_handle_release>>;
using Image = std::unique_ptr<heif_image, Freer<const heif_image, heif_image_release>>;

void Check(const std::filesystem::path& path, heif_error error) {
    if (error.code != heif_error_Ok) {
        Fail(path.string() + ": not a HEIC photo that can be read (" + error.message + ")");
    }
}

}  // namespace

UprightPhoto DecodeHeif(const std::filesystem::path& path) {
    const Context context(heif_context_alloc());
    if (!context) Fail("cannot start the HEIC decoder");
    Check(path, heif_context_read_from_file(context.get(), path.c_str(), nullptr));
    heif_image_handle* rawHandle = nullptr;
    Check(path, heif_context_get_primary_image_handle(context.get(), &rawHandle));
    const Handle handle(rawHandle);
    // Without options libheif applies the picture's rotation and mirroring (irot, imir), which
    // a HEIC's orientation is; its EXIF orientation only repeats them and is not applied again.
    heif_image* rawImage = nullptr;
    Check(path, heif_decode_image(handle.get(), &rawImage, heif_colorspace_RGB,
                                  heif_chroma_interleaved_RGB, nullptr));
    const Image image(rawImage);
    const int width = heif_image_get_width(image.get(), heif_channel_interleaved);
    const int height = heif_image_get_height(image.get(), heif_channel_interleaved);
    int stride = 0;
    const uint8_t* rgb =
        heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
    if (rgb == nullptr || width <= 0 || height <= 0) {
        Fail(path.string() + ": not a HEIC photo that can be read (no picture in it)");
    }
    UprightPhoto photo;
    photo.stored = std::make_unique<make_demo::Canvas>(width, height);
    cairo_surface_t* surface = photo.stored->Surface();
    cairo_surface_flush(surface);
    uint8_t* to = cairo_image_surface_get_data(surface);
    const int toStride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < height; ++y) {
        const uint8_t* from = rgb + static_cast<size_t>(y) * static_cast<size_t>(stride);
        auto* row = reinterpret_cast<uint32_t*>(to + static_cast<size_t>(y) * toStride);
        for (int x = 0; x < width; ++x, from += 3) {
            row[x] = 0xFF000000u | (uint32_t{from[0]} << 16) | (uint32_t{from[1]} << 8) | from[2];
        }
    }
    cairo_surface_mark_dirty(surface);
    return photo;
}

}  // namespace kit
