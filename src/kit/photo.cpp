#include "kit/photo.h"

#include <turbojpeg.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "kit/exif_orientation.h"
#include "kit/kit_error.h"
#include "kit/picture_fit.h"

namespace kit {
namespace {

using make_demo::Canvas;

std::vector<uint8_t> ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        Fail(path.string() + ": cannot be opened: " + std::strerror(errno));
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    if (in.bad()) {
        Fail(path.string() + ": cannot be read");
    }
    return bytes;
}

bool StartsWith(const std::vector<uint8_t>& bytes, std::initializer_list<uint8_t> magic) {
    return bytes.size() >= magic.size() && std::equal(magic.begin(), magic.end(), bytes.begin());
}

bool IsHeif(const std::vector<uint8_t>& bytes) {
    if (bytes.size() < 12 || std::memcmp(bytes.data() + 4, "ftyp", 4) != 0) return false;
    const std::string brand(reinterpret_cast<const char*>(bytes.data() + 8), 4);
    return brand == "heic" || brand == "heix" || brand == "mif1" || brand == "msf1" ||
           brand == "hevc" || brand == "avif";
}

class Decompressor {
  public:
    Decompressor() : handle_(tjInitDecompress()) {
        if (handle_ == nullptr) Fail("cannot start the JPEG decoder");
    }
    ~Decompressor() { tjDestroy(handle_); }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;
    tjhandle Get() const { return handle_; }

  private:
    tjhandle handle_;
};

UprightPhoto DecodeJpeg(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    Decompressor decoder;
    int width = 0, height = 0, subsampling = 0, colourspace = 0;
    if (tjDecompressHeader3(decoder.Get(), bytes.data(), bytes.size(), &width, &height,
                            &subsampling, &colourspace) != 0 ||
        width <= 0 || height <= 0) {
        Fail(path.string() + ": not a picture that can be read (a damaged JPEG)");
    }
    UprightPhoto photo;
    photo.orientation = ExifOrientation(bytes);
    const bool swap = SwapsSides(photo.orientation);
    const double scale = FitScale(swap ? height : width, swap ? width : height);

    // The smallest decoding scale at or above the one the work picture needs.
    int count = 0;
    const tjscalingfactor* factors = tjGetScalingFactors(&count);
    tjscalingfactor chosen{1, 1};
    double chosenValue = 1.0;
    for (int i = 0; i < count; ++i) {
        const double value = static_cast<double>(factors[i].num) / factors[i].denom;
        if (value >= scale && value < chosenValue) {
            chosen = factors[i];
            chosenValue = value;
        }
    }
    const int scaledWidth = TJSCALED(width, chosen);
    const int scaledHeight = TJSCALED(height, chosen);
    photo.stored = std::make_unique<Canvas>(scaledWidth, scaledHeight);
    cairo_surface_t* surface = photo.stored->Surface();
    cairo_surface_flush(surface);
    if (tjDecompress2(decoder.Get(), bytes.data(), bytes.size(),
                      cairo_image_surface_get_data(surface), scaledWidth,
                      cairo_image_surface_get_stride(surface), scaledHeight, TJPF_BGRX,
                      TJFLAG_FASTDCT) != 0 &&
        tjGetErrorCode(decoder.Get()) == TJERR_FATAL) {
        Fail(path.string() + ": not a picture that can be read (" + tjGetErrorStr2(decoder.Get()) +
             ")");
    }
    cairo_surface_mark_dirty(surface);
    return photo;
}

UprightPhoto DecodePng(const std::filesystem::path& path) {
    cairo_surface_t* png = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(png) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(png);
        Fail(path.string() + ": not a picture that can be read (a damaged PNG)");
    }
    UprightPhoto photo;
    photo.stored = std::make_unique<Canvas>(cairo_image_surface_get_width(png),
                                            cairo_image_surface_get_height(png));
    // Transparent parts show white, as a picture viewer shows them.
    cairo_set_source_surface(photo.stored->Cr(), png, 0, 0);
    cairo_paint(photo.stored->Cr());
    cairo_surface_destroy(png);
    return photo;
}

}  // namespace

double UprightPhoto::Width() const {
    return SwapsSides(orientation) ? stored->Height() : stored->Width();
}

double UprightPhoto::Height() const {
    return SwapsSides(orientation) ? stored->Width() : stored->Height();
}

cairo_matrix_t UprightPhoto::UprightToStored() const {
    return kit::UprightToStored(orientation, stored->Width(), stored->Height());
}

UprightPhoto LoadPhoto(const std::filesystem::path& path) {
    const std::vector<uint8_t> bytes = ReadAll(path);
    if (StartsWith(bytes, {0xFF, 0xD8, 0xFF})) {
        return DecodeJpeg(path, bytes);
    }
    if (StartsWith(bytes, {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'})) {
        return DecodePng(path);
    }
    if (IsHeif(bytes)) {
#if QUILLOWBEE_HEIF
        return DecodeHeif(path);
#else
        Fail(path.string() +
             ": a HEIC photo; HEIC photos need libheif, which this build lacks; save it as JPEG "
             "first (for example with heif-convert)");
#endif
    }
    Fail(path.string() + ": not a JPEG, PNG or HEIC picture");
}

}  // namespace kit
