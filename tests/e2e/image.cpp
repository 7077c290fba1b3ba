#include "image.h"

#include <turbojpeg.h>

#include <cctype>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
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

namespace {

// The next header number of a PPM, past white space and comments.
int HeaderNumber(const std::string& bytes, size_t& at) {
    for (;;) {
        while (at < bytes.size() && std::isspace(static_cast<unsigned char>(bytes[at]))) {
            ++at;
        }
        if (at < bytes.size() && bytes[at] == '#') {
            while (at < bytes.size() && bytes[at] != '\n') {
                ++at;
            }
            continue;
        }
        break;
    }
    int value = 0;
    const size_t start = at;
    while (at < bytes.size() && std::isdigit(static_cast<unsigned char>(bytes[at])) &&
           at - start < 6) {
        value = value * 10 + (bytes[at++] - '0');
    }
    if (at == start) {
        throw std::runtime_error("a PPM header without its numbers");
    }
    return value;
}

}  // namespace

Image ParsePpm(const std::string& bytes) {
    if (bytes.compare(0, 2, "P6") != 0) {
        throw std::runtime_error("not a binary PPM");
    }
    size_t at = 2;
    const int width = HeaderNumber(bytes, at);
    const int height = HeaderNumber(bytes, at);
    const int maximum = HeaderNumber(bytes, at);
    if (width <= 0 || height <= 0 || maximum != 255) {
        throw std::runtime_error("a PPM of " + std::to_string(width) + " x " +
                                 std::to_string(height) + " with samples up to " +
                                 std::to_string(maximum));
    }
    ++at;  // the single white space before the samples
    Image image(width, height);
    const size_t size = 3u * width * height;
    if (bytes.size() < at + size) {
        throw std::runtime_error("a PPM cut short");
    }
    std::memcpy(image.Pixel(0, 0), bytes.data() + at, size);
    return image;
}

void WritePpm(const Image& image, const std::filesystem::path& file) {
    std::ofstream out(file, std::ios::binary);
    out << "P6\n" << image.Width() << ' ' << image.Height() << "\n255\n";
    out.write(reinterpret_cast<const char*>(image.Pixel(0, 0)),
              3 * static_cast<std::streamsize>(image.Width()) * image.Height());
}

}  // namespace e2e
