#include "jpeg_writer.h"

#include <turbojpeg.h>

#include <stdexcept>

namespace writers {
namespace {

// One compressor a thread: TurboJPEG handles are not shared between threads.
class Compressor {
  public:
    Compressor() : handle_(tjInitCompress()) {
        if (handle_ == nullptr) throw std::runtime_error("cannot start the JPEG encoder");
    }
    ~Compressor() { tjDestroy(handle_); }
    Compressor(const Compressor&) = delete;
    Compressor& operator=(const Compressor&) = delete;
    tjhandle Get() const { return handle_; }

  private:
    tjhandle handle_;
};

int PixelFormat(JpegPixels layout) {
    switch (layout) {
        case JpegPixels::Rgb:
            return TJPF_RGB;
        case JpegPixels::Bgrx:
            return TJPF_BGRX;
        case JpegPixels::Gray:
            return TJPF_GRAY;
        case JpegPixels::Cmyk:
            return TJPF_CMYK;
    }
    return TJPF_RGB;
}

int Subsampling(JpegSampling sampling) {
    switch (sampling) {
        case JpegSampling::Full:
            return TJSAMP_444;
        case JpegSampling::HalfWide:
            return TJSAMP_422;
        case JpegSampling::Half:
            return TJSAMP_420;
        case JpegSampling::Gray:
            return TJSAMP_GRAY;
    }
    return TJSAMP_444;
}

}  // namespace

std::string EncodeJpeg(const uint8_t* pixels, int width, int height, int stride, JpegPixels layout,
                       const JpegOptions& options) {
    thread_local Compressor compressor;
    // A worst-case buffer kept between calls: no allocation for each of many pictures.
    thread_local std::vector<unsigned char> buffer;
    const int subsampling = Subsampling(options.sampling);
    const unsigned long capacity = tjBufSize(width, height, subsampling);
    if (capacity == static_cast<unsigned long>(-1)) {
        throw std::runtime_error("no JPEG of " + std::to_string(width) + " x " +
                                 std::to_string(height) + " pixels");
    }
    if (buffer.size() < capacity) buffer.resize(capacity);
    unsigned char* jpeg = buffer.data();
    unsigned long size = capacity;
    const int flags = TJFLAG_NOREALLOC | (options.progressive ? TJFLAG_PROGRESSIVE : 0);
    if (tjCompress2(compressor.Get(), pixels, width, stride, height, PixelFormat(layout), &jpeg,
                    &size, subsampling, options.quality, flags) != 0) {
        throw std::runtime_error(std::string("JPEG encoding failed: ") +
                                 tjGetErrorStr2(compressor.Get()));
    }
    return std::string(reinterpret_cast<const char*>(jpeg), size);
}

std::string EncodeJpeg(const std::vector<uint8_t>& rgb, int width, int height,
                       const JpegOptions& options) {
    if (width <= 0 || height <= 0 || rgb.size() != static_cast<size_t>(width) * height * 3) {
        throw std::runtime_error("JPEG pixels do not match the picture size");
    }
    return EncodeJpeg(rgb.data(), width, height, 0, JpegPixels::Rgb, options);
}

std::string EncodeFlatJpeg(int width, int height, uint8_t r, uint8_t g, uint8_t b) {
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    for (size_t i = 0; i < rgb.size(); i += 3) {
        rgb[i] = r;
        rgb[i + 1] = g;
        rgb[i + 2] = b;
    }
    return EncodeJpeg(rgb, width, height);
}

}  // namespace writers
