#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

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
void WritePpm(const Image& image, const std::filesystem::path& file);

}  // namespace e2e
