#include "graphics/picture_loader.h"

#include "base/numeric.h"
#include "base/system_failure.h"
#include "display/display_objects.h"
#include "graphics/resample.h"
#include "platform/portable/path_resolution.h"
#include "platform/services.h"

namespace GameUtil {

namespace {

// Twips per pixel of the 800 x 600 screen at 96 dpi.
constexpr double kTwipsPerPixel = 15.0;

// The picture's own size in pixels from its size in hundredths of a millimetre.
int32_t NaturalSize(int32_t himetric) {
    return Numeric::RoundToInt32(himetric * 0.001 * 567 / kTwipsPerPixel);
}

}  // namespace

SurfaceRequest OffScreenPictureRequest(int32_t width, int32_t height) {
    SurfaceRequest request;
    request.flags =
        DisplayFlags::kRequestCaps | DisplayFlags::kRequestHeight | DisplayFlags::kRequestWidth;
    request.caps = DisplayFlags::kCapsOffScreenPlain | DisplayFlags::kCapsSystemMemory;
    request.width = width;
    request.height = height;
    return request;
}

std::unique_ptr<Surface> LoadPictureSurface(const std::string& path, SurfaceRequest& request) {
    if (!displayDevice) {
        Fail(path + ": there is no display device to load it into");
    }
    const platform::DecodedPicture& picture = platform::Current().pictures->Decode(
        platform::NativePath(path), request.width, request.height);
    const int32_t naturalWidth = NaturalSize(picture.physicalWidth);
    const int32_t naturalHeight = NaturalSize(picture.physicalHeight);

    if (request.flags == 0) {
        request.flags = DisplayFlags::kRequestCaps;
    }
    request.flags |= DisplayFlags::kRequestHeight | DisplayFlags::kRequestWidth;
    if (request.caps == 0) {
        request.caps = DisplayFlags::kCapsOffScreenPlain;
    }
    if (request.width == 0) {
        request.width = naturalWidth;
    }
    if (request.height == 0) {
        request.height = naturalHeight;
    }
    // The picture fills every pixel, so the surface need not be cleared first.
    std::unique_ptr<Surface> surface = displayDevice->CreateSurfaceForOverwrite(request);
    StretchPicture(picture, *surface);
    return surface;
}

}  // namespace GameUtil
