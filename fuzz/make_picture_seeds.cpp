// Writes the seed corpus of the picture decoder fuzzer: a few tiny JPEGs of each kind TurboJPEG
// makes, bitmaps of every depth the reader takes, and broken ones.
//   c++ -std=c++20 fuzz/make_picture_seeds.cpp -lturbojpeg -o /tmp/seeds
//   /tmp/seeds fuzz/corpus/picture_decoder
#include <turbojpeg.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::string dir;

void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(dir + "/" + name, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string Jpeg(int w, int h, int subsampling, int flags, int pixelFormat = TJPF_RGB) {
    const int channels = tjPixelSize[pixelFormat];
    std::vector<uint8_t> pixels(static_cast<size_t>(w) * h * channels);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i * 37 + i / 7);
    tjhandle handle = tjInitCompress();
    unsigned char* out = nullptr;
    unsigned long size = 0;
    tjCompress2(handle, pixels.data(), w, 0, h, pixelFormat, &out, &size, subsampling, 75, flags);
    std::string bytes(reinterpret_cast<char*>(out), size);
    tjFree(out);
    tjDestroy(handle);
    return bytes;
}

// An uncompressed bitmap; `bits` 1, 4, 8 (with a palette), 24 or 32; negative height = top-down.
std::string Bitmap(int w, int h, int bits) {
    const int rows = h < 0 ? -h : h;
    const int rowBytes = ((w * bits + 31) / 32) * 4;
    const int colours = bits <= 8 ? (1 << bits) : 0;
    const int offset = 54 + colours * 4;
    std::string b(offset + static_cast<size_t>(rowBytes) * rows, '\0');
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, static_cast<uint32_t>(b.size()));
    put32(10, offset);
    put32(14, 40);
    put32(18, w);
    put32(22, static_cast<uint32_t>(h));
    b[26] = 1;
    b[28] = static_cast<char>(bits);
    put32(46, colours);
    for (int i = 0; i < colours; ++i) put32(54 + 4 * i, 0x102030u * (i + 1));
    for (size_t i = offset; i < b.size(); ++i) b[i] = static_cast<char>(i * 13);
    return b;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    dir = argv[1];
    Write("jpeg_444_8x8.jpg", Jpeg(8, 8, TJSAMP_444, 0));
    Write("jpeg_420_17x9.jpg", Jpeg(17, 9, TJSAMP_420, 0));
    Write("jpeg_422_16x16.jpg", Jpeg(16, 16, TJSAMP_422, 0));
    Write("jpeg_gray_9x5.jpg", Jpeg(9, 5, TJSAMP_GRAY, 0, TJPF_GRAY));
    Write("jpeg_progressive_12x10.jpg", Jpeg(12, 10, TJSAMP_420, TJFLAG_PROGRESSIVE));
    Write("jpeg_cmyk_8x8.jpg", Jpeg(8, 8, TJSAMP_444, 0, TJPF_CMYK));
    Write("jpeg_64x48.jpg", Jpeg(64, 48, TJSAMP_420, 0));
    const std::string whole = Jpeg(32, 24, TJSAMP_420, 0);
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
