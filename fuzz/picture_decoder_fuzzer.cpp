// Feeds arbitrary bytes, as a picture file, to the file picture decoder and to LoadPictureSurface.
// Every input must either load or fail with SystemFailure; anything else is a finding.
#include <turbojpeg.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "graphics/picture_loader.h"
#include "platform/portable/file_picture_decoder.h"
#include "platform/headless/headless_platform.h"
#include "display/display_objects.h"
#include "base/system_failure.h"

namespace {

// Pictures whose header claims more than this many pixels are only decoded reduced: in full they
// need gigabytes, which says nothing about the decoder's correctness and stalls the fuzzer.
constexpr int64_t kLargestFullDecode = int64_t{4096} * 4096;

struct Harness {
    Harness()
        : file("/tmp/quillowbee-picture-fuzz-" + std::to_string(::getpid())),
          decoder(platform::CreateFilePictureDecoder()),
          header(tjInitDecompress()) {
        GameUtil::displayDevice = std::make_unique<DisplayDevice>(platform.display, platform.text);
    }
    headless::Platform platform;
    std::string file;
    std::unique_ptr<platform::PictureDecoder> decoder;
    tjhandle header;
};

bool ClaimsHugePicture(tjhandle header, const uint8_t* data, size_t size) {
    int width = 0, height = 0, subsampling = 0, colorspace = 0;
    if (size >= 2 && data[0] == 'B' && data[1] == 'M') {
        return false;  // a bitmap must hold all its pixels, so its size is bounded by the input
    }
    if (tjDecompressHeader3(header, data, size, &width, &height, &subsampling, &colorspace) != 0) {
        return false;
    }
    return int64_t{width} * height > kLargestFullDecode;
}

template <typename F>
void ExpectSuccessOrSystemFailure(F&& step) {
    try {
        step();
    } catch (const SystemFailure&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Harness harness;
    std::FILE* out = std::fopen(harness.file.c_str(), "wb");
    if (out == nullptr) {
        return 0;
    }
    std::fwrite(data, 1, size, out);
    std::fclose(out);

    const bool huge = ClaimsHugePicture(harness.header, data, size);
    if (!huge) {
        ExpectSuccessOrSystemFailure([&] { harness.decoder->Decode(harness.file, 0, 0); });
        ExpectSuccessOrSystemFailure([&] {
            SurfaceRequest natural;
            GameUtil::LoadPictureSurface(harness.file, natural);
        });
    }
    ExpectSuccessOrSystemFailure([&] { harness.decoder->Decode(harness.file, 800, 600); });
    // A small odd size rather than the menus' 800 x 600: the same stretching code, shrinking or
    // enlarging, at a fraction of the cost per input.
    ExpectSuccessOrSystemFailure([&] {
        SurfaceRequest sized;
        sized.flags = 7;
        sized.caps = 0x840;
        sized.width = 33;
        sized.height = 17;
        GameUtil::LoadPictureSurface(harness.file, sized);
    });
    return 0;
}
