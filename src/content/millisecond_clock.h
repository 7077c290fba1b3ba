#pragma once

#include <cstdint>

namespace GameUtil {

// The counter's frequency; 0 until the first GetMilliseconds reads it.
extern int64_t performanceFrequency;

// Milliseconds since the program started, on 32 bits: past 2^31 ms the reading wraps around, so
// every difference and sum of readings is taken with the helpers below.
int32_t GetMilliseconds();

// later - earlier, correct across the 32-bit wrap.
int32_t ElapsedMs(int32_t later, int32_t earlier);
// time + duration, wrapping around.
int32_t AddMs(int32_t time, int32_t duration);
// time + duration rounded to whole milliseconds as one sum (halves to even), wrapping around.
int32_t AddMsRounded(int32_t time, double duration);
// True when `time` is strictly later than `deadline`.
bool IsLaterThan(int32_t time, int32_t deadline);

}  // namespace GameUtil
