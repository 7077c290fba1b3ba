#include "display/surface_memory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

size_t Bytes(size_t pixels) {
    return (pixels * sizeof(uint16_t) + 63) / 64 * 64;
}

bool AllZero(const uint16_t* pixels, size_t count) {
    return std::all_of(pixels, pixels + count, [](uint16_t p) { return p == 0; });
}

void Scribble(uint16_t* pixels, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        pixels[i] = static_cast<uint16_t>(0x8001 + i);
    }
}

struct SizeCase {
    const char* name;
    size_t pixels;
    bool kept;  // released memory is kept for the next of its size
};

class SurfaceMemorySizes : public ::testing::TestWithParam<SizeCase> {};

TEST_P(SurfaceMemorySizes, ZeroedWhenAskedAndReusedOnlyForTheSameSize) {
    const SizeCase& c = GetParam();
    SurfaceMemory memory;
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        uint16_t* zeroed = memory.Acquire(c.pixels, true);
        ASSERT_NE(zeroed, nullptr);
        EXPECT_TRUE(AllZero(zeroed, c.pixels));
        Scribble(zeroed, c.pixels);
        const size_t keptBefore = memory.KeptBytes();
        memory.Release(zeroed, c.pixels);
        EXPECT_EQ(memory.KeptBytes(), keptBefore + (c.kept ? Bytes(c.pixels) : 0u));

        // Not cleared, but all of it usable: a loader writes every pixel.
        uint16_t* overwritten = memory.Acquire(c.pixels, false);
        if (c.kept) {
            EXPECT_EQ(overwritten, zeroed);
            EXPECT_EQ(memory.KeptBytes(), keptBefore);
        }
        Scribble(overwritten, c.pixels);

        // A different size never gets this memory, whatever is kept.
        memory.Release(overwritten, c.pixels);
        uint16_t* other = memory.Acquire(c.pixels + 64, true);
        if (c.kept) {
            EXPECT_NE(other, overwritten);
        }
        EXPECT_TRUE(AllZero(other, c.pixels + 64));
        memory.Release(other, c.pixels + 64);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, SurfaceMemorySizes,
    ::testing::Values(SizeCase{"OnePixel", 1, false}, SizeCase{"Mark23x23", 23 * 23, false},
                      SizeCase{"JustBelowTheLargeOnes", SurfaceMemory::kSmallBytes / 2 - 32, false},
                      SizeCase{"SmallestLargeOne", SurfaceMemory::kSmallBytes / 2, true},
                      SizeCase{"Button195x260", 195 * 260, true},
                      SizeCase{"FullScreen800x600", 800 * 600, true},
                      SizeCase{"LargerThanABlockShare", SurfaceMemory::kBlockBytes / 2, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SurfaceMemory, KeepsNoMoreThanItsBoundAndStillClearsWhatComesBack) {
    constexpr size_t kPixels = 800 * 600;
    SurfaceMemory memory(2 * Bytes(kPixels));
    std::vector<uint16_t*> film;
    for (int i = 0; i < 5; ++i) {
        film.push_back(memory.Acquire(kPixels, false));
        Scribble(film.back(), kPixels);
    }
    for (uint16_t* picture : film) {
        memory.Release(picture, kPixels);
        EXPECT_LE(memory.KeptBytes(), 2 * Bytes(kPixels));
    }
    EXPECT_EQ(memory.KeptBytes(), 2 * Bytes(kPixels));
    // The film again: the same memory, kept or given back, and black where asked.
    std::vector<uint16_t*> again;
    for (int i = 0; i < 5; ++i) {
        again.push_back(memory.Acquire(kPixels, true));
        EXPECT_TRUE(AllZero(again.back(), kPixels)) << i;
        EXPECT_NE(std::find(film.begin(), film.end(), again.back()), film.end()) << i;
    }
    EXPECT_EQ(memory.KeptBytes(), 0u);
    for (uint16_t* picture : again) {
        memory.Release(picture, kPixels);
    }
}

TEST(SurfaceMemory, BuffersDoNotOverlap) {
    SurfaceMemory memory;
    const size_t sizes[] = {800 * 600, 195 * 260, 310 * 285, 800 * 600, 70 * 70,
                            23 * 23,   800 * 600, 195 * 260, 51 * 54};
    std::vector<std::pair<uint16_t*, size_t>> live;
    for (int i = 0; i < 60; ++i) {
        const size_t count = sizes[static_cast<size_t>(i) % std::size(sizes)];
        uint16_t* p = memory.Acquire(count, i % 2 == 0);
        std::fill(p, p + count, static_cast<uint16_t>(i));
        live.emplace_back(p, count);
    }
    for (size_t i = 0; i < live.size(); ++i) {
        const auto [p, count] = live[i];
        EXPECT_TRUE(std::all_of(p, p + count, [&](uint16_t v) { return v == i; })) << i;
        memory.Release(p, count);
    }
    EXPECT_EQ(memory.Acquire(0, true), nullptr);
}

}  // namespace
