#pragma once

#include "platform/performance_counter.h"

namespace platform {

// The program's high-resolution counter: nanoseconds of the steady clock since the program
// started, so the millisecond clock begins near zero and never jumps with the wall clock.
class SteadyCounter : public PerformanceCounter {
  public:
    int64_t QueryFrequency() override;
    int64_t QueryCounter() override;
};

}  // namespace platform
