// Loading pictures: the request completed from the file, pictures decoded reduced and resampled
// to the surface, every kind of bitmap, broken files failing with their name, and every input of
// the decoder's fuzz corpus loading or failing cleanly.
#include "graphics/picture_loader.h"

#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <filesystem>
#include <map>
#include <random>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "base/system_failure.h"
#include "display/display_objects.h"
#include "graphics/resample.h"
#include "support/form_harness.h"
#include "support/menu_picture_files.h"
#include "support/recording_decoder.h"
#include "support/test_files.h"

namespace fs = std::filesystem;

namespace testing_support {
namespace {
// A picture in four flat quarters: top left, top right, bottom left, bottom right.
const Rgb kQuarters[4] = {{240, 16, 16}, {16, 240, 16}, {16, 16, 240}, {240, 240, 16}};

std::vector<uint8_t> Quarters(int width, int height) {
    std::vector<uint8_t> rgb;
    for (int i = 0; i < width * height; ++i) {
        const Rgb& c =
            kQuarters[(i / width < height / 2 ? 0 : 2) + (i % width < width / 2 ? 0 : 1)];
        rgb.insert(rgb.end(), {c.r, c.g, c.b});
    }
    return rgb;
}

SurfaceRequest Request(int32_t flags, int32_t caps, int32_t width, int32_t height) {
    return {.flags = flags, .height = height, .width = width, .caps = caps};
}

class PictureLoading : public ::testing::Test {
  protected:
    PictureLoading() : cd_(dir_.Path()) { h_.PrepareDisplay(); }

    // Samples a surface filled from a quartered picture: corners, and the middle of each quarter.
    static void ExpectQuarters(const Surface& s) {
        const int32_t w = s.Width(), h = s.Height();
        for (int i = 0; i < 8; ++i) {  // the corners, then the middle of each quarter
            const int right = i % 2, low = i / 2 % 2;
            const int32_t x = i < 4 ? right * (w - 1) : (1 + 2 * right) * w / 4;
            const int32_t y = i < 4 ? low * (h - 1) : (1 + 2 * low) * h / 4;
            EXPECT_TRUE(Shows(s.PixelAt(x, y), kQuarters[2 * low + right]))
                << "(" << x << ", " << y << ") " << Describe(s.PixelAt(x, y));
        }
    }

  private:
    TempDir dir_;
    ScopedCurrentDir cd_;
    FormHarness h_;
};

TEST_F(PictureLoading, TheRequestIsCompletedFromThePictureWhichIsDecodedReducedAndResampled) {
    const struct {
        int width, height;  // of the picture
        SurfaceRequest given, completed;
        int decodedWidth, decodedHeight;
    } cases[] = {
        {123, 45, Request(0, 0, 0, 0), Request(7, 0x40, 123, 45), 123, 45},
        {123, 45, Request(1, 0x840, 0, 0), Request(7, 0x840, 123, 45), 123, 45},
        {123, 45, Request(7, 0x840, 60, 0), Request(7, 0x840, 60, 45), 123, 45},
        {123, 45, Request(7, 0x840, 0, 90), Request(7, 0x840, 123, 90), 123, 45},
        {123, 45, Request(0x21, 0x840, 8, 8), Request(0x27, 0x840, 8, 8), 31, 12},
        {400, 300, Request(7, 0x840, 800, 600), Request(7, 0x840, 800, 600), 400, 300},
        // Half size still covers 800 x 600; a quarter would not. At its own size, all of it.
        {1700, 1300, Request(7, 0x840, 800, 600), Request(7, 0x840, 800, 600), 850, 650},
        {1700, 1300, Request(0, 0, 0, 0), Request(7, 0x40, 1700, 1300), 1700, 1300}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.width << " x " << c.height << " into "
                                          << c.given.width << " x " << c.given.height);
        WriteJpegPixels("Grafik/p.jpg", c.width, c.height, Quarters(c.width, c.height));
        ScopedRecordingDecoder decoder;
        SurfaceRequest request = c.given;
        const auto surface = GameUtil::LoadPictureSurface("Grafik\\p.jpg", request);
        EXPECT_EQ(request, c.completed);
        ASSERT_EQ(decoder.Calls().size(), 1u);
        EXPECT_EQ(std::pair(decoder.Calls()[0].decodedWidth, decoder.Calls()[0].decodedHeight),
                  std::pair(c.decodedWidth, c.decodedHeight));
        EXPECT_EQ(std::tuple(surface->Width(), surface->Height(), surface->Caps()),
                  std::tuple(c.completed.width, c.completed.height, c.completed.caps));
        ExpectQuarters(*surface);
    }
}

// Same-size pictures are converted pixel by pixel, in blocks with a tail: every width must give
// exactly the RGB565 value of each pixel, whatever lies in the fourth byte.
TEST_F(PictureLoading, SameSizeConversionIsExactForEveryWidth) {
    std::mt19937 random(7);
    for (int32_t width : {1, 15, 16, 17, 37, 801}) {
        platform::DecodedPicture picture;
        picture.width = width;
        picture.height = 3;
        picture.pixels.resize(static_cast<size_t>(width) * 3 * 4);
        for (uint8_t& byte : picture.pixels) byte = static_cast<uint8_t>(random());
        SurfaceRequest request = Request(7, 0x840, width, 3);
        auto surface = GameUtil::displayDevice->CreateSurface(request);
        GameUtil::StretchPicture(picture, *surface);
        for (int32_t i = 0; i < width * 3; ++i) {
            const uint8_t* p = &picture.pixels[static_cast<size_t>(i) * 4];
            ASSERT_EQ(surface->PixelAt(i % width, i / width),
                      ColorToPixel(p[0] | (p[1] << 8) | (p[2] << 16)))
                << "width " << width << " at " << i;
        }
    }
}

// The kinds of Windows bitmap: how many bits a pixel, the compression, the header.
enum class BitmapKind { Rgb24, Palette8, Palette4, Rle8, Rle4, Rgb555, Masks565, Masks32, Os2 };

// A bitmap of the four quarters in one of the kinds Windows writes, rows bottom-up.
std::string QuarterBitmap(BitmapKind kind, int width, int height) {
    using K = BitmapKind;
    std::string b;
    auto put = [&](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) b += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    auto quarter = [&](int x, int y) { return (y < height / 2 ? 0 : 2) + (x < width / 2 ? 0 : 1); };
    const int bits = kind == K::Rgb24 || kind == K::Os2         ? 24
                     : kind == K::Masks32                       ? 32
                     : kind == K::Rgb555 || kind == K::Masks565 ? 16
                     : kind == K::Palette4 || kind == K::Rle4   ? 4
                                                                : 8;
    const uint32_t compression = kind == K::Rle8                             ? 1
                                 : kind == K::Rle4                           ? 2
                                 : kind == K::Masks565 || kind == K::Masks32 ? 3
                                                                             : 0;
    std::string pixels;
    for (int y = height - 1; y >= 0; --y) {
        std::string row;
        for (int x = 0; x < width; ++x) {
            const Rgb& c = kQuarters[quarter(x, y)];
            const auto q = static_cast<char>(quarter(x, y));
            uint32_t v = 0;
            switch (kind) {
                case K::Rgb24:
                case K::Os2:
                    row += {static_cast<char>(c.b), static_cast<char>(c.g), static_cast<char>(c.r)};
                    break;
                case K::Palette8:
                    row += q;
                    break;
                case K::Palette4:
                    if (x % 2 == 0) {
                        row += static_cast<char>(q << 4);
                    } else {
                        row.back() = static_cast<char>(row.back() | q);
                    }
                    break;
                case K::Rle8:
                case K::Rle4:
                    // One run of a quarter's colour per half row.
                    if (x == 0 || x == width / 2) {
                        const int run = x == 0 ? width / 2 : width - width / 2;
                        row += {static_cast<char>(run),
                                static_cast<char>(kind == K::Rle8 ? q : (q << 4) | q)};
                    }
                    break;
                case K::Rgb555:
                    v = ((c.r >> 3u) << 10u) | ((c.g >> 3u) << 5u) | (c.b >> 3u);
                    row += {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
                    break;
                case K::Masks565:
                    v = ((c.r >> 3u) << 11u) | ((c.g >> 2u) << 5u) | (c.b >> 3u);
                    row += {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
                    break;
                case K::Masks32:  // red in the first byte, as the masks below say
                    row += {static_cast<char>(c.r), static_cast<char>(c.g), static_cast<char>(c.b),
                            '\0'};
                    break;
            }
        }
        if (kind == K::Rle8 || kind == K::Rle4) {
            row += {'\0', '\0'};  // end of line
        } else {
            row.resize((row.size() + 3) & ~size_t{3}, '\0');
        }
        pixels += row;
    }
    if (kind == K::Rle8 || kind == K::Rle4) {
        pixels += {'\0', '\1'};  // end of bitmap
    }

    const bool palette = bits <= 8;
    const int headerSize = kind == K::Os2 ? 12 : 40;
    const int extra = palette ? 16 : compression == 3 ? 12 : 0;
    const int offset = 14 + headerSize + extra;
    b = "BM";
    put(static_cast<uint32_t>(offset + pixels.size()), 4);
    put(0, 4);
    put(static_cast<uint32_t>(offset), 4);
    put(static_cast<uint32_t>(headerSize), 4);
    if (kind == K::Os2) {
        put(static_cast<uint32_t>(width), 2);
        put(static_cast<uint32_t>(height), 2);
        put(1, 2);
        put(24, 2);
    } else {
        put(static_cast<uint32_t>(width), 4);
        put(static_cast<uint32_t>(height), 4);
        put(1, 2);
        put(static_cast<uint32_t>(bits), 2);
        put(compression, 4);
        put(static_cast<uint32_t>(pixels.size()), 4);
        put(2835, 4);
        put(2835, 4);
        put(palette ? 4 : 0, 4);
        put(0, 4);
    }
    if (palette) {
        for (const Rgb& c : kQuarters) {
            put(c.b | (c.g << 8u) | (static_cast<uint32_t>(c.r) << 16u), 4);
        }
    } else if (kind == K::Masks565) {
        put(0xF800, 4);
        put(0x07E0, 4);
        put(0x001F, 4);
    } else if (kind == K::Masks32) {
        put(0x000000FF, 4);
        put(0x0000FF00, 4);
        put(0x00FF0000, 4);
    }
    return b + pixels;
}

TEST_F(PictureLoading, StrayBytesBeforeAMarkerAndEveryKindOfBitmapLoad) {
    WriteJpegPixels("tmp.jpg", 30, 20, Quarters(30, 20));
    const std::string jpeg = ReadFile("tmp.jpg");
    WriteBmp24("tmp.bmp", 30, 20, Quarters(30, 20));
    const std::string bmp = ReadFile("tmp.bmp");
    // The same pixels behind an OS/2 header: 12 bytes, 16-bit sizes.
    std::string os2 =
        bmp.substr(0, 14) + std::string("\x0C\0\0\0\x1E\0\x14\0\x01\0\x18\0", 12) + bmp.substr(54);
    os2[10] = 26;
    std::vector<std::string> files = {bmp, os2};
    using K = BitmapKind;
    for (const K kind :
         {K::Palette8, K::Palette4, K::Rle8, K::Rle4, K::Masks32, K::Rgb555, K::Masks565}) {
        files.push_back(QuarterBitmap(kind, 30, 20));
    }
    // The decoder warns of extraneous bytes before the marker and decodes every pixel.
    for (const std::string marker : {"\xFF\xDA", "\xFF\xC4"}) {
        files.push_back(jpeg);
        files.back().insert(files.back().find(marker), "abc");
    }
    for (const std::string& file : files) {
        SCOPED_TRACE(file.substr(0, 2));
        WriteFile("Grafik/Val/p.bmp", file);
        SurfaceRequest request = Request(0, 0, 0, 0);
        const auto surface = GameUtil::LoadPictureSurface("Grafik\\Val\\p.bmp", request);
        EXPECT_EQ(request, Request(7, 0x40, 30, 20));
        ExpectQuarters(*surface);
        // Exact on both sides of a quarter's edge, but for 16-bit bitmaps, which hold the
        // colours to five or six bits.
        if (file[0] == 'B' && !(file[28] == 16)) {
            EXPECT_EQ(surface->PixelAt(14, 9), ColorToPixel(0x1010F0));
            EXPECT_EQ(surface->PixelAt(15, 10), ColorToPixel(0x10F0F0));
        }
        SurfaceRequest big = Request(7, 0x840, 100, 60);
        ExpectQuarters(*GameUtil::LoadPictureSurface("Grafik\\Val\\p.bmp", big));
    }
}

// A JPEG whose frame header claims another size.
std::string WithSize(std::string jpeg, int width, int height) {
    const size_t i = jpeg.find("\xFF\xC0");
    if (i == std::string::npos) throw std::runtime_error("no frame header");
    const int sizes[] = {height, width};  // big-endian, from the sixth byte of the header
    for (int k = 0; k < 4; ++k)
        jpeg[i + 5 + k] = static_cast<char>(sizes[k / 2] >> (k % 2 ? 0 : 8));
    return jpeg;
}

TEST_F(PictureLoading, ABrokenFileFailsNamingItBeforeTheRequestIsCompleted) {
    WriteJpegPixels("tmp.jpg", 64, 48, Quarters(64, 48));
    const std::string jpeg = ReadFile("tmp.jpg");
    WriteBmp24("tmp.bmp", 20, 20, Quarters(20, 20));
    const std::string bmp = ReadFile("tmp.bmp");
    std::string wideBmp = bmp;
    wideBmp[20] = 1;  // 65 556 pixels wide, in a file of a few bytes
    const std::optional<std::string> cases[] = {std::nullopt,
                                                "",
                                                jpeg.substr(0, jpeg.size() * 2 / 3),
                                                jpeg.substr(0, 200),
                                                "plain text",
                                                WithSize(jpeg, 16385, 48),
                                                WithSize(jpeg, 64, 20000),
                                                bmp.substr(0, 700),
                                                wideBmp};
    for (const auto& bytes : cases) {
        fs::remove("Grafik/broken.jpg");
        if (bytes) WriteFile("Grafik/broken.jpg", *bytes);
        SurfaceRequest request = Request(0, 0, 0, 0);
        try {
            GameUtil::LoadPictureSurface("Grafik\\broken.jpg", request);
            ADD_FAILURE() << "no failure for " << bytes.value_or("no file").size() << " bytes";
        } catch (const SystemFailure& failure) {
            EXPECT_NE(std::string(failure.what()).find("Grafik/broken.jpg"), std::string::npos)
                << failure.what();
        }
        EXPECT_EQ(request, Request(0, 0, 0, 0));
        // The same decoder reads the next good picture whole, whatever the broken one left.
        SurfaceRequest next = Request(0, 0, 0, 0);
        const auto surface = GameUtil::LoadPictureSurface("tmp.jpg", next);
        EXPECT_EQ(next, Request(7, 0x40, 64, 48)) << bytes.value_or("no file").size() << " bytes";
        ExpectQuarters(*surface);
    }
}

// Every input of the decoder's fuzz corpus (seeds and past findings) loads or fails with a
// SystemFailure, at its own size (unless its header claims a huge picture) and at 800 x 600.
TEST_F(PictureLoading, EveryInputOfTheDecoderCorpusLoadsOrFailsCleanly) {
    const fs::path corpus = fs::path(QUILLOWBEE_FUZZ_CORPUS_DIR) / "picture_decoder";
    const std::map<std::string, std::string> known = {
        {"jpeg_444_8x8.jpg", "8x8"},     {"jpeg_420_17x9.jpg", "17x9"},
        {"jpeg_gray_9x5.jpg", "9x5"},    {"jpeg_progressive_12x10.jpg", "12x10"},
        {"bmp24_5x3.bmp", "5x3"},        {"bmp8_7x3.bmp", "7x3"},
        {"bmp4_9x2_topdown.bmp", "9x2"}, {"bmp1_17x3.bmp", "17x3"},
        {"bmp32_4x2.bmp", "4x2"},        {"jpeg_truncated.jpg", "failed"},
        {"bmp_truncated.bmp", "failed"}};
    size_t knownSeen = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(corpus)) {
        const std::string path = entry.path().string();
        for (const SurfaceRequest& wanted : {Request(0, 0, 0, 0), Request(7, 0x840, 800, 600)}) {
            // As in the fuzzer: a header claiming more than 4096 x 4096 is only decoded reduced.
            const std::string bytes = ReadFile(path);
            int width = 0, height = 0, subsampling = 0, colorspace = 0;
            tjhandle handle = tjInitDecompress();
            tjDecompressHeader3(handle, reinterpret_cast<const unsigned char*>(bytes.data()),
                                bytes.size(), &width, &height, &subsampling, &colorspace);
            tjDestroy(handle);
            if (wanted.width == 0 && !bytes.starts_with("BM") &&
                int64_t{width} * height > 4096 * 4096)
                continue;
            std::string outcome = "failed";
            try {
                SurfaceRequest request = wanted;
                auto s = GameUtil::LoadPictureSurface(path, request);
                outcome = std::to_string(s->Width()) + "x" + std::to_string(s->Height());
            } catch (const SystemFailure&) {
            } catch (const std::exception& other) {
                ADD_FAILURE() << path << ": " << other.what();
            }
            const auto it = known.find(entry.path().filename().string());
            if (wanted.width == 0 && it != known.end()) {
                ++knownSeen;
                EXPECT_EQ(outcome, it->second) << path;
            }
        }
    }
    EXPECT_EQ(knownSeen, known.size()) << "seeds missing from " << corpus;
}

}  // namespace
}  // namespace testing_support
