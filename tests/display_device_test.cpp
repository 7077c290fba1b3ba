#include "display/display_device.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <set>
#include <string>
#include <utility>

#include "platform/headless/headless_platform.h"
#include "base/system_failure.h"

namespace {

constexpr uint16_t kBlank = 0xFFFF;

class DisplayDeviceTest : public ::testing::Test {
  protected:
    std::unique_ptr<Surface> Make(int32_t width, int32_t height) {
        SurfaceRequest r;
        r.flags = 7;
        r.caps = 0x840;
        r.width = width;
        r.height = height;
        return device.CreateSurface(r);
    }

    // A source whose every pixel tells where it came from: 1000 + 100 * y + x.
    std::unique_ptr<Surface> Numbered(int32_t width, int32_t height) {
        auto s = Make(width, height);
        for (int32_t y = 0; y < height; ++y) {
            for (int32_t x = 0; x < width; ++x) {
                s->Row(y)[x] = static_cast<uint16_t>(1000 + 100 * y + x);
            }
        }
        return s;
    }

    static void Fill(Surface& s, uint16_t pixel) {
        for (int32_t y = 0; y < s.Height(); ++y) {
            std::fill(s.Row(y), s.Row(y) + s.Width(), pixel);
        }
    }

    headless::Platform platform;
    DisplayDevice device{platform.display, platform.text};
};

struct ClipCase {
    const char* name;
    int32_t x, y;
    Rect source;
};

class BltFastClipping : public DisplayDeviceTest, public ::testing::WithParamInterface<ClipCase> {};

// Every destination pixel inside the placed source rectangle comes from the matching source
// pixel; everything else is untouched.
TEST_P(BltFastClipping, CopiesOnlyTheVisiblePart) {
    const ClipCase& c = GetParam();
    auto source = Numbered(6, 5);
    auto dest = Make(10, 8);
    Fill(*dest, kBlank);
    EXPECT_EQ(dest->BltFast(c.x, c.y, source.get(), c.source, 16), 0);
    for (int32_t y = 0; y < 8; ++y) {
        for (int32_t x = 0; x < 10; ++x) {
            const int64_t sx = int64_t{x} - c.x + c.source.left;
            const int64_t sy = int64_t{y} - c.y + c.source.top;
            const bool inside = sx >= c.source.left && sx < c.source.right && sy >= c.source.top &&
                                sy < c.source.bottom;
            const uint16_t expected = inside ? static_cast<uint16_t>(1000 + 100 * sy + sx) : kBlank;
            EXPECT_EQ(dest->PixelAt(x, y), expected) << "(" << x << ", " << y << ")";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Edges, BltFastClipping,
    ::testing::Values(
        ClipCase{"Inside", 2, 1, {0, 0, 6, 5}}, ClipCase{"PartOfTheSource", 3, 2, {1, 2, 4, 5}},
        ClipCase{"LeftEdge", -2, 1, {0, 0, 6, 5}}, ClipCase{"TopEdge", 1, -3, {0, 0, 6, 5}},
        ClipCase{"TopLeftCorner", -5, -4, {0, 0, 6, 5}}, ClipCase{"RightEdge", 7, 1, {0, 0, 6, 5}},
        ClipCase{"BottomEdge", 2, 6, {0, 0, 6, 5}},
        ClipCase{"BottomRightCorner", 9, 7, {0, 0, 6, 5}},
        ClipCase{"SubRectAcrossTheLeft", -2, -1, {2, 1, 5, 4}},
        ClipCase{"AllLeft", -6, 0, {0, 0, 6, 5}}, ClipCase{"AllAbove", 0, -5, {0, 0, 6, 5}},
        ClipCase{"AllRight", 10, 0, {0, 0, 6, 5}}, ClipCase{"AllBelow", 0, 8, {0, 0, 6, 5}},
        ClipCase{"FarAway", -100000, 100000, {0, 0, 6, 5}},
        ClipCase{"EmptySource", 1, 1, {3, 3, 3, 3}},
        ClipCase{"MostNegative", INT32_MIN, INT32_MIN, {0, 0, 6, 5}},
        ClipCase{"MostPositive", INT32_MAX, INT32_MAX, {0, 0, 6, 5}},
        ClipCase{"MostNegativeColumn", INT32_MIN, 1, {2, 0, 6, 5}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DisplayDeviceTest, SourceRectangleOutsideTheSourceIsRefused) {
    auto source = Numbered(6, 5);
    auto dest = Make(10, 8);
    const Rect bad[] = {{0, 0, 7, 5}, {0, 0, 6, 6}, {-1, 0, 3, 3}, {0, -1, 3, 3},
                        {4, 0, 3, 3}, {0, 4, 3, 3}, {6, 5, 7, 6}};
    for (const Rect& r : bad) {
        Fill(*dest, kBlank);
        EXPECT_NE(dest->BltFast(0, 0, source.get(), r, 16), 0)
            << r.left << "," << r.top << "," << r.right << "," << r.bottom;
        EXPECT_NE(dest->Blt({0, 0, 3, 3}, source.get(), r, 0x1000000), 0);
        EXPECT_EQ(dest->PixelAt(0, 0), kBlank);
    }
}

TEST_F(DisplayDeviceTest, BlitFromAnEmptySlotIsRefused) {
    auto dest = Make(10, 8);
    Fill(*dest, kBlank);
    EXPECT_NE(dest->BltFast(0, 0, nullptr, {0, 0, 5, 5}, 16), 0);
    EXPECT_NE(dest->BltFast(0, 0, nullptr, {0, 0, 5, 5}, 17), 0);
    EXPECT_NE(dest->Blt({0, 0, 5, 5}, nullptr, {0, 0, 5, 5}, 0x1000000), 0);
    EXPECT_EQ(dest->PixelAt(0, 0), kBlank);
}

TEST_F(DisplayDeviceTest, BlitsAreRefusedWhileTheDisplayIsLost) {
    auto source = Numbered(6, 5);
    auto dest = Make(10, 8);
    Fill(*dest, kBlank);
    platform.display.lost = true;
    EXPECT_EQ(device.TestCooperativeLevel(), 1);
    EXPECT_NE(dest->BltFast(0, 0, source.get(), {0, 0, 6, 5}, 16), 0);
    EXPECT_NE(dest->Blt({0, 0, 6, 5}, source.get(), {0, 0, 6, 5}, 0x1000000), 0);
    EXPECT_EQ(dest->PixelAt(0, 0), kBlank);
    platform.display.lost = false;
    EXPECT_EQ(dest->BltFast(0, 0, source.get(), {0, 0, 6, 5}, 16), 0);
    EXPECT_EQ(dest->PixelAt(0, 0), 1000);
}

TEST_F(DisplayDeviceTest, ColourKeySkipsOnlyKeyPixelsAndOnlyWithTheKeyFlag) {
    auto source = Make(4, 1);
    const uint16_t row[4] = {0, 0x1234, 0, 0xF800};
    std::copy(row, row + 4, source->Row(0));
    auto dest = Make(6, 1);
    const struct {
        bool keySet;
        int32_t flags;
        std::vector<uint16_t> expected;
    } cases[] = {
        {false, 16, {kBlank, 0, 0x1234, 0, 0xF800, kBlank}},
        {false, 17, {kBlank, 0, 0x1234, 0, 0xF800, kBlank}},
        {true, 16, {kBlank, 0, 0x1234, 0, 0xF800, kBlank}},
        {true, 17, {kBlank, kBlank, 0x1234, kBlank, 0xF800, kBlank}},
    };
    for (const auto& c : cases) {
        auto keyed = Make(4, 1);
        std::copy(row, row + 4, keyed->Row(0));
        if (c.keySet) keyed->SetColorKey(8, 0, 0);
        Fill(*dest, kBlank);
        EXPECT_EQ(dest->BltFast(1, 0, keyed.get(), {0, 0, 4, 1}, c.flags), 0);
        std::vector<uint16_t> got(dest->Row(0), dest->Row(0) + 6);
        EXPECT_EQ(got, c.expected) << "key " << c.keySet << " flags " << c.flags;
    }
    // A key of another colour.
    source->SetColorKey(8, 0xF800, 0xF800);
    Fill(*dest, kBlank);
    dest->BltFast(1, 0, source.get(), {0, 0, 4, 1}, 17);
    EXPECT_EQ(std::vector<uint16_t>(dest->Row(0), dest->Row(0) + 6),
              (std::vector<uint16_t>{kBlank, 0, 0x1234, 0, kBlank, kBlank}));
    EXPECT_THROW(source->SetColorKey(2, 0, 0), SystemFailure);
}

TEST_F(DisplayDeviceTest, BltCopiesAndStretchesIntoTheDestinationRectangle) {
    auto source = Numbered(4, 2);
    auto dest = Make(10, 6);
    Fill(*dest, kBlank);
    EXPECT_EQ(dest->Blt({1, 1, 5, 3}, source.get(), {0, 0, 4, 2}, 0x1000000), 0);
    EXPECT_EQ(dest->PixelAt(1, 1), 1000);
    EXPECT_EQ(dest->PixelAt(4, 2), 1103);
    EXPECT_EQ(dest->PixelAt(0, 1), kBlank);
    EXPECT_EQ(dest->PixelAt(5, 1), kBlank);
    // Twice the size: every source pixel becomes a 2 x 2 block; clipped at the right edge.
    Fill(*dest, kBlank);
    EXPECT_EQ(dest->Blt({4, 1, 12, 5}, source.get(), {0, 0, 4, 2}, 0x1000000), 0);
    EXPECT_EQ(dest->PixelAt(4, 1), 1000);
    EXPECT_EQ(dest->PixelAt(5, 2), 1000);
    EXPECT_EQ(dest->PixelAt(6, 1), 1001);
    EXPECT_EQ(dest->PixelAt(9, 4), 1102);
    EXPECT_EQ(dest->PixelAt(3, 1), kBlank);
    EXPECT_EQ(dest->PixelAt(4, 5), kBlank);
    // A destination as large as 32 bits allow: the surface lies just right of its middle.
    Fill(*dest, kBlank);
    EXPECT_EQ(dest->Blt({INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, source.get(), {0, 0, 4, 2},
                        0x1000000),
              0);
    EXPECT_EQ(dest->PixelAt(0, 0), 1102);
    EXPECT_EQ(dest->PixelAt(9, 5), 1102);
}

TEST_F(DisplayDeviceTest, ColourFillIsClippedToTheSurface) {
    auto dest = Make(10, 8);
    const struct {
        Rect r;
        int x0, y0, x1, y1;  // expected filled area, exclusive ends
    } cases[] = {
        {{2, 3, 5, 6}, 2, 3, 5, 6},     {{-5, -5, 3, 2}, 0, 0, 3, 2}, {{8, 6, 20, 20}, 8, 6, 10, 8},
        {{-1, -1, 11, 9}, 0, 0, 10, 8}, {{12, 0, 20, 8}, 0, 0, 0, 0}, {{0, 9, 10, 20}, 0, 0, 0, 0},
        {{5, 5, 3, 7}, 0, 0, 0, 0},     {{3, 3, 3, 3}, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        Fill(*dest, kBlank);
        dest->BltColorFill(c.r, 0x0000FF);
        for (int32_t y = 0; y < 8; ++y) {
            for (int32_t x = 0; x < 10; ++x) {
                const bool in = x >= c.x0 && x < c.x1 && y >= c.y0 && y < c.y1;
                EXPECT_EQ(dest->PixelAt(x, y), in ? 0xF800 : kBlank)
                    << c.r.left << "," << c.r.top << "," << c.r.right << "," << c.r.bottom << " at "
                    << x << "," << y;
            }
        }
    }
}

TEST_F(DisplayDeviceTest, ColoursBecomeRgb565) {
    const std::pair<uint32_t, uint16_t> cases[] = {
        {0x000000, 0x0000}, {0xFFFFFF, 0xFFFF}, {0x0000FF, 0xF800}, {0x00FF00, 0x07E0},
        {0xFF0000, 0x001F}, {0xFF00FF, 0xF81F}, {0x080408, 0x0821}, {0x070307, 0x0000}};
    for (const auto& [colour, pixel] : cases) {
        EXPECT_EQ(ColorToPixel(colour), pixel) << std::hex << colour;
    }
}

TEST_F(DisplayDeviceTest, CircleOfRadiusTenIsOnlyItsOutline) {
    auto s = Make(41, 41);
    Fill(*s, 0);
    s->SetForeColor(0xFFFFFF);
    s->DrawCircle(20, 20, 10);
    std::set<std::pair<int, int>> plotted;
    for (int32_t y = 0; y < 41; ++y) {
        for (int32_t x = 0; x < 41; ++x) {
            if (s->PixelAt(x, y) == 0xFFFF) plotted.insert({x - 20, y - 20});
            EXPECT_TRUE(s->PixelAt(x, y) == 0xFFFF || s->PixelAt(x, y) == 0);
        }
    }
    ASSERT_FALSE(plotted.empty());
    for (const auto& [dx, dy] : plotted) {
        const double r = std::hypot(dx, dy);
        EXPECT_GE(r, 9.4) << dx << "," << dy;
        EXPECT_LE(r, 10.6) << dx << "," << dy;
        // The eight symmetries of a circle.
        for (const auto& m : {std::pair{-dx, dy}, std::pair{dx, -dy}, std::pair{dy, dx},
                              std::pair{-dy, -dx}, std::pair{-dx, -dy}}) {
            EXPECT_TRUE(plotted.count(m))
                << dx << "," << dy << " without " << m.first << "," << m.second;
        }
    }
    for (const auto& p : {std::pair{10, 0}, std::pair{-10, 0}, std::pair{0, 10}, std::pair{0, -10},
                          std::pair{7, 7}, std::pair{-7, -7}}) {
        EXPECT_TRUE(plotted.count(p)) << p.first << "," << p.second;
    }
    EXPECT_FALSE(plotted.count({0, 0}));
    // A closed ring: every row of the circle from top to bottom has a point.
    for (int dy = -10; dy <= 10; ++dy) {
        bool any = false;
        for (int dx = -10; dx <= 10; ++dx) any = any || plotted.count({dx, dy});
        EXPECT_TRUE(any) << dy;
    }
}

TEST_F(DisplayDeviceTest, CircleAtTheCornerIsClipped) {
    auto s = Make(20, 20);
    Fill(*s, 0);
    s->SetForeColor(0x00FF00);
    s->DrawCircle(0, 0, 10);
    s->DrawCircle(19, 19, 10);
    EXPECT_EQ(s->PixelAt(10, 0), 0x07E0);
    EXPECT_EQ(s->PixelAt(0, 10), 0x07E0);
    EXPECT_EQ(s->PixelAt(9, 19), 0x07E0);
    EXPECT_EQ(s->PixelAt(0, 0), 0);
}

TEST_F(DisplayDeviceTest, SurfacesHaveExactlyTheRequestedSize) {
    for (const auto& [w, h] : {std::pair{1, 1}, std::pair{23, 23}, std::pair{51, 54},
                               std::pair{800, 600}, std::pair{16384, 1}, std::pair{1, 16384}}) {
        auto s = Make(w, h);
        EXPECT_EQ(s->Width(), w);
        EXPECT_EQ(s->Height(), h);
        EXPECT_EQ(s->Caps(), 0x840);
        EXPECT_EQ(s->PixelAt(w - 1, h - 1), 0);
    }
}

TEST_F(DisplayDeviceTest, ImpossibleSurfacesAreAFailure) {
    const struct {
        int32_t flags, width, height;
    } cases[] = {{7, 0, 10},    {7, 10, 0},    {7, -1, 10},
                 {7, 16385, 1}, {7, 1, 16385}, {3, 10, 10},  // width not valid
                 {5, 10, 10}};                               // height not valid
    for (const auto& c : cases) {
        SurfaceRequest r;
        r.flags = c.flags;
        r.caps = 0x840;
        r.width = c.width;
        r.height = c.height;
        EXPECT_THROW(device.CreateSurface(r), SystemFailure) << c.width << " x " << c.height;
    }
}

TEST_F(DisplayDeviceTest, PrimarySurfaceFlipsItsBackBuffer) {
    SurfaceRequest r;
    r.flags = 0x21;
    r.caps = 0x218;
    r.backBufferCount = 1;
    auto primary = device.CreateSurface(r);
    Surface* back = primary->GetAttachedSurface(4);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->Width(), 800);
    EXPECT_EQ(back->Height(), 600);
    back->BltColorFill({0, 0, 800, 600}, 0xFF0000);
    back->BltColorFill({799, 599, 800, 600}, 0x0000FF);
    primary->Flip(nullptr, 1);
    EXPECT_EQ(platform.display.presents, 1);
    EXPECT_EQ(platform.display.PixelAt(0, 0), 0x001F);
    EXPECT_EQ(platform.display.PixelAt(799, 599), 0xF800);
    auto plain = Make(4, 4);
    EXPECT_THROW(plain->Flip(nullptr, 1), SystemFailure);
    EXPECT_THROW(plain->GetAttachedSurface(4), SystemFailure);
}

TEST_F(DisplayDeviceTest, TextLandsAtItsTopLeftCornerInTheForeColour) {
    auto s = Make(40, 30);
    Fill(*s, 0);
    s->SetFont({"Century Gothic", 11.25, 700});
    s->SetForeColor(0x0000FF);
    s->DrawText(5, 7, "AB");
    ASSERT_EQ(platform.text.calls.size(), 1u);
    EXPECT_EQ(platform.text.calls[0].text, "AB");
    EXPECT_EQ(platform.text.calls[0].font, (platform::FontSpec{"Century Gothic", 11.25, 700}));
    // The headless renderer draws each character as a 6 x 11 block, 1 right and 2 down in an
    // 8 x 15 cell.
    for (int32_t y = 0; y < 30; ++y) {
        for (int32_t x = 0; x < 40; ++x) {
            const int cx = x - 5, cy = y - 7;
            const bool ink = cy >= 2 && cy < 13 && cx >= 0 && cx < 16 && cx % 8 >= 1 && cx % 8 < 7;
            EXPECT_EQ(s->PixelAt(x, y), ink ? 0xF800 : 0) << x << "," << y;
        }
    }
    // Clipped at the edges.
    Fill(*s, 0);
    s->DrawText(-3, -4, "A");
    s->DrawText(36, 25, "A");
    EXPECT_EQ(s->PixelAt(0, 0), 0xF800);
    EXPECT_EQ(s->PixelAt(2, 8), 0xF800);
    EXPECT_EQ(s->PixelAt(3, 0), 0xF800);
    EXPECT_EQ(s->PixelAt(4, 0), 0);
    EXPECT_EQ(s->PixelAt(39, 29), 0xF800);
}

}  // namespace
