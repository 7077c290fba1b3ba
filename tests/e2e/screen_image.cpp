#include "screen_image.h"

#include <turbojpeg.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <stdexcept>

namespace e2e {

Image& Image::Paste(const Image& part, int x, int y) {
    for (int row = 0; row < part.Height(); ++row) {
        for (int column = 0; column < part.Width(); ++column) {
            const int tx = x + column;
            const int ty = y + row;
            if (tx >= 0 && ty >= 0 && tx < width_ && ty < height_) {
                std::memcpy(Pixel(tx, ty), part.Pixel(column, row), 3);
            }
        }
    }
    return *this;
}

Image LoadJpeg(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    if (!in.good() && !in.eof()) {
        throw std::runtime_error("cannot read " + file.string());
    }
    std::unique_ptr<void, int (*)(tjhandle)> decoder(tjInitDecompress(), tjDestroy);
    int width = 0;
    int height = 0;
    int subsampling = 0;
    int colourspace = 0;
    auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    if (bytes.empty() || decoder == nullptr ||
        tjDecompressHeader3(decoder.get(), data, bytes.size(), &width, &height, &subsampling,
                            &colourspace) != 0) {
        throw std::runtime_error("not a JPEG picture: " + file.string());
    }
    Image image(width, height);
    if (tjDecompress2(decoder.get(), data, bytes.size(), image.Pixel(0, 0), width, 0, height,
                      TJPF_RGB, TJFLAG_ACCURATEDCT) != 0) {
        throw std::runtime_error("cannot decode " + file.string() + ": " +
                                 tjGetErrorStr2(decoder.get()));
    }
    return image;
}

Image ParsePpm(const std::string& bytes) {
    std::istringstream in(bytes);
    std::string magic;
    int width = 0, height = 0, maximum = 0;
    in >> magic >> width >> height >> maximum;
    const size_t size = 3u * width * height;
    if (magic != "P6" || width <= 0 || height <= 0 || maximum != 255 || in.get() == EOF ||
        bytes.size() < static_cast<size_t>(in.tellg()) + size) {
        throw std::runtime_error("not a whole binary PPM with 8-bit samples");
    }
    Image image(width, height);
    std::memcpy(image.Pixel(0, 0), bytes.data() + in.tellg(), size);
    return image;
}

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

bool Distinct(const Image& before, const Image& after) {
    // Twice the tolerance: a patch that far off stays off by more than the tolerance even
    // when the screen adds its own small differences.
    return Compare(before, after).largest > 2 * kTolerance;
}

}  // namespace e2e
