#include "base/numeric.h"

#include <gtest/gtest.h>

#include <cmath>

#include "base/system_failure.h"

namespace {

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    const struct {
        double value;
        double rounded;
    } cases[] = {{0.5, 0},       {1.5, 2},           {2.5, 2},        {3.5, 4},    {-0.5, 0},
                 {-1.5, -2},     {-2.5, -2},         {2.4999, 2},     {2.5001, 3}, {1002.5, 1002},
                 {1003.5, 1004}, {-32768.5, -32768}, {32767.4, 32767}};
    for (const auto& c : cases) {
        EXPECT_EQ(Numeric::RoundHalfEven(c.value), c.rounded) << c.value;
    }
}

TEST(RoundToInt16, FailsOutsideSixteenBits) {
    EXPECT_EQ(Numeric::RoundToInt16(32767.4), 32767);
    EXPECT_EQ(Numeric::RoundToInt16(-32768.5), -32768);  // halves to even stays in range
    EXPECT_THROW(Numeric::RoundToInt16(32767.5), SystemFailure);
    EXPECT_THROW(Numeric::RoundToInt16(-32769), SystemFailure);
    EXPECT_THROW(Numeric::RoundToInt16(std::nan("")), SystemFailure);
}

TEST(CheckedInt16, FailsOnOverflow) {
    EXPECT_EQ(Numeric::CheckedInt16(-32768), -32768);
    EXPECT_EQ(Numeric::CheckedInt16(32767), 32767);
    EXPECT_THROW(Numeric::CheckedInt16(32768), SystemFailure);
    EXPECT_THROW(Numeric::CheckedInt16(-32769), SystemFailure);
}

TEST(SaturatingIncrement, StopsAtTheTop) {
    EXPECT_EQ(Numeric::SaturatingIncrement(0), 1);
    EXPECT_EQ(Numeric::SaturatingIncrement(32766), 32767);
    EXPECT_EQ(Numeric::SaturatingIncrement(32767), 32767);
}

}  // namespace
