#include "kit/exif_orientation.h"

namespace kit {
namespace {

constexpr uint16_t kOrientationTag = 0x0112;

class TiffReader {
  public:
    TiffReader(std::span<const uint8_t> tiff, bool bigEndian) : tiff_(tiff), big_(bigEndian) {}
    bool Has(size_t at, size_t size) const {
        return at <= tiff_.size() && size <= tiff_.size() - at;
    }
    uint16_t U16(size_t at) const {
        return big_ ? static_cast<uint16_t>(tiff_[at] << 8 | tiff_[at + 1])
                    : static_cast<uint16_t>(tiff_[at + 1] << 8 | tiff_[at]);
    }
    uint32_t U32(size_t at) const {
        return big_ ? static_cast<uint32_t>(U16(at)) << 16 | U16(at + 2)
                    : static_cast<uint32_t>(U16(at + 2)) << 16 | U16(at);
    }

  private:
    std::span<const uint8_t> tiff_;
    bool big_;
};

// The orientation in an Exif segment's body (after "Exif\0\0"), or 1.
int FromTiff(std::span<const uint8_t> tiff) {
    if (tiff.size() < 8) return 1;
    bool big = false;
    if (tiff[0] == 'M' && tiff[1] == 'M') {
        big = true;
    } else if (!(tiff[0] == 'I' && tiff[1] == 'I')) {
        return 1;
    }
    const TiffReader r(tiff, big);
    if (r.U16(2) != 42) return 1;
    const size_t ifd = r.U32(4);
    if (!r.Has(ifd, 2)) return 1;
    const size_t count = r.U16(ifd);
    for (size_t e = 0; e < count; ++e) {
        const size_t entry = ifd + 2 + 12 * e;
        if (!r.Has(entry, 12)) return 1;
        if (r.U16(entry) == kOrientationTag) {
            const uint16_t type = r.U16(entry + 2);
            // SHORT as it should be; some writers use LONG.
            const uint32_t value = type == 3 ? r.U16(entry + 8) : type == 4 ? r.U32(entry + 8) : 0;
            return value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
        }
    }
    return 1;
}

}  // namespace

int ExifOrientation(std::span<const uint8_t> jpeg) {
    if (jpeg.size() < 4 || jpeg[0] != 0xFF || jpeg[1] != 0xD8) return 1;
    size_t at = 2;
    while (at + 4 <= jpeg.size()) {
        if (jpeg[at] != 0xFF) return 1;
        const uint8_t marker = jpeg[at + 1];
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9) return 1;  // the picture data begins: no more
        const size_t length = static_cast<size_t>(jpeg[at + 2]) << 8 | jpeg[at + 3];
        if (length < 2 || at + 2 + length > jpeg.size()) return 1;
        const std::span<const uint8_t> body = jpeg.subspan(at + 4, length - 2);
        static constexpr uint8_t kExif[6] = {'E', 'x', 'i', 'f', 0, 0};
        if (marker == 0xE1 && body.size() >= 6 && std::equal(kExif, kExif + 6, body.begin())) {
            return FromTiff(body.subspan(6));
        }
        at += 2 + length;
    }
    return 1;
}

bool SwapsSides(int orientation) {
    return orientation >= 5 && orientation <= 8;
}

cairo_matrix_t UprightToStored(int orientation, double w, double h) {
    // cairo_matrix_init(xx, yx, xy, yy, x0, y0): stored x = xx u + xy v + x0, y = yx u + yy v + y0.
    cairo_matrix_t m;
    switch (orientation) {
        case 2:  // mirrored left to right
            cairo_matrix_init(&m, -1, 0, 0, 1, w, 0);
            break;
        case 3:  // turned half round
            cairo_matrix_init(&m, -1, 0, 0, -1, w, h);
            break;
        case 4:  // mirrored top to bottom
            cairo_matrix_init(&m, 1, 0, 0, -1, 0, h);
            break;
        case 5:  // mirrored across the main diagonal
            cairo_matrix_init(&m, 0, 1, 1, 0, 0, 0);
            break;
        case 6:  // stored a quarter turn anticlockwise: shown turned clockwise
            cairo_matrix_init(&m, 0, -1, 1, 0, 0, h);
            break;
        case 7:  // mirrored across the other diagonal
            cairo_matrix_init(&m, 0, -1, -1, 0, w, h);
            break;
        case 8:  // stored a quarter turn clockwise: shown turned anticlockwise
            cairo_matrix_init(&m, 0, 1, -1, 0, w, 0);
            break;
        default:
            cairo_matrix_init_identity(&m);
    }
    return m;
}

}  // namespace kit
