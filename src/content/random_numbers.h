#pragma once

#include <cstdint>

namespace GameUtil {

// Seeds the uniform generator behind RandomBetween.
void SeedRandom(int32_t seed);

// A whole number from low to high inclusive, as a floating-point value.
double RandomBetween(int16_t low, int16_t high);

}  // namespace GameUtil
