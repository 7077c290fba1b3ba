// Pictures loaded: requests completed, decoded reduced, every kind of bitmap, broken files.
#include "graphics/picture_loader.h"

#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <array>
#include <bit>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "base/system_failure.h"
#include "display/display_objects.h"
#include "graphics/resample.h"
#include "support/form_harness.h"
#include "support/mini_pack.h"
#include "support/recording_decoder.h"
#include "support/test_files.h"

namespace fs = std::filesystem;

namespace testing_support {
namespace {
SurfaceRequest Request(int32_t flags, int32_t caps, int32_t width, int32_t height) {
    return {.flags = flags, .height = height, .width = width, .caps = caps};
}

struct PictureLoading : ::testing::Test {
    PictureLoading() { h_.PrepareDisplay(); }

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
    TempDir dir_;
    ScopedCurrentDir cd_{dir_.Path()};
    FormHarness h_;
};

TEST_F(PictureLoading, TheRequestIsCompletedFromThePictureWhichIsDecodedReducedAndResampled) {
    // The picture's size, the request given and completed, the size decoded.
    const std::tuple<int, int, SurfaceRequest, SurfaceRequest, int, int> cases[] = {
        {123, 45, Request(0, 0, 0, 0), Request(7, 0x40, 123, 45), 123, 45},
        {123, 45, Request(1, 0x840, 0, 0), Request(7, 0x840, 123, 45), 123, 45},
        {123, 45, Request(7, 0x840, 60, 0), Request(7, 0x840, 60, 45), 123, 45},
        {123, 45, Request(7, 0x840, 0, 90), Request(7, 0x840, 123, 90), 123, 45},
        {123, 45, Request(0x21, 0x840, 8, 8), Request(0x27, 0x840, 8, 8), 31, 12},
        {400, 300, Request(7, 0x840, 800, 600), Request(7, 0x840, 800, 600), 400, 300},
        // Half size still covers 800 x 600, even exactly; a quarter would not. At its own
        // size, all.
        {1700, 1300, Request(7, 0x840, 800, 600), Request(7, 0x840, 800, 600), 850, 650},
        {1600, 1200, Request(7, 0x840, 800, 600), Request(7, 0x840, 800, 600), 800, 600},
        {1700, 1300, Request(0, 0, 0, 0), Request(7, 0x40, 1700, 1300), 1700, 1300}};
    for (const auto& [width, height, given, completed, decodedWidth, decodedHeight] : cases) {
        SCOPED_TRACE(::testing::Message() << width << " x " << height << " into " << given.width
                                          << " x " << given.height);
        WriteJpegPixels("Grafik/p.jpg", width, height, Quarters(width, height));
        ScopedRecordingDecoder decoder;
        SurfaceRequest request = given;
        const auto surface = GameUtil::LoadPictureSurface("Grafik\\p.jpg", request);
        EXPECT_EQ(request, completed);
        ASSERT_EQ(decoder.Calls().size(), 1u);
        EXPECT_EQ(std::pair(decoder.Calls()[0].decodedWidth, decoder.Calls()[0].decodedHeight),
                  std::pair(decodedWidth, decodedHeight));
        EXPECT_EQ(std::tuple(surface->Width(), surface->Height(), surface->Caps()),
                  std::tuple(completed.width, completed.height, completed.caps));
        ExpectQuarters(*surface);
    }
}

// Same size: converted in blocks with a tail, exact for every width, never reading past the rows.
TEST_F(PictureLoading, SameSizeConversionIsExactForEveryWidth) {
    std::mt19937 random(7);
    for (int32_t width : {1, 8, 9, 10, 11, 17, 801}) {
        platform::DecodedPicture picture{width, 3, std::vector<uint8_t>(width * 3 * 3)};
        for (uint8_t& byte : picture.pixels) byte = static_cast<uint8_t>(random());
        auto surface = GameUtil::displayDevice->CreateSurface(Request(7, 0x840, width, 3));
        GameUtil::StretchPicture(picture, *surface);
        for (int32_t i = 0; i < width * 3; ++i) {
            const uint8_t* p = &picture.pixels[static_cast<size_t>(i) * 3];
            ASSERT_EQ(surface->PixelAt(i % width, i / width),
                      ColorToPixel(p[0] | (p[1] << 8) | (p[2] << 16)))
                << "width " << width << " at " << i;
        }
    }
}

std::string Le(uint32_t value, int bytes) {  // little-endian
    std::string b;
    for (int i = 0; i < bytes; ++i) b += static_cast<char>(value >> (8 * i));
    return b;
}

// A 30 x 20 bitmap of the four quarters, rows bottom-up, `bits` a pixel, compressed (1 RLE8,
// 2 RLE4, 3 bit fields) or not; 16 and 32 bits hold red, green and blue in `masks`.
std::string QuarterBitmap(int bits, uint32_t compression,
                          const std::array<uint32_t, 3>& masks = {0x7C00, 0x03E0, 0x001F}) {
    const int width = 30, height = 20;
    const bool rle = compression == 1 || compression == 2;
    std::string pixels;
    for (int y = height - 1; y >= 0; --y) {
        std::string row;
        for (int x = 0; x < width; ++x) {
            const int q = (y >= height / 2) * 2 + (x >= width / 2);
            const uint8_t channels[] = {kQuarters[q].r, kQuarters[q].g, kQuarters[q].b};
            uint32_t v = 0;
            for (int k = 0; k < 3; ++k)
                v |= (uint32_t{channels[k]} >> (8 - std::popcount(masks[k])))
                     << std::countr_zero(masks[k]);
            if (rle && x % (width / 2) == 0) {  // one run of a quarter's colour per half row
                row += {static_cast<char>(width / 2), static_cast<char>(bits == 8 ? q : q * 17)};
            } else if (!rle && bits == 4) {
                row += x % 2 ? "" : std::string(1, '\0');
                row.back() = static_cast<char>(row.back() | (q << (x % 2 ? 0 : 4)));
            } else if (!rle) {
                row += bits == 8 ? std::string(1, static_cast<char>(q)) : Le(v, bits / 8);
            }
        }
        pixels += row + std::string(rle ? 2 : (4 - row.size() % 4) % 4, '\0');  // end of line
    }
    pixels += rle ? std::string("\0\1", 2) : "";  // end of bitmap
    std::string extra;
    for (const Rgb& c : kQuarters) extra += bits <= 8 ? Le(c.b | (c.g << 8) | (c.r << 16), 4) : "";
    for (const uint32_t mask : masks) extra += compression == 3 ? Le(mask, 4) : "";
    const auto offset = static_cast<uint32_t>(54 + extra.size()),
               size = static_cast<uint32_t>(pixels.size());
    return "BM" + Le(offset + size, 4) + Le(0, 4) + Le(offset, 4) + Le(40, 4) + Le(width, 4) +
           Le(height, 4) + Le(1, 2) + Le(bits, 2) + Le(compression, 4) + Le(size, 4) + Le(2835, 4) +
           Le(2835, 4) + Le(bits <= 8 ? 4 : 0, 4) + Le(0, 4) + extra + pixels;
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
    // clang-format off
    std::vector<std::string> files = {bmp, os2, QuarterBitmap(8, 0), QuarterBitmap(4, 0),
        QuarterBitmap(8, 1), QuarterBitmap(4, 2), QuarterBitmap(32, 3, {0xFF, 0xFF00, 0xFF0000}),
        QuarterBitmap(16, 0), QuarterBitmap(16, 3, {0xF800, 0x07E0, 0x001F})};
    // clang-format on
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
        // Exact on both sides of a quarter's edge, but for 16-bit bitmaps (5 or 6 bits a colour).
        if (file[0] == 'B' && !(file[28] == 16)) {
            EXPECT_EQ(surface->PixelAt(14, 9), ColorToPixel(0x1010F0));
            EXPECT_EQ(surface->PixelAt(15, 10), ColorToPixel(0x10F0F0));
        }
        SurfaceRequest big = Request(7, 0x840, 100, 60);
        ExpectQuarters(*GameUtil::LoadPictureSurface("Grafik\\Val\\p.bmp", big));
    }
}

TEST_F(PictureLoading, ABrokenFileFailsNamingItBeforeTheRequestIsCompleted) {
    WriteJpegPixels("tmp.jpg", 64, 48, Quarters(64, 48));
    const std::string jpeg = ReadFile("tmp.jpg");
    WriteBmp24("tmp.bmp", 20, 20, Quarters(20, 20));
    const std::string bmp = ReadFile("tmp.bmp");
    const auto sized = [&](int width, int height) {  // the frame header claims another size
        std::string claimed = jpeg;
        const size_t at = claimed.find("\xFF\xC0") + 5;  // big-endian height, then width
        for (int k = 0; k < 4; ++k)
            claimed.at(at + k) = static_cast<char>((k < 2 ? height : width) >> (k % 2 ? 0 : 8));
        return claimed;
    };
    std::string wideBmp = bmp;
    wideBmp[20] = 1;  // 65 556 pixels wide, in a file of a few bytes
    // clang-format off
    const std::optional<std::string> cases[] = {std::nullopt, "", jpeg.substr(0, jpeg.size() * 2 / 3),
        jpeg.substr(0, 200), "plain text", sized(16385, 48), sized(64, 20000), bmp.substr(0, 700), wideBmp};
    // clang-format on
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

// Every input of the decoder's fuzz corpus loads or fails with a SystemFailure, at two sizes.
TEST_F(PictureLoading, EveryInputOfTheDecoderCorpusLoadsOrFailsCleanly) {
    const fs::path corpus = fs::path(QUILLOWBEE_FUZZ_CORPUS_DIR) / "picture_decoder";
    const std::map<std::string, std::string> known = {
        {"jpeg_444_8x8.jpg", "8x8"},     {"jpeg_420_17x9.jpg", "17x9"},
        {"jpeg_gray_9x5.jpg", "9x5"},    {"jpeg_progressive_12x10.jpg", "12x10"},
        {"bmp4_9x2_topdown.bmp", "9x2"}, {"bmp1_17x3.bmp", "17x3"}};
    size_t knownSeen = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(corpus)) {
        const std::string path = entry.path().string(), bytes = ReadFile(path);
        // As in the fuzzer: a header claiming more than 4096 x 4096 is only decoded reduced.
        int width = 0, height = 0, subsampling = 0, colorspace = 0;
        tjhandle handle = tjInitDecompress();
        tjDecompressHeader3(handle, reinterpret_cast<const unsigned char*>(bytes.data()),
                            bytes.size(), &width, &height, &subsampling, &colorspace);
        tjDestroy(handle);
        const bool huge = !bytes.starts_with("BM") && int64_t{width} * height > 4096 * 4096;
        for (const SurfaceRequest& wanted : {Request(0, 0, 0, 0), Request(7, 0x840, 800, 600)}) {
            if (wanted.width == 0 && huge) continue;
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
