// Writes the seed corpus of the picture decoder fuzzer: a few tiny JPEGs of each kind TurboJPEG
// makes, bitmaps of every depth the reader takes, and broken ones.
//   build/quillowbee-make-picture-seeds fuzz/corpus/picture_decoder
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "writers/bmp_writer.h"
#include "writers/jpeg_writer.h"

namespace {

using writers::JpegPixels;
using writers::JpegSampling;

std::string dir;

void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(dir + "/" + name, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string Jpeg(int w, int h, JpegSampling sampling, bool progressive = false,
                 JpegPixels layout = JpegPixels::Rgb) {
    const int channels = layout == JpegPixels::Gray ? 1 : layout == JpegPixels::Rgb ? 3 : 4;
    std::vector<uint8_t> pixels(static_cast<size_t>(w) * h * channels);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i * 37 + i / 7);
    return writers::EncodeJpeg(pixels.data(), w, h, 0, layout, {75, sampling, progressive});
}

// An uncompressed bitmap; `bits` 1, 4, 8 (with a palette), 24 or 32; negative height = top-down.
std::string Bitmap(int w, int h, int bits) {
    const int rows = h < 0 ? -h : h;
    std::string palette;
    for (int i = 0; i < (bits <= 8 ? 1 << bits : 0); ++i) {
        const uint32_t colour = 0x102030u * (i + 1);
        for (int b = 0; b < 4; ++b) palette.push_back(static_cast<char>(colour >> (8 * b)));
    }
    std::string pixels(static_cast<size_t>((w * bits + 31) / 32) * 4 * rows, '\0');
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<char>(i * 13);
    return writers::EncodeBmp(w, h, bits, palette, pixels);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    dir = argv[1];
    Write("jpeg_444_8x8.jpg", Jpeg(8, 8, JpegSampling::Full));
    Write("jpeg_420_17x9.jpg", Jpeg(17, 9, JpegSampling::Half));
    Write("jpeg_422_16x16.jpg", Jpeg(16, 16, JpegSampling::HalfWide));
    Write("jpeg_gray_9x5.jpg", Jpeg(9, 5, JpegSampling::Gray, false, JpegPixels::Gray));
    Write("jpeg_progressive_12x10.jpg", Jpeg(12, 10, JpegSampling::Half, true));
    Write("jpeg_cmyk_8x8.jpg", Jpeg(8, 8, JpegSampling::Full, false, JpegPixels::Cmyk));
    Write("jpeg_64x48.jpg", Jpeg(64, 48, JpegSampling::Half));
    const std::string whole = Jpeg(32, 24, JpegSampling::Half);
    Write("jpeg_truncated.jpg", whole.substr(0, whole.size() / 2));
    Write("bmp24_5x3.bmp", Bitmap(5, 3, 24));
    Write("bmp32_4x2.bmp", Bitmap(4, 2, 32));
    Write("bmp8_7x3.bmp", Bitmap(7, 3, 8));
    Write("bmp4_9x2_topdown.bmp", Bitmap(9, -2, 4));
    Write("bmp1_17x3.bmp", Bitmap(17, 3, 1));
    const std::string bmp = Bitmap(6, 6, 24);
    Write("bmp_truncated.bmp", bmp.substr(0, 80));
    return 0;
}
