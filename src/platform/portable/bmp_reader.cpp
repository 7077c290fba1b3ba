#include "platform/portable/bmp_reader.h"

#include <SDL.h>

#include <cstring>
#include <memory>

#include "base/system_failure.h"
#include "platform/portable/sdl_thread_data.h"

namespace platform {

namespace {

using SurfacePtr = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

uint32_t Le(const std::string& b, size_t at, size_t bytes) {
    uint32_t value = 0;
    for (size_t i = bytes; i-- > 0;) {
        value = (value << 8) | static_cast<uint8_t>(b[at + i]);
    }
    return value;
}

// The size a bitmap's header declares, checked before SDL reserves memory for its pixels.
bool DeclaredSizeFits(const std::string& bytes) {
    if (bytes.size() < 26) {
        return true;  // too short to declare anything: SDL says what is wrong
    }
    int64_t width = 0;
    int64_t height = 0;
    if (Le(bytes, 14, 4) == 12) {  // OS/2 1.x: 16-bit sizes
        width = Le(bytes, 18, 2);
        height = Le(bytes, 20, 2);
    } else {
        width = static_cast<int32_t>(Le(bytes, 18, 4));
        height = static_cast<int32_t>(Le(bytes, 22, 4));
    }
    height = height < 0 ? -height : height;
    return width <= kLargestPictureSide && height <= kLargestPictureSide;
}

}  // namespace

void ReadBmp(const std::string& name, const std::string& bytes, DecodedPicture& picture) {
    GiveBackSdlThreadDataAtThreadEnd();
    if (!DeclaredSizeFits(bytes)) {
        Fail(name + ": not a readable bitmap (larger than " + std::to_string(kLargestPictureSide) +
             " pixels on a side)");
    }
    SDL_RWops* source = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    SurfacePtr loaded(source == nullptr ? nullptr : SDL_LoadBMP_RW(source, 1), &SDL_FreeSurface);
    if (!loaded) {
        Fail(name + ": not a readable bitmap (" + SDL_GetError() + ")");
    }
    // A bitmap's alpha bits (or an undefined fourth byte) play no part: pictures are opaque.
    SurfacePtr rgb(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_RGB24, 0),
                   &SDL_FreeSurface);
    if (!rgb) {
        Fail(name + ": not a readable bitmap (" + SDL_GetError() + ")");
    }
    picture.width = rgb->w;
    picture.height = rgb->h;
    const size_t rowBytes = static_cast<size_t>(rgb->w) * 3;
    picture.pixels.resize(rowBytes * static_cast<size_t>(rgb->h));
    const auto* from = static_cast<const uint8_t*>(rgb->pixels);
    for (int y = 0; y < rgb->h; ++y) {
        uint8_t* to = picture.pixels.data() + rowBytes * static_cast<size_t>(y);
        std::memcpy(to, from + static_cast<size_t>(y) * static_cast<size_t>(rgb->pitch), rowBytes);
    }
}

}  // namespace platform
