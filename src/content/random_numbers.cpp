#include "content/random_numbers.h"

#include <cmath>
#include <random>

#include "base/numeric.h"

namespace GameUtil {

namespace {
std::minstd_rand generator;

// Uniform in [0, 1), single precision.
float NextUniform() {
    // 24 random bits fill a float's mantissa exactly, so 1.0 can never come out.
    const uint32_t bits = static_cast<uint32_t>(generator() - generator.min()) & 0xFFFFFFu;
    return static_cast<float>(bits) / 16777216.0f;
}
}  // namespace

void SeedRandom(int32_t seed) {
    generator.seed(
        static_cast<std::minstd_rand::result_type>(static_cast<uint32_t>(seed)) % 2147483646u + 1u);
}

double RandomBetween(int16_t low, int16_t high) {
    const int16_t span = Numeric::CheckedInt16(static_cast<int32_t>(high) - low + 1);
    const float r = NextUniform();
    return low + std::floor(r * static_cast<float>(span));
}

}  // namespace GameUtil
