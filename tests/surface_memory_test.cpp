// Pixel memory: zeroed when asked, large buffers kept up to a bound, no live buffers overlapping.
#include "display/surface_memory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

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

}  // namespace
