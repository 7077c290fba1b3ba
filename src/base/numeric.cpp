#include "base/numeric.h"

#include <cmath>
#include <limits>
#include <string>

#include "base/system_failure.h"

namespace Numeric {

double RoundHalfEven(double value) {
    return std::nearbyint(value);
}

namespace {
template <typename T>
T RoundTo(double value, const char* type) {
    const double r = RoundHalfEven(value);
    if (!(r >= std::numeric_limits<T>::min() && r <= std::numeric_limits<T>::max())) {
        Fail(std::string("overflow: ") + std::to_string(value) + " does not fit in " + type);
    }
    return static_cast<T>(r);
}
}  // namespace

int16_t RoundToInt16(double value) {
    return RoundTo<int16_t>(value, "16 bits");
}
int32_t RoundToInt32(double value) {
    return RoundTo<int32_t>(value, "32 bits");
}

int16_t CheckedInt16(int64_t value) {
    if (value < std::numeric_limits<int16_t>::min() ||
        value > std::numeric_limits<int16_t>::max()) {
        Fail("overflow: " + std::to_string(value) + " does not fit in 16 bits");
    }
    return static_cast<int16_t>(value);
}

int16_t SaturatingIncrement(int16_t value) {
    return value == std::numeric_limits<int16_t>::max() ? value : static_cast<int16_t>(value + 1);
}

}  // namespace Numeric
