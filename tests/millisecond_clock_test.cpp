#include "content/millisecond_clock.h"

#include <gtest/gtest.h>

#include "content/random_numbers.h"
#include "platform/headless/headless_platform.h"
#include "base/system_failure.h"
#include "support/form_harness.h"

namespace {

class ClockTest : public ::testing::Test {
  protected:
    void SetUp() override { testing_support::ResetModules(); }
    headless::Platform platform;
};

TEST_F(ClockTest, OneSecondApartIsAThousandWhateverTheFrequency) {
    for (int64_t frequency : {1000LL, 3579545LL, 10000000LL, 1000000000LL}) {
        GameUtil::performanceFrequency = 0;
        platform.counter.frequency = frequency;
        platform.counter.counter = frequency * 12345 + 7;
        const int32_t first = GameUtil::GetMilliseconds();
        platform.counter.counter += frequency;
        const int32_t second = GameUtil::GetMilliseconds();
        EXPECT_NEAR(GameUtil::ElapsedMs(second, first), 1000, 1) << frequency;
    }
}

TEST_F(ClockTest, FrequencyIsQueriedOnce) {
    GameUtil::GetMilliseconds();
    GameUtil::GetMilliseconds();
    GameUtil::GetMilliseconds();
    EXPECT_EQ(platform.counter.frequencyQueries, 1);
}

TEST_F(ClockTest, NoFrequencyIsAFailure) {
    platform.counter.frequency = 0;
    EXPECT_THROW(GameUtil::GetMilliseconds(), SystemFailure);
}

TEST_F(ClockTest, ReadingsWrapAroundPastThirtyTwoBitsAndDifferencesStayRight) {
    platform.counter.frequency = 1000;
    const int64_t cases[] = {2147483647LL - 10, 4294967296LL - 10, 3LL * 4294967296LL + 5};
    for (int64_t start : cases) {
        platform.counter.counter = start;
        const int32_t before = GameUtil::GetMilliseconds();
        platform.counter.counter = start + 20;
        const int32_t after = GameUtil::GetMilliseconds();
        EXPECT_EQ(GameUtil::ElapsedMs(after, before), 20) << start;
        EXPECT_TRUE(GameUtil::IsLaterThan(after, before)) << start;
        EXPECT_FALSE(GameUtil::IsLaterThan(before, after)) << start;
        EXPECT_EQ(GameUtil::AddMs(before, 20), after) << start;
    }
}

TEST(ClockArithmetic, RoundedSumsRoundTheWholeSum) {
    EXPECT_EQ(GameUtil::AddMsRounded(1000, 1.5), 1002);
    EXPECT_EQ(GameUtil::AddMsRounded(1001, 1.5), 1002);
    EXPECT_EQ(GameUtil::AddMsRounded(1000, 0.33 * 100), 1033);
    EXPECT_EQ(GameUtil::AddMsRounded(2147483647, 1.0), -2147483647 - 1);
    EXPECT_FALSE(GameUtil::IsLaterThan(500, 500));  // strictly later only
}

TEST(RandomBetween, StaysWithinItsBounds) {
    GameUtil::SeedRandom(12345);
    bool seen[12] = {};
    for (int i = 0; i < 6000; ++i) {
        const double r = GameUtil::RandomBetween(5, 10);
        ASSERT_GE(r, 5);
        ASSERT_LE(r, 10);
        ASSERT_EQ(r, static_cast<int>(r));
        seen[static_cast<int>(r)] = true;
    }
    for (int v = 5; v <= 10; ++v) {
        EXPECT_TRUE(seen[v]) << v;
    }
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(GameUtil::RandomBetween(5, 5), 5);
    }
    EXPECT_THROW(GameUtil::RandomBetween(-32768, 32767), SystemFailure);
}

TEST(RandomBetween, SameSeedSameSequence) {
    GameUtil::SeedRandom(99);
    const double a = GameUtil::RandomBetween(0, 1000);
    GameUtil::SeedRandom(99);
    EXPECT_EQ(GameUtil::RandomBetween(0, 1000), a);
}

}  // namespace
