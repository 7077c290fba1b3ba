#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// A decoded picture: 3 bytes a pixel in the order R, G, B; rows without padding.
struct DecodedPicture {
    int32_t width = 0;  // of `pixels`, possibly reduced from the full size
    int32_t height = 0;
    std::vector<uint8_t> pixels;
    // The full picture's physical size in hundredths of a millimetre, as at 96 dpi.
    int32_t physicalWidth = 0;
    int32_t physicalHeight = 0;
};

inline constexpr int32_t kLargestPictureSide = 16384;

// Decodes JPEG and BMP files. Where the caller wants the picture at most half its size in both
// directions (`wantWidth`, `wantHeight`; 0 for the full size), the decoder may deliver it
// reduced, never smaller than wanted. A missing, truncated or undecodable file, or one larger
// than 16384 pixels on a side, throws SystemFailure naming the file. The result stays valid
// until the next call (the decoder reuses its buffer, so loading many pictures costs no fresh
// memory each time).
class PictureDecoder {
  public:
    virtual ~PictureDecoder() = default;
    virtual const DecodedPicture& Decode(const std::string& nativePath, int32_t wantWidth,
                                         int32_t wantHeight) = 0;
};

// Hundredths of a millimetre of `pixels` at 96 dpi, rounded as the picture decoder reports them.
int32_t PixelsToHimetric(int32_t pixels);

}  // namespace platform
