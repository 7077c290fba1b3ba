#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "graphics/picture_loader.h"
#include "shell/display_objects.h"
#include "shell/system_failure.h"
#include "support/form_harness.h"
#include "support/menu_picture_files.h"
#include "support/test_files.h"

namespace fs = std::filesystem;

namespace testing_support {
namespace {

// A picture in four flat quarters: top left, top right, bottom left, bottom right.
const Rgb kQuarters[4] = {{240, 16, 16}, {16, 240, 16}, {16, 16, 240}, {240, 240, 16}};

std::vector<uint8_t> Quarters(int width, int height) {
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgb& c = kQuarters[(y < height / 2 ? 0 : 2) + (x < width / 2 ? 0 : 1)];
            uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
            p[0] = c.r;
            p[1] = c.g;
            p[2] = c.b;
        }
    }
    return rgb;
}

SurfaceRequest Request(int32_t flags, int32_t caps, int32_t width, int32_t height) {
    SurfaceRequest r;
    r.flags = flags;
    r.caps = caps;
    r.width = width;
    r.height = height;
    return r;
}

class PictureLoading : public ::testing::Test {
  protected:
    PictureLoading() : cd_(dir_.Path()) { h_.PrepareDisplay(); }

    // Samples a surface filled from a quartered picture: corners, and the middle of each quarter.
    static void ExpectQuarters(const Surface& s) {
        const int32_t w = s.Width(), h = s.Height();
        const struct {
            int32_t x, y;
            int quarter;
        } samples[] = {{0, 0, 0},
                       {w - 1, 0, 1},
                       {0, h - 1, 2},
                       {w - 1, h - 1, 3},
                       {w / 4, h / 4, 0},
                       {3 * w / 4, h / 4, 1},
                       {w / 4, 3 * h / 4, 2},
                       {3 * w / 4, 3 * h / 4, 3}};
        for (const auto& p : samples) {
            EXPECT_TRUE(Shows(s.PixelAt(p.x, p.y), kQuarters[p.quarter]))
                << "(" << p.x << ", " << p.y << ") " << Describe(s.PixelAt(p.x, p.y));
        }
    }

  private:
    TempDir dir_;
    ScopedCurrentDir cd_;
    FormHarness h_;
};

struct CompletionCase {
    const char* name;
    SurfaceRequest given;
    SurfaceRequest completed;
};

class RequestCompletion : public PictureLoading,
                          public ::testing::WithParamInterface<CompletionCase> {};

TEST_P(RequestCompletion, IsWrittenBackBeforeTheSurfaceIsMade) {
    const CompletionCase& c = GetParam();
    WriteJpegPixels("Grafik/p.jpg", 123, 45, Quarters(123, 45));
    SurfaceRequest request = c.given;
    const auto surface = GameUtil::LoadPictureSurface("Grafik\\p.jpg", request);
    EXPECT_EQ(request, c.completed);
    ASSERT_TRUE(surface);
    EXPECT_EQ(surface->Width(), c.completed.width);
    EXPECT_EQ(surface->Height(), c.completed.height);
    EXPECT_EQ(surface->Caps(), c.completed.caps);
    ExpectQuarters(*surface);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RequestCompletion,
    ::testing::Values(
        CompletionCase{"NothingGiven", Request(0, 0, 0, 0), Request(7, 0x40, 123, 45)},
        CompletionCase{"CapsOnly", Request(1, 0, 0, 0), Request(7, 0x40, 123, 45)},
        CompletionCase{"CapsKept", Request(1, 0x840, 0, 0), Request(7, 0x840, 123, 45)},
        CompletionCase{"WidthGiven", Request(7, 0x840, 60, 0), Request(7, 0x840, 60, 45)},
        CompletionCase{"HeightGiven", Request(7, 0x840, 0, 90), Request(7, 0x840, 123, 90)},
        CompletionCase{"BothGiven", Request(7, 0x840, 800, 600), Request(7, 0x840, 800, 600)},
        CompletionCase{"OtherFlagsKept", Request(0x21, 0x840, 8, 8), Request(0x27, 0x840, 8, 8)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PictureLoading, SmallPictureIsStretchedOverTheWholeSurface) {
    WriteJpegPixels("small.jpg", 400, 300, Quarters(400, 300));
    SurfaceRequest request = Request(7, 0x840, 800, 600);
    const auto surface = GameUtil::LoadPictureSurface("small.jpg", request);
    ASSERT_EQ(surface->Width(), 800);
    ASSERT_EQ(surface->Height(), 600);
    ExpectQuarters(*surface);
}

TEST_F(PictureLoading, APictureWithStrayBytesBeforeAMarkerLoadsWithItsPixels) {
    WriteJpegPixels("tmp.jpg", 64, 48, Quarters(64, 48));
    std::string jpeg = ReadFile("tmp.jpg");
    // The decoder warns of extraneous bytes before the marker and decodes every pixel.
    for (const std::string marker : {"\xFF\xDA", "\xFF\xC4"}) {
        std::string damaged = jpeg;
        damaged.insert(damaged.find(marker), "abc");
        WriteFile("stray.jpg", damaged);
        SurfaceRequest request = Request(0, 0, 0, 0);
        const auto surface = GameUtil::LoadPictureSurface("stray.jpg", request);
        EXPECT_EQ(request, Request(7, 0x40, 64, 48));
        ExpectQuarters(*surface);
    }
}

TEST_F(PictureLoading, LargePictureIsDecodedReducedThenResampledToTheSize) {
    WriteJpegPixels("large.jpg", 1700, 1300, Quarters(1700, 1300));
    ScopedRecordingDecoder decoder;
    SurfaceRequest request = Request(7, 0x840, 800, 600);
    const auto surface = GameUtil::LoadPictureSurface("large.jpg", request);
    ASSERT_EQ(decoder.Calls().size(), 1u);
    // Half size still covers 800 x 600; a quarter would not.
    EXPECT_EQ(decoder.Calls()[0].decodedWidth, 850);
    EXPECT_EQ(decoder.Calls()[0].decodedHeight, 650);
    ASSERT_EQ(surface->Width(), 800);
    ASSERT_EQ(surface->Height(), 600);
    ExpectQuarters(*surface);
}

TEST_F(PictureLoading, NaturalSizeOfALargePictureIsItsFullSize) {
    WriteJpegPixels("large.jpg", 1700, 1300, Quarters(1700, 1300));
    SurfaceRequest request = Request(0, 0, 0, 0);
    const auto surface = GameUtil::LoadPictureSurface("large.jpg", request);
    EXPECT_EQ(request.width, 1700);
    EXPECT_EQ(request.height, 1300);
    ExpectQuarters(*surface);
}

struct BrokenCase {
    const char* name;
    std::function<void()> make;  // writes "broken.jpg" (or not)
};

class BrokenFile : public PictureLoading, public ::testing::WithParamInterface<BrokenCase> {};

TEST_P(BrokenFile, FailsNamingTheFileBeforeCompletingTheRequest) {
    GetParam().make();
    SurfaceRequest request = Request(0, 0, 0, 0);
    try {
        GameUtil::LoadPictureSurface("Grafik\\broken.jpg", request);
        ADD_FAILURE() << "no failure";
    } catch (const SystemFailure& failure) {
        EXPECT_NE(std::string(failure.what()).find("Grafik/broken.jpg"), std::string::npos)
            << failure.what();
    }
    EXPECT_EQ(request, Request(0, 0, 0, 0));
    // The same decoder reads the next good picture whole, whatever the broken one left behind.
    WriteJpegPixels("good.jpg", 64, 48, Quarters(64, 48));
    SurfaceRequest next = Request(0, 0, 0, 0);
    const auto surface = GameUtil::LoadPictureSurface("good.jpg", next);
    EXPECT_EQ(next, Request(7, 0x40, 64, 48));
    ExpectQuarters(*surface);
}

// A JPEG whose frame header claims another size.
std::string WithSize(std::string jpeg, int width, int height) {
    for (size_t i = 0; i + 8 < jpeg.size(); ++i) {
        if (static_cast<uint8_t>(jpeg[i]) == 0xFF && static_cast<uint8_t>(jpeg[i + 1]) == 0xC0) {
            jpeg[i + 5] = static_cast<char>(height >> 8);
            jpeg[i + 6] = static_cast<char>(height & 0xFF);
            jpeg[i + 7] = static_cast<char>(width >> 8);
            jpeg[i + 8] = static_cast<char>(width & 0xFF);
            return jpeg;
        }
    }
    throw std::runtime_error("no frame header");
}

std::string SmallJpeg() {
    WriteJpegPixels("tmp.jpg", 64, 48, Quarters(64, 48));
    std::string bytes = ReadFile("tmp.jpg");
    fs::remove("tmp.jpg");
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BrokenFile,
    ::testing::Values(
        BrokenCase{"Missing", [] {}},
        BrokenCase{"Empty", [] { WriteFile("Grafik/broken.jpg", ""); }},
        BrokenCase{"Truncated",
                   [] {
                       const std::string jpeg = SmallJpeg();
                       WriteFile("Grafik/broken.jpg", jpeg.substr(0, jpeg.size() * 2 / 3));
                   }},
        BrokenCase{"HeaderOnly",
                   [] { WriteFile("Grafik/broken.jpg", SmallJpeg().substr(0, 200)); }},
        BrokenCase{"NotAPicture", [] { WriteFile("Grafik/broken.jpg", "plain text"); }},
        BrokenCase{"TooWide",
                   [] { WriteFile("Grafik/broken.jpg", WithSize(SmallJpeg(), 16385, 48)); }},
        BrokenCase{"TooHigh",
                   [] { WriteFile("Grafik/broken.jpg", WithSize(SmallJpeg(), 64, 20000)); }},
        BrokenCase{"BitmapCutShort",
                   [] {
                       WriteBmp24("tmp.bmp", 20, 20, Quarters(20, 20));
                       WriteFile("Grafik/broken.jpg", ReadFile("tmp.bmp").substr(0, 700));
                   }},
        BrokenCase{"BitmapTooLarge",
                   [] {
                       WriteBmp24("tmp.bmp", 4, 4, Quarters(4, 4));
                       std::string bmp = ReadFile("tmp.bmp");
                       bmp[20] = 1;  // 65 540 pixels wide, in a file of a few bytes
                       WriteFile("Grafik/broken.jpg", bmp);
                   }}),
    [](const auto& info) { return std::string(info.param.name); });

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

TEST_F(PictureLoading, EveryKindOfBitmapLoadsAtItsOwnSizeAndStretches) {
    using K = BitmapKind;
    for (const K kind : {K::Rgb24, K::Palette8, K::Palette4, K::Rle8, K::Rle4, K::Rgb555,
                         K::Masks565, K::Masks32, K::Os2}) {
        SCOPED_TRACE(static_cast<int>(kind));
        WriteFile("Grafik/Val/p.bmp", QuarterBitmap(kind, 30, 20));
        SurfaceRequest request = Request(0, 0, 0, 0);
        const auto surface = GameUtil::LoadPictureSurface("Grafik\\Val\\p.bmp", request);
        EXPECT_EQ(request, Request(7, 0x40, 30, 20));
        ExpectQuarters(*surface);
        // Same size: the pixels are converted exactly, on both sides of each quarter's edge
        // (16-bit bitmaps hold the colours only to five or six bits).
        if (kind != K::Rgb555 && kind != K::Masks565) {
            EXPECT_EQ(surface->PixelAt(14, 9), ColorToPixel(0x1010F0));
            EXPECT_EQ(surface->PixelAt(15, 10), ColorToPixel(0x10F0F0));
        }

        SurfaceRequest big = Request(7, 0x840, 100, 60);
        ExpectQuarters(*GameUtil::LoadPictureSurface("Grafik\\Val\\p.bmp", big));
    }
}

TEST_F(PictureLoading, TheCrossKeyMakesBlackTransparent) {
    WriteMenuPicture(".", "Grafik\\Meny\\Val\\kryss.bmp");
    SurfaceRequest request = Request(7, 0x840, 51, 54);
    const auto cross = GameUtil::LoadPictureSurface("Grafik\\Meny\\Val\\kryss.bmp", request);
    EXPECT_FALSE(cross->ColorKey().has_value());  // the loader sets no key
    cross->SetColorKey(8, 0, 0);

    SurfaceRequest targetRequest = Request(7, 0x840, 100, 100);
    const auto target = GameUtil::displayDevice->CreateSurface(targetRequest);
    const uint16_t magenta = ColorToPixel(0xFF00FF);
    for (int32_t flags : {16, 17}) {
        target->BltColorFill({0, 0, 100, 100}, 0xFF00FF);
        EXPECT_EQ(target->BltFast(20, 10, cross.get(), {0, 0, 51, 54}, flags), 0);
        const Rgb crossColour = ColourOf("Grafik\\Meny\\Val\\kryss.bmp");
        // The cross's lines always show; its black background only without the key.
        EXPECT_TRUE(Shows(target->PixelAt(20, 10), crossColour)) << flags;
        EXPECT_TRUE(Shows(target->PixelAt(20 + 25, 10 + 27), crossColour)) << flags;
        EXPECT_EQ(target->PixelAt(20 + 25, 10), flags == 17 ? magenta : 0) << flags;
        EXPECT_EQ(target->PixelAt(20, 10 + 27), flags == 17 ? magenta : 0) << flags;
        EXPECT_EQ(target->PixelAt(19, 10), magenta) << flags;
    }
}

}  // namespace
}  // namespace testing_support
