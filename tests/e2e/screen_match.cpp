#include "screen_match.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <stdexcept>

namespace e2e {

namespace {

constexpr int kPatch = 8;  // picture pixels a side
constexpr int kColumns = kPictureWidth / kPatch;
constexpr int kRows = kPictureHeight / kPatch;
// Of 255, on a patch mean. A screen showing the right picture stays within about 15 of it; a
// different picture is off by far more in the patches where it differs.
constexpr int kTolerance = 24;

struct Means {
    std::vector<std::array<double, 3>> rgb = std::vector<std::array<double, 3>>(kColumns * kRows);
};

// The picture pixel under the middle of image pixel `i` of `size`.
int PictureCoordinate(int i, int size, int pictureSize) {
    return static_cast<int>((2LL * i + 1) * pictureSize / (2LL * size));
}

Means PatchMeans(const Image& image) {
    if (image.Width() <= 0 || image.Height() <= 0) {
        throw std::invalid_argument("an empty picture has no patches");
    }
    Means means;
    std::vector<int> counts(kColumns * kRows);
    for (int y = 0; y < image.Height(); ++y) {
        const int row = PictureCoordinate(y, image.Height(), kPictureHeight) / kPatch;
        for (int x = 0; x < image.Width(); ++x) {
            const int column = PictureCoordinate(x, image.Width(), kPictureWidth) / kPatch;
            const int patch = row * kColumns + column;
            const uint8_t* pixel = image.Pixel(x, y);
            for (int c = 0; c < 3; ++c) {
                means.rgb[patch][c] += pixel[c];
            }
            ++counts[patch];
        }
    }
    for (size_t patch = 0; patch < means.rgb.size(); ++patch) {
        for (double& channel : means.rgb[patch]) {
            channel /= std::max(counts[patch], 1);
        }
    }
    return means;
}

}  // namespace

Point ScreenFromPicture(Point p) {
    return {static_cast<int>((2LL * p.x + 1) * kScreenWidth / (2LL * kPictureWidth)),
            static_cast<int>((2LL * p.y + 1) * kScreenHeight / (2LL * kPictureHeight))};
}

Point PictureFromScreen(Point p) {
    return {PictureCoordinate(p.x, kScreenWidth, kPictureWidth),
            PictureCoordinate(p.y, kScreenHeight, kPictureHeight)};
}

std::string Difference::Describe() const {
    return std::to_string(patches) + " patches differ, by up to " + std::to_string(largest);
}

Difference Compare(const Image& shown, const Image& expected) {
    const Means a = PatchMeans(shown);
    const Means b = PatchMeans(expected);
    Difference difference;
    for (size_t patch = 0; patch < a.rgb.size(); ++patch) {
        int worst = 0;
        for (int c = 0; c < 3; ++c) {
            worst = std::max(worst,
                             static_cast<int>(std::abs(a.rgb[patch][c] - b.rgb[patch][c]) + 0.5));
        }
        difference.largest = std::max(difference.largest, worst);
        if (worst > kTolerance) {
            ++difference.patches;
        }
    }
    return difference;
}

bool Same(const Difference& difference) {
    return difference.patches == 0;
}

bool Distinct(const Image& before, const Image& after) {
    // Twice the tolerance: a patch that far off stays off by more than the tolerance even
    // when the screen adds its own small differences.
    return Compare(before, after).largest > 2 * kTolerance;
}

}  // namespace e2e
