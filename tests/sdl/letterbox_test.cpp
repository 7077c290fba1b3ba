#include "platform/sdl/letterbox.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

struct FitCase {
    int32_t windowWidth, windowHeight;
    Letterbox expected;
};

TEST(LetterboxTest, PictureFillsTheWindowWithItsAspectKept) {
    const FitCase cases[] = {
        {800, 600, {0, 0, 800, 600}},     // its own size
        {1024, 768, {0, 0, 1024, 768}},   // same aspect, larger
        {1280, 720, {160, 0, 960, 720}},  // wide screen: bars left and right
        {1920, 1080, {240, 0, 1440, 1080}},
        {1280, 1024, {0, 32, 1280, 960}},  // 5:4: bars above and below
        {1366, 768, {171, 0, 1024, 768}},  // odd leftover: the extra pixel goes right
        {801, 600, {0, 0, 800, 600}},      // one column too many still fits 800 wide
        {400, 300, {0, 0, 400, 300}},      // smaller than the picture
        {0, 600, {0, 0, 0, 0}},            // no window
    };
    for (const FitCase& c : cases) {
        EXPECT_EQ(FitPicture(c.windowWidth, c.windowHeight, 800, 600), c.expected)
            << c.windowWidth << " x " << c.windowHeight;
    }
}

struct PointCase {
    int32_t windowWidth, windowHeight;
    int32_t windowX, windowY;
    Point expected;
};

TEST(LetterboxTest, WindowPositionsReadAsPicturePixelsClampedOffTheBars) {
    const PointCase cases[] = {
        {800, 600, 0, 0, {0, 0}},
        {800, 600, 799, 599, {799, 599}},
        {1280, 720, 640, 360, {400, 300}},  // the middle is the middle, not one short of it
        {1280, 720, 160, 0, {0, 0}},        // first column of the picture
        {1280, 720, 159, 100, {0, 83}},     // left bar
        {1280, 720, 0, 0, {0, 0}},
        {1280, 720, 1119, 719, {799, 599}},  // last column of the picture
        {1280, 720, 1120, 300, {799, 250}},  // right bar
        {1280, 720, 1279, 719, {799, 599}},
        {1280, 1024, 640, 10, {400, 0}},      // top bar
        {1280, 1024, 640, 1000, {400, 599}},  // bottom bar
        {1024, 768, 333, 192, {260, 150}},
        {800, 600, -40, 700, {0, 599}},  // outside the window altogether (a grab lost)
        {400, 300, 399, 299, {799, 599}},
    };
    for (const PointCase& c : cases) {
        const Letterbox box = FitPicture(c.windowWidth, c.windowHeight, 800, 600);
        EXPECT_EQ(PictureFromWindow(box, 800, 600, c.windowX, c.windowY), c.expected)
            << c.windowWidth << " x " << c.windowHeight << " at " << c.windowX << ", " << c.windowY;
    }
}

// A warped pointer must read back as the pixel it was sent to, or keyboard users would see
// the highlight one cell off.
TEST(LetterboxTest, EveryWarpTargetReadsBackAsItsOwnPixel) {
    const std::pair<int32_t, int32_t> windows[] = {
        {800, 600},  {1024, 768},  {1280, 720},  {1280, 1024},
        {1366, 768}, {1920, 1080}, {2560, 1440}, {1000, 601},
    };
    for (const auto& [width, height] : windows) {
        const Letterbox box = FitPicture(width, height, 800, 600);
        for (int32_t x = 0; x < 800; ++x) {
            const int32_t y = x * 599 / 799;
            const Point window = WindowFromPicture(box, 800, 600, x, y);
            ASSERT_GE(window.x, box.x);
            ASSERT_LT(window.x, box.x + box.width);
            ASSERT_EQ(PictureFromWindow(box, 800, 600, window.x, window.y), (Point{x, y}))
                << width << " x " << height << " pixel " << x;
        }
    }
}

}  // namespace
}  // namespace platform
