#include "content/millisecond_clock.h"

#include <cmath>

#include "platform/services.h"
#include "base/numeric.h"
#include "base/system_failure.h"

namespace GameUtil {

int64_t performanceFrequency = 0;

namespace {
int32_t WrapToInt32(double wholeMs) {
    const double wrapped = std::fmod(wholeMs, 4294967296.0);
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<int64_t>(wrapped)));
}
}  // namespace

int32_t GetMilliseconds() {
    platform::PerformanceCounter& counter = *platform::Current().counter;
    if (performanceFrequency == 0) {
        performanceFrequency = counter.QueryFrequency();
    }
    if (performanceFrequency <= 0) {
        Fail("the performance counter reports no frequency");
    }
    const double ms = Numeric::RoundHalfEven(static_cast<double>(counter.QueryCounter()) /
                                             static_cast<double>(performanceFrequency) * 1000.0);
    // The reading wraps around every 2^32 ms; differences taken with ElapsedMs stay right.
    return WrapToInt32(ms);
}

int32_t ElapsedMs(int32_t later, int32_t earlier) {
    return static_cast<int32_t>(static_cast<uint32_t>(later) - static_cast<uint32_t>(earlier));
}

int32_t AddMs(int32_t time, int32_t duration) {
    return static_cast<int32_t>(static_cast<uint32_t>(time) + static_cast<uint32_t>(duration));
}

int32_t AddMsRounded(int32_t time, double duration) {
    const double sum = Numeric::RoundHalfEven(static_cast<double>(time) + duration);
    if (!std::isfinite(sum)) {
        Fail("a time that is not a number");
    }
    return WrapToInt32(sum);
}

bool IsLaterThan(int32_t time, int32_t deadline) {
    return ElapsedMs(time, deadline) > 0;
}

}  // namespace GameUtil
