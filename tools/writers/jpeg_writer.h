#pragma once

#include <cstdint>
#include <string>
#include <vector>

// JPEG files made with TurboJPEG, for the demo content, the tests, the benchmarks and the fuzzers'
// seeds.
namespace writers {

enum class JpegPixels { Rgb, Bgrx, Gray, Cmyk };
enum class JpegSampling { Full, HalfWide, Half, Gray };  // 4:4:4, 4:2:2, 4:2:0, grey only

struct JpegOptions {
    int quality = 95;
    JpegSampling sampling = JpegSampling::Full;
    bool progressive = false;
};

// `pixels` holds `height` rows of `stride` bytes (0: rows packed one after another). Throws
// std::runtime_error when TurboJPEG refuses.
std::string EncodeJpeg(const uint8_t* pixels, int width, int height, int stride, JpegPixels layout,
                       const JpegOptions& options = {});
// From R, G, B bytes, rows from the top.
std::string EncodeJpeg(const std::vector<uint8_t>& rgb, int width, int height,
                       const JpegOptions& options = {});
// One flat colour.
std::string EncodeFlatJpeg(int width, int height, uint8_t r, uint8_t g, uint8_t b);

}  // namespace writers
