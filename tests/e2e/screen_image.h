#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// Pictures on the screen and in files, and whether one shows the other.
namespace e2e {

// An 8-bit RGB picture, rows top to bottom.
class Image {
  public:
    Image() = default;
    Image(int width, int height) : width_(width), height_(height), rgb_(3u * width * height) {}

    int Width() const { return width_; }
    int Height() const { return height_; }
    const uint8_t* Pixel(int x, int y) const { return &rgb_[3u * (y * width_ + x)]; }
    uint8_t* Pixel(int x, int y) { return &rgb_[3u * (y * width_ + x)]; }

    // Copies all of `part` with its top left corner at (x, y), as the program lays a highlight
    // over a menu picture; what falls outside is cut off.
    Image& Paste(const Image& part, int x, int y);

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<uint8_t> rgb_;
};

// Decodes a JPEG file with TurboJPEG; throws naming the file when it cannot.
Image LoadJpeg(const std::filesystem::path& file);

// Reads a binary PPM (P6) with 8-bit samples, as `import ... -depth 8 ppm:-` writes it; throws on
// anything else.
Image ParsePpm(const std::string& bytes);

// The program shows its 800 x 600 picture on the whole 1024 x 768 test screen: 1.28 times as
// large both ways, with no bars.
constexpr int kPictureWidth = 800;
constexpr int kPictureHeight = 600;
constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

// The screen pixel whose middle lies on picture pixel `p`: the program reads it back as `p`.
Point ScreenFromPicture(Point p);
// The picture pixel under the middle of screen pixel `p`.
Point PictureFromScreen(Point p);

// How a screen differs from a picture, seen through the mean colours of small square patches of
// picture pixels. Means even out what lies between the files and the screen (JPEG decoding,
// 16-bit colour, scaling), while a different picture changes whole patches.
struct Difference {
    int patches = 0;  // patches whose mean colour differs by more than the tolerance
    int largest = 0;  // the largest difference of a colour channel in a patch mean
};

// Compares two pictures of any sizes that show the same 800 x 600 picture: none of the patches
// differ when `shown` is `expected`.
Difference Compare(const Image& shown, const Image& expected);

// Whether two pictures differ by so much that a screen showing one can never pass for the
// other: a check that waits for `after` where `before` was shown can then fail.
bool Distinct(const Image& before, const Image& after);

}  // namespace e2e
