// Clipped copies, colour keys, refusals; held-back frames showing what drawing at once shows.
#include "display/display_device.h"
#include "display/frame_record.h"
#include "display/surface_memory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "base/system_failure.h"
#include "display/changed_tiles.h"
#include "platform/headless/headless_platform.h"

namespace {

using namespace DisplayFlags;
constexpr uint16_t kBlank = 0xFFFF;

// The headless display, noting "P" per present with changes, "U" per unchanged one, "x" per
// refused one. It takes only the changed rectangles into its picture, so a rectangle that misses
// a changed pixel shows as a difference from drawing the whole frame.
struct RecordingDisplay : headless::Display {
    std::string log;
    bool failNext = false;
    void PresentChanged(const uint16_t* pixels, int32_t width, int32_t height, int32_t pitch,
                        const std::vector<Rect>& changed) override {
        if (std::exchange(failNext, false)) log += "x", Fail("the display refused the frame");
        headless::Display::PresentChanged(pixels, width, height, pitch, changed);
        log += changed.empty() ? "U" : "P";
    }
};

struct Device {
    static SurfaceRequest Plain(int32_t width, int32_t height, int32_t flags = 7) {
        const int32_t caps = kCapsOffScreenPlain | kCapsSystemMemory;
        return {.flags = flags, .height = height, .width = width, .caps = caps};
    }
    auto Make(int32_t width, int32_t height) { return device.CreateSurface(Plain(width, height)); }
    // A source whose every pixel tells where it came from: seed + 100 * y + x.
    std::unique_ptr<Surface> Numbered(int32_t width, int32_t height, int seed = 1000) {
        auto s = Make(width, height);
        for (int32_t i = 0; i < width * height; ++i)
            s->Row(i / width)[i % width] =
                static_cast<uint16_t>(seed + 100 * (i / width) + i % width);
        return s;
    }
    static void Fill(Surface& s, uint16_t pixel) {
        for (int32_t y = 0; y < s.Height(); ++y) std::fill(s.Row(y), s.Row(y) + s.Width(), pixel);
    }
    static std::vector<uint16_t> Pixels(const Surface& s) {
        std::vector<uint16_t> pixels;
        for (int32_t y = 0; y < s.Height(); ++y)
            pixels.insert(pixels.end(), s.Row(y), s.Row(y) + s.Width());
        return pixels;
    }
    RecordingDisplay display;
    headless::Text text;
    DisplayDevice device{display, text};
};

class DisplayDeviceTest : public ::testing::Test, protected Device {};

// Every destination pixel inside the placed source rectangle comes from the matching source
// pixel; everything else is untouched; a refused copy changes nothing.
TEST_F(DisplayDeviceTest, CopiesOnlyTheVisiblePartAndRefusesBadSources) {
    struct Case {
        int32_t x, y;
        Rect source;
        bool refused, noSource = false, lost = false;
    };
    std::vector<Case> cases;
    const int32_t xs[] = {2, -2, 1, -5, 9, 10, 0, -100000, INT32_MIN, INT32_MAX};
    const int32_t ys[] = {1, 1, -3, -4, 7, 0, 8, 100000, INT32_MIN, INT32_MAX};
    for (size_t i = 0; i < std::size(xs); ++i) cases.push_back({xs[i], ys[i], {0, 0, 6, 5}, false});
    const Rect parts[] = {{1, 2, 4, 5}, {2, 1, 5, 4}, {3, 3, 3, 3}, {2, 0, 6, 5}};
    for (const Rect& part : parts)
        for (const auto& [x, y] : {std::pair{3, 2}, {-2, -1}, {INT32_MIN, 1}})
            cases.push_back({x, y, part, false});
    const Rect outside[] = {{0, 0, 7, 5}, {-1, 0, 3, 3}, {0, -1, 3, 3}, {4, 0, 3, 3}, {6, 5, 7, 6}};
    for (const Rect& bad : outside) cases.push_back({0, 0, bad, true});
    cases.push_back({0, 0, {0, 0, 5, 5}, true, true});
    cases.push_back({0, 0, {0, 0, 6, 5}, true, false, true});
    auto source = Numbered(6, 5);
    auto dest = Make(10, 8);
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "case " << &c - cases.data());
        Fill(*dest, kBlank);
        display.lost = c.lost;
        const Surface* from = c.noSource ? nullptr : source.get();
        EXPECT_EQ(dest->BltFast(c.x, c.y, from, c.source, kBltFastWait) != 0, c.refused);
        EXPECT_EQ(dest->BltFast(c.x, c.y, from, c.source, kBltFastSourceColorKey) != 0, c.refused);
        const Rect same = {0, 0, c.source.right - c.source.left, c.source.bottom - c.source.top};
        EXPECT_TRUE(!c.refused || dest->Blt(same, from, c.source, 0) != 0);
        display.lost = false;
        for (int32_t i = 0; i < 80; ++i) {  // every pixel of the 10 x 8 destination
            const int64_t sx = int64_t{i % 10} - c.x + c.source.left;
            const int64_t sy = int64_t{i / 10} - c.y + c.source.top;
            const bool inside = !c.refused && sx >= c.source.left && sx < c.source.right &&
                                sy >= c.source.top && sy < c.source.bottom;
            ASSERT_EQ(dest->PixelAt(i % 10, i / 10), inside ? 1000 + 100 * sy + sx : kBlank) << i;
        }
    }
}

TEST_F(DisplayDeviceTest, AColourKeySkipsOnlyKeyPixelsAndOnlyWithTheKeyFlag) {
    const uint16_t row[4] = {0, 0x1234, 0, 0xF800};
    const std::tuple<std::optional<uint32_t>, int32_t, std::vector<uint16_t>> cases[] = {
        {std::nullopt, 17, {kBlank, 0, 0x1234, 0, 0xF800, kBlank}},
        {0, 16, {kBlank, 0, 0x1234, 0, 0xF800, kBlank}},
        {0, 17, {kBlank, kBlank, 0x1234, kBlank, 0xF800, kBlank}},
        {0xF800, 17, {kBlank, 0, 0x1234, 0, kBlank, kBlank}}};
    auto dest = Make(6, 1);
    for (const auto& [key, flags, expected] : cases) {
        auto keyed = Make(4, 1);
        std::copy(row, row + 4, keyed->Row(0));
        if (key) keyed->SetColorKey(kColorKeySourceBlt, *key, *key);
        Fill(*dest, kBlank);
        EXPECT_EQ(dest->BltFast(1, 0, keyed.get(), {0, 0, 4, 1}, flags), 0);
        EXPECT_EQ(Pixels(*dest), expected) << "key " << key.value_or(-1) << " flags " << flags;
    }
    EXPECT_THROW(dest->SetColorKey(2, 0, 0), SystemFailure);
}

TEST_F(DisplayDeviceTest, StretchesFillsAndColoursLandClippedInTheirRectangles) {
    auto source = Numbered(4, 2);
    auto dest = Make(10, 6);
    Fill(*dest, kBlank);
    // Twice the size: every source pixel becomes a 2 x 2 block; clipped at the right edge.
    EXPECT_EQ(dest->Blt({4, 1, 12, 5}, source.get(), {0, 0, 4, 2}, 0), 0);
    const std::tuple<int, int, int> stretched[] = {{4, 1, 1000}, {5, 2, 1000},   {6, 1, 1001},
                                                   {9, 4, 1102}, {3, 1, kBlank}, {4, 5, kBlank}};
    for (const auto& [x, y, pixel] : stretched)
        EXPECT_EQ(dest->PixelAt(x, y), pixel) << x << "," << y;
    // A destination as large as 32 bits allow: the surface lies just right of its middle.
    EXPECT_EQ(
        dest->Blt({INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, source.get(), {0, 0, 4, 2}, 0), 0);
    EXPECT_EQ(dest->PixelAt(0, 0), 1102);
    // The rectangle filled, and the area that must change (exclusive ends).
    // clang-format off
    const std::pair<Rect, Rect> fills[] = {{{2, 3, 5, 4}, {2, 3, 5, 4}}, {{-5, -5, 3, 2}, {0, 0, 3, 2}},
        {{8, 4, 20, 20}, {8, 4, 10, 6}}, {{12, 0, 20, 6}, {0, 0, 0, 0}}, {{5, 5, 3, 7}, {0, 0, 0, 0}}};
    // clang-format on
    for (const auto& [r, area] : fills) {
        Fill(*dest, kBlank);
        dest->BltColorFill(r, 0x0000FF);
        for (int32_t i = 0; i < 60; ++i) {  // every pixel of the 10 x 6 destination
            const int32_t x = i % 10, y = i / 10;
            const bool in = x >= area.left && x < area.right && y >= area.top && y < area.bottom;
            ASSERT_EQ(dest->PixelAt(x, y), in ? 0xF800 : kBlank) << r.left << ": " << i;
        }
    }
    const std::pair<uint32_t, uint16_t> colours[] = {{0xFFFFFF, 0xFFFF}, {0x0000FF, 0xF800},
                                                     {0x00FF00, 0x07E0}, {0xFF0000, 0x001F},
                                                     {0x080408, 0x0821}, {0x070307, 0x0000}};
    for (const auto& [colour, pixel] : colours) EXPECT_EQ(ColorToPixel(colour), pixel) << colour;
}

TEST_F(DisplayDeviceTest, ACircleIsOnlyItsClippedOutlineAndTextLandsInTheForeColour) {
    auto s = Make(41, 41);
    s->SetForeColor(0xFFFFFF);
    s->DrawCircle(20, 20, 10);
    s->DrawCircle(0, 0, 10);
    const std::tuple<int, int, bool> outline[] = {{30, 20, true},  {20, 10, true},  {27, 27, true},
                                                  {13, 13, true},  {20, 20, false}, {25, 20, false},
                                                  {31, 20, false}, {10, 0, true},   {0, 0, false}};
    for (const auto& [x, y, on] : outline)
        EXPECT_EQ(s->PixelAt(x, y), on ? 0xFFFF : 0) << x << "," << y;
    // The headless renderer draws each character as a 6 x 11 block, 1 right and 2 down in an
    // 8 x 15 cell; what falls outside the surface is cut off.
    auto t = Make(20, 12);
    t->SetFont({"Century Gothic", 11.25, 700});
    t->SetForeColor(0x0000FF);
    t->DrawText(-3, -4, "AB");
    EXPECT_EQ(text.calls.at(0).font, (platform::FontSpec{"Century Gothic", 11.25, 700}));
    for (int32_t x = 0; x < 12; ++x) EXPECT_EQ(t->PixelAt(x, 8), x < 4 || x >= 6 ? 0xF800 : 0) << x;
    EXPECT_EQ(t->PixelAt(0, 9), 0);
}

TEST_F(DisplayDeviceTest, SurfacesHaveExactlyTheRequestedSizeOrAreAFailure) {
    // clang-format off
    const std::tuple<int32_t, int32_t, int32_t, bool> cases[] = {  // flags, width, height, made
        {7, 1, 1, true}, {7, 51, 54, true}, {7, 16384, 1, true}, {7, 1, 16384, true}, {7, 0, 10, false},
        {7, -1, 10, false}, {7, 16385, 1, false}, {7, 1, 16385, false},
        {3, 10, 10, false}, {5, 10, 10, false}};  // width or height not given
    // clang-format on
    // Pixels written ahead (on any thread) and adopted by a surface of their size keep their
    // content.
    const auto fromPixels = [this](const SurfaceRequest& r) {
        SurfacePixels pixels = device.PixelSource().Take(r.width, r.height);
        if (pixels.Data() != nullptr) std::fill_n(pixels.Data(), r.width, uint16_t{0x1234});
        auto s = device.CreateSurfaceFrom(r, std::move(pixels));
        EXPECT_EQ(std::count(s->Row(0), s->Row(0) + r.width, uint16_t{0x1234}), r.width);
        return s;
    };
    const std::function<std::unique_ptr<Surface>(const SurfaceRequest&)> creators[] = {
        [this](const SurfaceRequest& r) { return device.CreateSurface(r); },
        [this](const SurfaceRequest& r) { return device.CreateSurfaceForOverwrite(r); },
        fromPixels};
    for (const auto& [flags, width, height, made] : cases) {
        const SurfaceRequest r = Plain(width, height, flags);
        for (const auto& create : creators) {
            SCOPED_TRACE(::testing::Message() << flags << ": " << width << " x " << height);
            if (!made) {
                EXPECT_THROW(create(r), SystemFailure);
                continue;
            }
            auto s = create(r);
            EXPECT_TRUE(s->Width() == width && s->Height() == height && s->Caps() == r.caps);
            std::fill(s->Row(height - 1), s->Row(height - 1) + width, uint16_t{0x5A5A});
            EXPECT_EQ(s->PixelAt(width - 1, height - 1), 0x5A5A);
        }
    }
    // Pixels of another device, or of another size, are copied into a black surface.
    Device other;
    for (const auto& [source, width] : {std::pair{&other.device, 3}, std::pair{&device, 2}}) {
        SurfacePixels pixels = source->PixelSource().Take(width, 2);
        std::fill_n(pixels.Data(), width * 2, uint16_t{7});
        auto s = device.CreateSurfaceFrom(Plain(3, 2), std::move(pixels));
        const uint16_t last = width == 3 ? 7 : 0;
        EXPECT_EQ(Pixels(*s), (std::vector<uint16_t>{7, 7, last, 7, 7, last}));
    }
    auto plain = Make(4, 4);
    EXPECT_THROW(plain->Flip(nullptr, kFlipWait), SystemFailure);
    EXPECT_THROW(plain->GetAttachedSurface(kCapsBackBuffer), SystemFailure);
}

// A scene of the main menu drawn on the back buffer and on a plain surface, which draws at once.
struct Scene : Device {
    Scene() {
        device.SetDisplayMode(800, 600, 16, 0, 0);
        primary = device.CreateSurface({.flags = kRequestCaps | kRequestBackBufferCount,
                                        .backBufferCount = 1,
                                        .caps = kCapsPrimary | kCapsFlip | kCapsComplex});
        back = primary->GetAttachedSurface(kCapsBackBuffer);
        sprite->BltColorFill({0, 0, 40, 40}, 0x00FF00);
        sprite->BltColorFill({10, 10, 30, 30}, 0);
    }
    void Both(const std::function<void(Surface&)>& draw) {
        draw(*back);
        draw(*reference);
    }
    void Copy(int32_t x, int32_t y, Surface* source, int32_t flags = kBltFastWait) {
        Both([&](Surface& s) {
            s.BltFast(x, y, source, {0, 0, source->Width(), source->Height()}, flags);
        });
    }
    void Flip() {
        try {
            primary->Flip(nullptr, kFlipWait);
            EXPECT_TRUE(display.lastFrame == Pixels(*reference))
                << "after presents " << display.log;
        } catch (const SystemFailure&) {  // a refused frame
        }
    }
    std::unique_ptr<Surface> primary;
    Surface* back = nullptr;
    std::unique_ptr<Surface> reference = Make(800, 600);
    std::unique_ptr<Surface> background = Numbered(800, 600, 7);
    std::unique_ptr<Surface> highlight = Numbered(310, 285, 3);
    std::unique_ptr<Surface> sprite = Make(40, 40);
};

// After each flip the display shows what the plain surface holds, and is given the presents noted.
TEST(DisplayFrames, TheDisplayShowsWhatDrawingAtOnceWouldShow) {
    const auto readBack = [](Scene& s) {  // the back buffer read while its frame is held back
        s.Copy(0, 0, s.background.get());
        EXPECT_EQ(s.back->HeldBackOperations(), 1u);
        auto copy = s.Make(400, 300);
        copy->BltFast(0, 0, s.back, {400, 0, 800, 300}, kBltFastWait);
        EXPECT_EQ(s.back->HeldBackOperations(), 0u);
        EXPECT_EQ(copy->PixelAt(399, 299), s.reference->PixelAt(799, 299));
        s.Both([](Surface& t) { t.BltFast(0, 0, &t, {100, 100, 500, 400}, kBltFastWait); });
    };
    // clang-format off
    // Name, presents, the highlight's place in each frame, the frame changed, the change, whether
    // the change draws that frame instead.
    const std::tuple<const char*, const char*, std::vector<int32_t>, size_t, std::function<void(Scene&)>, bool> cases[] = {
        {"a source pixel written", "PP", {45, 45}, 1, [](auto& s) { s.background->Row(500)[700] ^= 0xFFFF; }, false},
        {"a source filled", "PP", {45, 45}, 1, [](auto& s) { s.highlight->BltColorFill({0, 0, 10, 10}, 0xFFFFFF); }, false},
        {"a source replaced", "PP", {45, 45}, 1, [](auto& s) { s.background = s.Numbered(800, 600, 11); }, false},
        {"a colour key set", "PPU", {45, 45, 45}, 1, [](auto& s) { s.sprite->SetColorKey(kColorKeySourceBlt, 0, 0); }, false},
        {"the back buffer written (and drawn over)", "PUUU", {45, 45, 45, 45}, 1, [](auto& s) { s.Both([](Surface& t) { t.Row(10)[10] = 0x1234; }); }, false},
        {"another surface shown", "PPPU", {45, 45, 45}, 1, [](auto& s) { s.primary->Flip(s.highlight.get(), kFlipWait); }, false},
        {"a refused frame is shown in full next time", "PxPU", {45, 45, 45, 45}, 1, [](auto& s) { s.display.failNext = true; }, false},
        {"frames while the display is lost draw nothing", "PUU", {45, 445, 45}, 1, [](auto& s) { s.display.lost = true; }, false},
        {"the back buffer read and copied", "PPP", {45, 445, 445}, 2, readBack, true}};
    // clang-format on
    for (const auto& [name, presents, highlights, at, change, instead] : cases) {
        SCOPED_TRACE(name);
        Scene s;
        for (size_t frame = 0; frame < highlights.size(); ++frame) {
            if (frame == at) change(s);
            if (!(instead && frame == at)) s.Copy(0, 0, s.background.get());
            if (!(instead && frame == at)) s.Copy(highlights[frame], 25, s.highlight.get());
            s.Copy(100, 100, s.sprite.get(), kBltFastWait | kBltFastSourceColorKey);
            s.Flip();
            if (frame == at) s.display.lost = false;
        }
        EXPECT_EQ(s.display.log, presents);
    }
}

// The tiles found changed against the copy last shown: every changed pixel, whole tiles only,
// merged sideways and downwards, in a picture whose rows lie further apart than its width.
TEST(ChangedTiles, CoverEveryChangedPixelInMergedWholeTiles) {
    using Pixels = std::vector<std::pair<int32_t, int32_t>>;
    // clang-format off
    // Name, width, height, the pixels changed, the rectangles found.
    const std::tuple<const char*, int32_t, int32_t, Pixels, std::vector<Rect>> cases[] = {
        {"nothing changed", 800, 600, {}, {}},
        {"the first pixel", 800, 600, {{0, 0}}, {{0, 0, 32, 16}}},
        {"the last pixel of an odd size", 50, 20, {{49, 19}}, {{32, 16, 50, 20}}},
        {"tiles side by side", 800, 600, {{31, 5}, {32, 5}, {64, 15}}, {{0, 0, 96, 16}}},
        {"two runs in a tile row", 800, 600, {{5, 5}, {700, 10}}, {{0, 0, 32, 16}, {672, 0, 704, 16}}},
        {"the same columns downwards", 800, 600, {{40, 0}, {40, 16}, {40, 47}}, {{32, 0, 64, 48}}},
        {"other columns downwards", 800, 600, {{40, 0}, {40, 16}, {70, 16}}, {{32, 0, 64, 16}, {32, 16, 96, 32}}},
        {"a gap between tile rows", 800, 600, {{40, 0}, {40, 32}}, {{32, 0, 64, 16}, {32, 32, 64, 48}}},
        {"the last column and row", 800, 600, {{799, 599}, {799, 584}}, {{768, 576, 800, 600}}},
        {"an empty picture", 0, 0, {}, {}}};
    // clang-format on
    for (const auto& [name, width, height, pixels, rects] : cases) {
        SCOPED_TRACE(name);
        const int32_t pitch = width + 3;
        std::vector<uint16_t> shown(static_cast<size_t>(width) * height);
        std::vector<uint16_t> now(static_cast<size_t>(pitch) * height, 0xABCD);
        const auto at = [&](int32_t i) {
            return static_cast<size_t>(i / width * pitch + i % width);
        };
        for (int32_t i = 0; i < width * height; ++i)
            shown[i] = now[at(i)] = static_cast<uint16_t>(i % width * 3 + i / width * 7);
        for (auto [x, y] : pixels) now[static_cast<size_t>(y * pitch + x)] ^= 0x0100;
        EXPECT_EQ(UpdateChangedTiles(now.data(), pitch, shown.data(), width, height), rects);
        for (int32_t i = 0; i < width * height; ++i) ASSERT_EQ(shown[i], now[at(i)]) << i;
        EXPECT_TRUE(UpdateChangedTiles(now.data(), pitch, shown.data(), width, height).empty());
    }
}

const auto Bytes = [](size_t pixels) { return (pixels * sizeof(uint16_t) + 63) / 64 * 64; };

TEST(SurfaceMemory, ZeroedWhenAskedAndReusedOnlyForTheSameSize) {
    const size_t small = SurfaceMemory::kSmallBytes / 2, block = SurfaceMemory::kBlockBytes / 2;
    const std::pair<size_t, bool> cases[] = {
        {1, false}, {small - 32, false}, {small, true}, {800 * 600, true}, {block, false}};
    for (const auto& [pixels, kept] : cases) {
        SCOPED_TRACE(pixels);
        SurfaceMemory memory;
        uint16_t* zeroed = memory.Acquire(pixels, true);
        EXPECT_EQ(*std::max_element(zeroed, zeroed + pixels), 0);
        std::fill(zeroed, zeroed + pixels, uint16_t{0x8001});
        memory.Release(zeroed, pixels);
        EXPECT_EQ(memory.KeptBytes(), kept ? Bytes(pixels) : 0u);
        // A different size never gets this memory; the same size does, zeroed again.
        uint16_t* other = memory.Acquire(pixels + 64, true);
        uint16_t* again = memory.Acquire(pixels, true);
        EXPECT_EQ(*std::max_element(again, again + pixels), 0);
        EXPECT_TRUE(!kept || (other != zeroed && again == zeroed && memory.KeptBytes() == 0));
        memory.Release(other, pixels + 64);
        memory.Release(again, pixels);
    }
}

TEST(SurfaceMemory, KeepsNoMoreThanItsBoundAndNeverHandsOutOverlappingBuffers) {
    constexpr size_t kPixels = 800 * 600;
    SurfaceMemory memory(2 * Bytes(kPixels));
    const size_t sizes[] = {kPixels, 195 * 260, 310 * 285, kPixels, 23 * 23, kPixels, 51 * 54};
    std::vector<std::pair<uint16_t*, size_t>> live;
    for (uint16_t i = 0; i < 42; ++i) {
        const size_t count = sizes[i % std::size(sizes)];
        live.emplace_back(memory.Acquire(count, i % 2 == 0), count);
        std::fill(live.back().first, live.back().first + count, i);
    }
    for (size_t i = 0; i < live.size(); ++i) {
        const auto [p, count] = live[i];
        EXPECT_EQ(*std::min_element(p, p + count) + *std::max_element(p, p + count), 2 * i) << i;
        memory.Release(p, count);
        EXPECT_LE(memory.KeptBytes(), 2 * Bytes(kPixels));
    }
    EXPECT_GE(memory.KeptBytes(), Bytes(kPixels));
    EXPECT_EQ(memory.Acquire(0, true), nullptr);
}

// A picture as the operations that made it, with their sources' contents as they were performed.
using Picture = std::vector<std::string>;

std::array<int, 26> contents;  // each source's content; sources are told apart by address only
const Surface* Source(char letter) {
    return reinterpret_cast<const Surface*>(&contents[static_cast<size_t>(letter - 'a')]);
}

void Apply(Picture& picture, const DrawOp& op) {
    if (op.coversAll) picture.clear();
    picture.push_back(char(op.color) + std::to_string(op.to.left) + "@" +
                      std::to_string(*reinterpret_cast<const int*>(op.source)));
}

// The back buffer's stand-in: an operation reads its source when it is performed.
struct ModelTarget : DrawTarget {
    Picture picture;
    int performed = 0;
    void Execute(const DrawOp& op) override { ++performed, Apply(picture, op); }
};

// A script of frames, words separated by spaces: "A1" an operation covering everything from
// source a (upper case) at position 1, "h2" one covering part of the buffer from source h at
// position 2; "R" the pixels read, "W" written directly; "Sh" source h changes; "?n" n operations
// are held back now; "|" flip, "F" a flip whose presentation fails; "X" something else shown.
// Each flip gives "=" (unchanged) or "!" (changed) and the operations performed since the last.
std::string RunScript(const std::string& script) {
    contents = {};
    ModelTarget target;
    FrameRecord record(target);
    Picture reference;  // every operation performed at once, in order
    const Picture unknown = {"?"};
    Picture shown = unknown;  // what the display shows
    std::string outcome;
    std::istringstream words(script);
    for (std::string word; words >> word;) {
        SCOPED_TRACE("at " + word);
        const char c = word[0];
        if (c == '|' || c == 'F') {
            const bool unchanged = record.EndFrame();
            EXPECT_EQ(target.picture, reference) << "the buffer after the frame";
            EXPECT_TRUE(!unchanged || shown == reference) << "unchanged, but not what is shown";
            outcome +=
                (unchanged ? " =" : " !") + std::to_string(std::exchange(target.performed, 0));
            record.Presented(c == '|');
            shown = c == '|' ? reference : unknown;
        } else if (c == 'R') {
            record.BeforeRead();
            EXPECT_EQ(target.picture, reference) << "the pixels as read";
        } else if (c == 'W') {
            record.BeforeWrite();
            for (Picture* picture : {&target.picture, &reference}) picture->push_back("W");
        } else if (c == 'S') {
            record.BeforeSourceChanges(Source(word[1]));
            ++contents[static_cast<size_t>(word[1] - 'a')];
        } else if (c == '?') {
            EXPECT_EQ(record.HeldBack(), static_cast<size_t>(std::stoi(word.substr(1))));
        } else if (c == 'X') {
            record.ScreenChanged();
            shown = unknown;
        } else {
            const char letter = static_cast<char>(std::tolower(c));
            DrawOp op;
            op.source = Source(letter);
            op.sourceStamp = static_cast<uint64_t>(contents[static_cast<size_t>(letter - 'a')]);
            op.to.left = std::stoi(word.substr(1));
            op.color = static_cast<uint32_t>(letter);
            op.coversAll = c != letter;
            Apply(reference, op);
            record.Draw(op);
        }
    }
    return outcome.substr(1);
}

TEST(FrameRecord, HoldsBackOnlyWhatTheBufferAlreadyShows) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        // name, script, outcome
        {"repeated frames", "A0 h1 | A0 h1 | A0 h1 |", "!2 =0 =0"},
        {"another first operation", "A0 h1 | B0 h1 | B0 h1 |", "!2 !2 =0"},
        {"a later operation differs", "A0 h1 | A0 h2 ?0 | A0 h1 |", "!2 !2 !2"},
        {"a frame ending early", "A0 h1 | A0 ?1 | A0 |", "!2 !1 =0"},
        {"a frame going on longer", "A0 | A0 h1 | A0 h1 |", "!1 !2 =0"},
        {"an empty frame keeps the picture", "A0 h1 | | A0 h1 |", "!2 =0 =0"},
        {"nothing covers everything", "a0 h1 | a0 h1 | a0 h1 |", "!2 !2 !2"},
        {"covering later in the frame", "h1 A0 | h1 A0 |", "!2 !2"},
        {"a held back source changes", "A0 h1 | A0 Sa ?0 h1 | A0 h1 | A0 h1 |", "!2 !2 !2 =0"},
        {"a source changes between frames", "A0 h1 | Sh A0 h1 | A0 h1 |", "!2 !2 =0"},
        {"a later source changes", "A0 h1 | A0 Sh ?1 h1 | A0 h1 |", "!2 !2 =0"},
        {"a read performs what is held back", "A0 h1 | A0 ?1 R ?0 h1 | A0 h1 |", "!2 !2 =0"},
        {"a write within a frame", "A0 h1 | A0 W h1 | A0 h1 | A0 h1 |", "!2 !2 !2 =0"},
        {"a write ending a repeated frame", "A0 h1 | A0 h1 W | A0 h1 |", "!2 !2 !2"},
        {"a failed presentation", "A0 h1 | A0 h1 F A0 h1 | A0 h1 |", "!2 =0 !0 =0"},
        {"something else shown", "A0 h1 | X A0 h1 | A0 h1 |", "!2 !0 =0"}};
    for (const auto& [name, script, outcome] : cases) EXPECT_EQ(RunScript(script), outcome) << name;
    // A frame of more operations than the record holds is never taken for unchanged.
    std::string longFrame = "A0";
    for (size_t i = 0; i < FrameRecord::kMaxOps; ++i) longFrame += " h" + std::to_string(i);
    const std::string all = "!" + std::to_string(FrameRecord::kMaxOps + 1);
    EXPECT_EQ(RunScript(longFrame + " | " + longFrame + " |"), all + " " + all);
}

}  // namespace
