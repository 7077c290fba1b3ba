// The clock and rounding: halves go to the even neighbour, 16-bit results are checked, and the
// 32-bit millisecond readings wrap around with differences and sums staying right.
#include "content/millisecond_clock.h"

#include <gtest/gtest.h>

#include <cmath>

#include "base/numeric.h"
#include "base/system_failure.h"
#include "content/random_numbers.h"
#include "platform/headless/headless_platform.h"
#include "support/form_harness.h"

namespace {

TEST(Rounding, HalvesGoToTheEvenNeighbourAndSixteenBitResultsAreChecked) {
    const struct {
        double value;
        double rounded;
        bool fits;  // in 16 bits
    } cases[] = {{0.5, 0, true},          {1.5, 2, true},         {2.5, 2, true},
                 {-0.5, 0, true},         {-1.5, -2, true},       {-2.5, -2, true},
                 {2.4999, 2, true},       {2.5001, 3, true},      {1002.5, 1002, true},
                 {1003.5, 1004, true},    {32767.4, 32767, true}, {-32768.5, -32768, true},
                 {32767.5, 32768, false}, {-32769, -32769, false}};
    for (const auto& c : cases) {
        EXPECT_EQ(Numeric::RoundHalfEven(c.value), c.rounded) << c.value;
        if (c.fits) {
            EXPECT_EQ(Numeric::RoundToInt16(c.value), c.rounded) << c.value;
        } else {
            EXPECT_THROW(Numeric::RoundToInt16(c.value), SystemFailure) << c.value;
            EXPECT_THROW(Numeric::CheckedInt16(static_cast<int64_t>(c.rounded)), SystemFailure);
        }
    }
    EXPECT_THROW(Numeric::RoundToInt16(std::nan("")), SystemFailure);
    EXPECT_EQ(Numeric::CheckedInt16(-32768), -32768);
    EXPECT_EQ(Numeric::SaturatingIncrement(32766), 32767);
    EXPECT_EQ(Numeric::SaturatingIncrement(32767), 32767);
    // A sum of a reading and a duration is rounded as a whole, wrapping around.
    EXPECT_EQ(GameUtil::AddMsRounded(1000, 1.5), 1002);
    EXPECT_EQ(GameUtil::AddMsRounded(1001, 1.5), 1002);
    EXPECT_EQ(GameUtil::AddMsRounded(2147483647, 1.0), -2147483647 - 1);
}

class ClockTest : public ::testing::Test {
  protected:
    void SetUp() override { testing_support::ResetModules(); }
    headless::Platform platform;
};

TEST_F(ClockTest, ReadingsWrapAroundPastThirtyTwoBitsWhateverTheFrequency) {
    const struct {
        int64_t frequency;
        int64_t start;  // in milliseconds
    } cases[] = {{1000, 2147483647LL - 10},
                 {1000, 4294967296LL - 10},
                 {1000, 3LL * 4294967296LL + 5},
                 {3579545, 12345},
                 {1000000000, 2147483647LL - 10}};
    for (const auto& c : cases) {
        GameUtil::performanceFrequency = 0;
        platform.counter.frequency = c.frequency;
        platform.counter.counter = c.start * (c.frequency / 1000);
        const int32_t before = GameUtil::GetMilliseconds();
        platform.counter.counter += 20 * (c.frequency / 1000);
        const int32_t after = GameUtil::GetMilliseconds();
        EXPECT_EQ(GameUtil::ElapsedMs(after, before), 20) << c.start;
        EXPECT_EQ(GameUtil::AddMs(before, 20), after) << c.start;
        EXPECT_TRUE(GameUtil::IsLaterThan(after, before)) << c.start;
        EXPECT_FALSE(GameUtil::IsLaterThan(before, after)) << c.start;
        EXPECT_FALSE(GameUtil::IsLaterThan(after, after)) << "strictly later only";
    }
    EXPECT_EQ(platform.counter.frequencyQueries, 5) << "the frequency is asked once a start";
    GameUtil::performanceFrequency = 0;
    platform.counter.frequency = 0;
    EXPECT_THROW(GameUtil::GetMilliseconds(), SystemFailure);
}

TEST(RandomBetween, StaysWithinItsBoundsAndRepeatsForASeed) {
    GameUtil::SeedRandom(12345);
    bool seen[11] = {};
    for (int i = 0; i < 3000; ++i) {
        const double r = GameUtil::RandomBetween(5, 10);
        ASSERT_TRUE(r >= 5 && r <= 10 && r == static_cast<int>(r)) << r;
        seen[static_cast<int>(r)] = true;
    }
    EXPECT_TRUE(seen[5] && seen[10]);
    EXPECT_EQ(GameUtil::RandomBetween(5, 5), 5);
    EXPECT_THROW(GameUtil::RandomBetween(-32768, 32767), SystemFailure);
    GameUtil::SeedRandom(99);
    const double a = GameUtil::RandomBetween(0, 1000);
    GameUtil::SeedRandom(99);
    EXPECT_EQ(GameUtil::RandomBetween(0, 1000), a);
}

}  // namespace
