#include "window_icon.h"

#include <cstdint>

namespace {

constexpr int32_t kSide = 64;

// kSide x kSide pixels, 0xAARRGGBB, written by quillowbee-make-demo --icons.
constexpr uint32_t kPixels[kSide * kSide] = {
#include <window_icon_pixels.inc>  // generated into the build folder
};

}  // namespace

platform::WindowIcon QuillowbeeWindowIcon() {
    return {kSide, kSide, kPixels};
}
