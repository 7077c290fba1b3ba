// Pixel memory for surfaces: zeroed when asked, large buffers kept for the next of their size
// up to a bound, and no two live buffers overlapping.
#include "display/surface_memory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

size_t Bytes(size_t pixels) {
    return (pixels * sizeof(uint16_t) + 63) / 64 * 64;
}

bool AllZero(const uint16_t* pixels, size_t count) {
    return std::all_of(pixels, pixels + count, [](uint16_t p) { return p == 0; });
}

TEST(SurfaceMemory, ZeroedWhenAskedAndReusedOnlyForTheSameSize) {
    const struct {
        size_t pixels;
        bool kept;  // released memory is kept for the next of its size
    } cases[] = {{1, false},
                 {SurfaceMemory::kSmallBytes / 2 - 32, false},
                 {SurfaceMemory::kSmallBytes / 2, true},
                 {800 * 600, true},
                 {SurfaceMemory::kBlockBytes / 2, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pixels);
        SurfaceMemory memory;
        for (int round = 0; round < 2; ++round) {
            uint16_t* zeroed = memory.Acquire(c.pixels, true);
            ASSERT_NE(zeroed, nullptr);
            EXPECT_TRUE(AllZero(zeroed, c.pixels));
            std::fill(zeroed, zeroed + c.pixels, uint16_t{0x8001});
            const size_t keptBefore = memory.KeptBytes();
            memory.Release(zeroed, c.pixels);
            EXPECT_EQ(memory.KeptBytes(), keptBefore + (c.kept ? Bytes(c.pixels) : 0u));
            // A different size never gets this memory; the same size does, uncleared.
            uint16_t* other = memory.Acquire(c.pixels + 64, true);
            EXPECT_TRUE(c.kept ? other != zeroed : true);
            EXPECT_TRUE(AllZero(other, c.pixels + 64));
            memory.Release(other, c.pixels + 64);
            uint16_t* again = memory.Acquire(c.pixels, false);
            EXPECT_TRUE(c.kept ? again == zeroed : true);
            std::fill(again, again + c.pixels, uint16_t{0x8001});
            memory.Release(again, c.pixels);
        }
    }
}

TEST(SurfaceMemory, KeepsNoMoreThanItsBoundAndNeverHandsOutOverlappingBuffers) {
    constexpr size_t kPixels = 800 * 600;
    SurfaceMemory memory(2 * Bytes(kPixels));
    const size_t sizes[] = {kPixels, 195 * 260, 310 * 285, kPixels, 23 * 23, kPixels, 51 * 54};
    std::vector<std::pair<uint16_t*, size_t>> live;
    for (int i = 0; i < 42; ++i) {
        const size_t count = sizes[static_cast<size_t>(i) % std::size(sizes)];
        live.emplace_back(memory.Acquire(count, i % 2 == 0), count);
        std::fill(live.back().first, live.back().first + count, static_cast<uint16_t>(i));
    }
    for (size_t i = 0; i < live.size(); ++i) {
        const auto [p, count] = live[i];
        EXPECT_TRUE(std::all_of(p, p + count, [&](uint16_t v) { return v == i; })) << i;
        memory.Release(p, count);
        EXPECT_LE(memory.KeptBytes(), 2 * Bytes(kPixels));
    }
    EXPECT_GE(memory.KeptBytes(), Bytes(kPixels));
    const size_t kept = memory.KeptBytes();
    // What comes back from the kept memory is black where asked.
    uint16_t* again[3];
    for (uint16_t*& p : again) {
        p = memory.Acquire(kPixels, true);
        EXPECT_TRUE(AllZero(p, kPixels));
    }
    EXPECT_LT(memory.KeptBytes(), kept);
    EXPECT_EQ(memory.Acquire(0, true), nullptr);
    for (uint16_t* p : again) memory.Release(p, kPixels);
}

}  // namespace
