#pragma once

#include <cstdint>

namespace platform {

// The high-resolution counter behind the millisecond clock.
class PerformanceCounter {
  public:
    virtual ~PerformanceCounter() = default;
    virtual int64_t QueryFrequency() = 0;  // counts per second
    virtual int64_t QueryCounter() = 0;    // counts since the program started
};

}  // namespace platform
