#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "platform/sdl/key_codes.h"
#include "platform/sdl/letterbox.h"
#include "platform/sdl/pixel_conversion.h"

namespace platform {
namespace {
TEST(SdlInputTest, KeysModifiersAndButtonsBecomeTheFormsCodes) {
    // On AZERTY the letter printed on the key decides; a national letter keeps its key's place (as
    // on the French digit row); a key with no code of its own is still a key.
    // clang-format off
    const std::tuple<SDL_Keycode, SDL_Scancode, int16_t> keys[] = {
        {SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, 27}, {SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, 13}, {SDLK_F1, SDL_SCANCODE_F1, 112},
        {SDLK_KP_9, SDL_SCANCODE_KP_9, 105}, {SDLK_q, SDL_SCANCODE_A, 81}, {0xE4, SDL_SCANCODE_APOSTROPHE, 222},
        {0xE9, SDL_SCANCODE_2, 50}, {SDLK_MODE, SDL_SCANCODE_MODE, kKeyOther}};
    // clang-format on
    for (const auto& [key, code, expected] : keys)
        EXPECT_EQ(VirtualKeyCode(key, code), expected) << SDL_GetKeyName(key);
    // Modifiers and buttons become the form's bits; lock states are not shift keys.
    // clang-format off
    const std::pair<uint16_t, int16_t> modifiers[] = {{KMOD_NONE, 0}, {KMOD_RSHIFT, 1}, {KMOD_LCTRL, 2},
        {KMOD_LSHIFT | KMOD_RCTRL | KMOD_RALT, 7}, {KMOD_NUM | KMOD_CAPS, 0}};
    // clang-format on
    for (const auto& [mod, expected] : modifiers) EXPECT_EQ(ShiftBits(mod), expected) << mod;
    const std::pair<int, int16_t> buttons[] = {
        {SDL_BUTTON_LEFT, 1}, {SDL_BUTTON_RIGHT, 2}, {SDL_BUTTON_MIDDLE, 4}, {SDL_BUTTON_X1, 0}};
    for (const auto& [button, expected] : buttons) EXPECT_EQ(FormButton(button), expected);
    EXPECT_EQ(FormButtons(SDL_BUTTON_LMASK | SDL_BUTTON_RMASK), 3);
    EXPECT_EQ(FormButtons(SDL_BUTTON_MMASK | SDL_BUTTON_X2MASK), 4);
}

// The picture fills the window with its aspect kept; window positions read as picture pixels,
// clamped off the bars.
TEST(SdlInputTest, WindowPositionsReadAsPicturePixelsClampedOffTheBars) {
    const std::tuple<int32_t, int32_t, Letterbox> boxes[] = {
        {800, 600, {0, 0, 800, 600}},     {1280, 720, {160, 0, 960, 720}},
        {1280, 1024, {0, 32, 1280, 960}},  // bars above and below
        {1366, 768, {171, 0, 1024, 768}},  // odd leftover: the extra pixel goes right
        {400, 300, {0, 0, 400, 300}},     {0, 600, {0, 0, 0, 0}}};
    for (const auto& [w, h, expected] : boxes) EXPECT_EQ(FitPicture(w, h, 800, 600), expected);
    const std::tuple<int32_t, int32_t, int32_t, int32_t, Point> cases[] = {
        {1280, 720, 640, 360, {400, 300}},  // the middle is the middle, not one short of it
        {1280, 720, 160, 0, {0, 0}},        {1280, 720, 159, 100, {0, 83}},  // left bar
        {1280, 720, 1119, 719, {799, 599}}, {1280, 720, 1120, 300, {799, 250}},
        {1280, 1024, 640, 10, {400, 0}},    {1280, 1024, 640, 1000, {400, 599}},
        {800, 600, -40, 700, {0, 599}}};  // outside the window altogether (a grab lost)
    for (const auto& [w, h, x, y, expected] : cases)
        EXPECT_EQ(PictureFromWindow(FitPicture(w, h, 800, 600), 800, 600, x, y), expected)
            << x << "," << y;
    // A warped pointer reads back as the pixel it was sent to (or the highlight is one cell off).
    const std::pair<int32_t, int32_t> windows[] = {
        {1024, 768}, {1366, 768}, {2560, 1440}, {1000, 601}};
    for (const auto& [width, height] : windows) {
        const Letterbox box = FitPicture(width, height, 800, 600);
        for (int32_t x = 0; x < 800; ++x) {
            const int32_t y = x * 599 / 799;
            const Point window = WindowFromPicture(box, 800, 600, x, y);
            ASSERT_EQ(PictureFromWindow(box, 800, 600, window.x, window.y), (Point{x, y}))
                << width << "x" << height << " pixel " << x;
        }
    }
}

TEST(SdlInputTest, PixelChannelsWidenToTheFullRange) {
    // Black, white, six bits of green, the lowest step of each channel, and each channel its own
    // top bits repeated.
    const uint16_t from[] = {0x0000, 0xFFFF, 0x07E0, 0x0821, 0xAD55};
    const uint32_t expected[] = {0xFF000000, 0xFFFFFFFF, 0xFF00FF00, 0xFF080408, 0xFFADAAAD};
    std::vector<uint32_t> to(std::size(from) + 1, 0x12345678);
    Rgb565ToArgb8888(from, to.data(), static_cast<int32_t>(std::size(from)));
    for (size_t i = 0; i < std::size(from); ++i) EXPECT_EQ(to[i], expected[i]) << from[i];
    EXPECT_EQ(to.back(), 0x12345678u);  // nothing written past the count
}

// A part of a picture drawn into a window's surface lands at its place in the surface's own
// pixel format, with the widened colours as that format holds them, opaque; nothing around it is
// written, whatever the picture's and the surface's line lengths.
TEST(SdlInputTest, APictureDrawnIntoASurfaceKeepsItsColoursInEveryFormat) {
    constexpr int kPitch = 48;  // a 40 x 30 picture, green past its width
    std::vector<uint16_t> picture(kPitch * 30, 0x07E0);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            picture[y * kPitch + x] = static_cast<uint16_t>(x * 1637 + y * 3001);
    const Rect part{3, 5, 40, 29};
    constexpr int kAtX = 7, kAtY = 2;
    const Uint32 formats[] = {SDL_PIXELFORMAT_RGB888,   SDL_PIXELFORMAT_ARGB8888,
                              SDL_PIXELFORMAT_RGB565,   SDL_PIXELFORMAT_BGR888,
                              SDL_PIXELFORMAT_ABGR8888, SDL_PIXELFORMAT_RGBA8888,
                              SDL_PIXELFORMAT_RGB24,    SDL_PIXELFORMAT_BGR565};
    for (const Uint32 format : formats) {
        const char* name = SDL_GetPixelFormatName(format);
        SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 51, 33, 32, format);
        ASSERT_NE(surface, nullptr) << name << ": " << SDL_GetError();
        const Uint32 untouched = SDL_MapRGBA(surface->format, 8, 4, 8, 0);
        SDL_FillRect(surface, nullptr, untouched);
        ASSERT_TRUE(Rgb565ToSurface(picture.data(), kPitch, part, surface, kAtX, kAtY)) << name;
        const int bytes = surface->format->BytesPerPixel;
        const auto rgba = [&](Uint32 pixel) {  // the colour a pixel holds, as 0xRRGGBBAA
            Uint8 r, g, b, a;
            SDL_GetRGBA(pixel, surface->format, &r, &g, &b, &a);
            return Uint32{r} << 24 | Uint32{g} << 16 | Uint32{b} << 8 | a;
        };
        int wrong = 0;
        for (int y = 0; y < surface->h; ++y) {
            for (int x = 0; x < surface->w; ++x) {
                const auto* at =
                    static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch + x * bytes;
                Uint32 pixel = 0;
                for (int b = bytes - 1; b >= 0; --b) pixel = pixel << 8 | at[b];
                const int px = x - kAtX + part.left, py = y - kAtY + part.top;
                Uint32 expected = untouched;
                if (px >= part.left && px < part.right && py >= part.top && py < part.bottom) {
                    uint32_t argb = 0;
                    Rgb565ToArgb8888(&picture[py * kPitch + px], &argb, 1);
                    expected = SDL_MapRGBA(surface->format, argb >> 16 & 255, argb >> 8 & 255,
                                           argb & 255, 255);
                }
                if (rgba(pixel) != rgba(expected) && ++wrong <= 3)
                    ADD_FAILURE() << name << " at " << x << "," << y << ": " << std::hex
                                  << rgba(pixel) << " instead of " << rgba(expected);
            }
        }
        SDL_FreeSurface(surface);
    }
}
}  // namespace
}  // namespace platform
