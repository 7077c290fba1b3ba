// Rounding halves to even with 16-bit results checked; 32-bit millisecond readings wrapping around.
#include "content/millisecond_clock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <tuple>

#include "base/numeric.h"
#include "base/system_failure.h"
#include "content/random_numbers.h"
#include "platform/headless/headless_platform.h"
#include "support/form_harness.h"

namespace {

TEST(Rounding, HalvesGoToTheEvenNeighbourAndSixteenBitResultsAreChecked) {
    const std::tuple<double, double, bool> cases[] = {
        {0.5, 0, true},           {1.5, 2, true},          {2.5, 2, true},
        {-0.5, 0, true},          {-1.5, -2, true},        {-2.5, -2, true},
        {2.4999, 2, true},        {2.5001, 3, true},       {32767.4, 32767, true},
        {-32768.5, -32768, true}, {32767.5, 32768, false}, {-32769, -32769, false}};
    for (const auto& [value, rounded, fits] : cases) {
        EXPECT_EQ(Numeric::RoundHalfEven(value), rounded) << value;
        if (fits) {
            EXPECT_EQ(Numeric::RoundToInt16(value), Numeric::CheckedInt16(int64_t(rounded)));
        } else {
            EXPECT_THROW(Numeric::RoundToInt16(value), SystemFailure) << value;
            EXPECT_THROW(Numeric::CheckedInt16(int64_t(rounded)), SystemFailure);
        }
    }
    EXPECT_THROW(Numeric::RoundToInt16(std::nan("")), SystemFailure);
    EXPECT_TRUE(Numeric::SaturatingIncrement(32766) == 32767 &&
                Numeric::SaturatingIncrement(32767) == 32767);
    // A sum of a reading and a duration is rounded as a whole, wrapping around.
    EXPECT_EQ(GameUtil::AddMsRounded(1000, 1.5), 1002);
    EXPECT_EQ(GameUtil::AddMsRounded(1001, 1.5), 1002);
    EXPECT_EQ(GameUtil::AddMsRounded(2147483647, 1.0), -2147483647 - 1);
}

TEST(Clock, ReadingsWrapAroundPastThirtyTwoBitsWhateverTheFrequency) {
    testing_support::ResetModules();
    headless::Platform platform;
    const std::pair<int64_t, int64_t> cases[] = {{1000, 0},          {1000, 2147483637},
                                                 {1000, 4294967286}, {1000, 3 * 4294967296LL + 5},
                                                 {3579545, 12345},   {1000000000, 2147483637}};
    for (const auto& [frequency, start] : cases) {
        GameUtil::performanceFrequency = 0;
        platform.counter.frequency = frequency;
        platform.counter.counter = start * (frequency / 1000);
        const int32_t before = GameUtil::GetMilliseconds();
        platform.counter.counter += 20 * (frequency / 1000);
        const int32_t after = GameUtil::GetMilliseconds();
        EXPECT_TRUE(GameUtil::ElapsedMs(after, before) == 20 &&
                    GameUtil::AddMs(before, 20) == after)
            << start;
        EXPECT_TRUE(GameUtil::IsLaterThan(after, before) && !GameUtil::IsLaterThan(before, after));
        EXPECT_FALSE(GameUtil::IsLaterThan(after, after)) << "strictly later only";
    }
    EXPECT_EQ(platform.counter.frequencyQueries, 6) << "the frequency is asked once a start";
    GameUtil::performanceFrequency = platform.counter.frequency = 0;
    EXPECT_THROW(GameUtil::GetMilliseconds(), SystemFailure);
}

TEST(RandomBetween, StaysWithinItsBoundsAndRepeatsForASeed) {
    GameUtil::SeedRandom(12345);
    std::set<double> seen;
    for (int i = 0; i < 3000; ++i) seen.insert(GameUtil::RandomBetween(5, 10));
    EXPECT_EQ(seen, (std::set<double>{5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(GameUtil::RandomBetween(5, 5), 5);
    EXPECT_THROW(GameUtil::RandomBetween(-32768, 32767), SystemFailure);
    const auto first = [] { return GameUtil::SeedRandom(99), GameUtil::RandomBetween(0, 1000); };
    EXPECT_EQ(first(), first());
}

}  // namespace
