#include "graphics/picture_loader.h"

#include <algorithm>

#include "base/numeric.h"
#include "base/system_failure.h"
#include "display/display_objects.h"
#include "graphics/resample.h"
#include "platform/portable/decode_pool.h"
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

// The request completed for a picture of this natural size.
void CompleteRequest(SurfaceRequest& request, int32_t naturalWidth, int32_t naturalHeight) {
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
}

// Pictures decoded and stretched on the helpers straight into the memory of their surfaces,
// waiting for their loads.
struct ReadingAhead {
    struct Picture {
        SurfacePixels pixels;  // at the loaded size
        int32_t naturalWidth = 0;
        int32_t naturalHeight = 0;
    };
    explicit ReadingAhead(SurfacePixelSource memory) : memory(std::move(memory)) {}
    SurfacePixelSource memory;
    std::vector<PictureFile> files;
    std::vector<Picture> pictures;
    size_t taken = 0;

    void Read(size_t i, platform::PictureDecoder& decoder);
};

std::unique_ptr<ReadingAhead> readingAhead;
// The helpers and their decoders stay from one batch to the next.
std::unique_ptr<platform::DecodePool> helpers;

void ReadingAhead::Read(size_t i, platform::PictureDecoder& decoder) {
    const PictureFile& file = files[i];
    const platform::DecodedPicture& decoded =
        decoder.Decode(platform::NativePath(file.path), file.width, file.height);
    Picture& picture = pictures[i];
    picture.naturalWidth = NaturalSize(decoded.physicalWidth);
    picture.naturalHeight = NaturalSize(decoded.physicalHeight);
    const int32_t width = file.width != 0 ? file.width : picture.naturalWidth;
    const int32_t height = file.height != 0 ? file.height : picture.naturalHeight;
    picture.pixels = memory.Take(width, height);
    StretchPicture(decoded, picture.pixels.Data(), std::max(width, 0), std::max(height, 0));
}

// The next picture read ahead when it is `path` at the requested size: its slot in `ahead`.
ReadingAhead::Picture* TakeReadAhead(const std::string& path, const SurfaceRequest& request) {
    ReadingAhead* ahead = readingAhead.get();
    if (ahead == nullptr) {
        return nullptr;
    }
    if (ahead->taken == ahead->files.size() ||
        ahead->files[ahead->taken] != PictureFile{path, request.width, request.height}) {
        DropReadAhead();
        return nullptr;
    }
    try {
        helpers->TakeNext(*platform::Current().pictures);
    } catch (...) {
        DropReadAhead();
        throw;
    }
    return &ahead->pictures[ahead->taken++];
}

}  // namespace

void ReadAhead(const std::vector<PictureFile>& files) {
    const platform::Services& services = platform::Current();
    if (services.helperThreads == 0 || !services.newPictureDecoder || files.empty() ||
        !displayDevice) {
        return;
    }
    if (readingAhead && readingAhead->files.size() - readingAhead->taken >= files.size() &&
        std::equal(files.begin(), files.end(), readingAhead->files.begin() + readingAhead->taken)) {
        return;
    }
    DropReadAhead();
    if (!helpers) {
        helpers = std::make_unique<platform::DecodePool>(services.newPictureDecoder,
                                                         services.helperThreads);
    }
    readingAhead = std::make_unique<ReadingAhead>(displayDevice->PixelSource());
    readingAhead->files = files;
    readingAhead->pictures.resize(files.size());
    // The helpers run as far ahead as they can (while the screen is taken, say): a picture
    // waiting for its load already sits in the memory its surface will have.
    ReadingAhead& state = *readingAhead;
    helpers->Start(files.size(), [&state](size_t i, platform::PictureDecoder& decoder) {
        state.Read(i, decoder);
    });
}

void DropReadAhead() {
    if (helpers) {
        helpers->Start(0, {});  // what still runs for the batch ends before its data goes
    }
    readingAhead.reset();
}

void EndReadAhead() {
    DropReadAhead();
    helpers.reset();
}

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
    if (ReadingAhead::Picture* ahead = TakeReadAhead(path, request)) {
        CompleteRequest(request, ahead->naturalWidth, ahead->naturalHeight);
        std::unique_ptr<Surface> surface =
            displayDevice->CreateSurfaceFrom(request, std::move(ahead->pixels));
        if (readingAhead->taken == readingAhead->files.size()) {
            DropReadAhead();
        }
        return surface;
    }
    const platform::DecodedPicture& picture = platform::Current().pictures->Decode(
        platform::NativePath(path), request.width, request.height);
    CompleteRequest(request, NaturalSize(picture.physicalWidth),
                    NaturalSize(picture.physicalHeight));
    // The picture fills every pixel, so the surface need not be cleared first.
    std::unique_ptr<Surface> surface = displayDevice->CreateSurfaceForOverwrite(request);
    StretchPicture(picture, *surface);
    return surface;
}

}  // namespace GameUtil
