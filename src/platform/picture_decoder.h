#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// A decoded picture: RGB, 3 bytes a pixel, rows without padding.
struct DecodedPicture {
    int32_t width = 0;  // of `rgb`, possibly reduced from the full size
    int32_t height = 0;
    std::vector<uint8_t> rgb;
    // The full picture's physical size in hundredths of a millimetre, as at 96 dpi.
    int32_t physicalWidth = 0;
    int32_t physicalHeight = 0;
};

// Decodes JPEG and BMP files. Where the caller wants the picture at most half its size in both
// directions (`wantWidth`, `wantHeight`, 0 for the full size), the decoder may deliver it reduced,
// never smaller than wanted. A missing, truncated or undecodable file, or one larger than 16384
// pixels on a side, throws SystemFailure naming the file.
class PictureDecoder {
public:
    virtual ~PictureDecoder() = default;
    virtual DecodedPicture Decode(const std::string& nativePath, int32_t wantWidth,
                                  int32_t wantHeight) = 0;
};

}  // namespace platform
