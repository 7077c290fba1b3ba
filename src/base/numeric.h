#pragma once

#include <cstdint>

// Arithmetic helpers shared by every part of the system.
namespace Numeric {

// Nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
double RoundHalfEven(double value);

// RoundHalfEven converted to a 16- or 32-bit integer; a value outside the type's range, or not
// a number, is a failure (SystemFailure).
int16_t RoundToInt16(double value);
int32_t RoundToInt32(double value);

// A 16-bit result of integer arithmetic; a value outside -32768..32767 is a failure.
int16_t CheckedInt16(int64_t value);

// value + 1, staying at 32767 instead of overflowing (for counters only compared with small
// numbers that may run for days).
int16_t SaturatingIncrement(int16_t value);

}  // namespace Numeric
