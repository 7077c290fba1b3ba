#include <dlfcn.h>
#include <libheif/heif.h>

#include <cstring>
#include <memory>

#include "kit/kit_error.h"
#include "kit/photo.h"

namespace kit {
namespace {

// libheif and the codecs it loads (tens of megabytes) are opened at the first HEIC photo, not
// when the program starts: the child's program links the kit for the settings screen's drop.
struct Heif {
#define QUILLOWBEE_HEIF_CALLS(X)             \
    X(heif_context_alloc)                    \
    X(heif_context_free)                     \
    X(heif_context_read_from_file)           \
    X(heif_context_get_primary_image_handle) \
    X(heif_image_handle_release)             \
    X(heif_decode_image)                     \
    X(heif_image_release)                    \
    X(heif_image_get_width)                  \
    X(heif_image_get_height)                 \
    X(heif_image_get_plane_readonly)
#define QUILLOWBEE_HEIF_POINTER(name) decltype(&::name) name = nullptr;
    QUILLOWBEE_HEIF_CALLS(QUILLOWBEE_HEIF_POINTER)
#undef QUILLOWBEE_HEIF_POINTER

    // The library, or null when it is not installed or lacks a call.
    static const Heif* Open() {
        static const std::unique_ptr<Heif> opened = [] {
            void* library = dlopen("libheif.so.1", RTLD_NOW | RTLD_LOCAL);
            if (library == nullptr) {
                return std::unique_ptr<Heif>();
            }
            auto heif = std::make_unique<Heif>();
            bool complete = true;
#define QUILLOWBEE_HEIF_FIND(name)                                           \
    heif->name = reinterpret_cast<decltype(&::name)>(dlsym(library, #name)); \
    complete = complete && heif->name != nullptr;
            QUILLOWBEE_HEIF_CALLS(QUILLOWBEE_HEIF_FIND)
#undef QUILLOWBEE_HEIF_FIND
            return complete ? std::move(heif) : std::unique_ptr<Heif>();
        }();
        return opened.get();
    }
};

template <typename T>
struct Release {
    void (*free)(T*);
    void operator()(T* p) const { free(p); }
};
using Context = std::unique_ptr<heif_context, Release<heif_context>>;
using Handle = std::unique_ptr<heif_image_handle, Release<const heif_image_handle>>;
using Image = std::unique_ptr<heif_image, Release<const heif_image>>;

void Check(const std::filesystem::path& path, heif_error error) {
    if (error.code != heif_error_Ok) {
        Fail(path.string() + ": not a HEIC photo that can be read (" + error.message + ")");
    }
}

}  // namespace

UprightPhoto DecodeHeif(const std::filesystem::path& path) {
    const Heif* heif = Heif::Open();
    if (heif == nullptr) {
        Fail(path.string() +
             ": a HEIC photo; HEIC photos need libheif (Debian package libheif1), which is not "
             "installed; install it, or save the photo as JPEG first");
    }
    const Context context(heif->heif_context_alloc(), {heif->heif_context_free});
    if (!context) Fail("cannot start the HEIC decoder");
    Check(path, heif->heif_context_read_from_file(context.get(), path.c_str(), nullptr));
    heif_image_handle* rawHandle = nullptr;
    Check(path, heif->heif_context_get_primary_image_handle(context.get(), &rawHandle));
    const Handle handle(rawHandle, {heif->heif_image_handle_release});
    // Without options libheif applies the picture's rotation and mirroring (irot, imir), which
    // a HEIC's orientation is; its EXIF orientation only repeats them and is not applied again.
    heif_image* rawImage = nullptr;
    Check(path, heif->heif_decode_image(handle.get(), &rawImage, heif_colorspace_RGB,
                                        heif_chroma_interleaved_RGB, nullptr));
    const Image image(rawImage, {heif->heif_image_release});
    const int width = heif->heif_image_get_width(image.get(), heif_channel_interleaved);
    const int height = heif->heif_image_get_height(image.get(), heif_channel_interleaved);
    int stride = 0;
    const uint8_t* rgb =
        heif->heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
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
