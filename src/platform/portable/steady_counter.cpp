#include "platform/portable/steady_counter.h"

#include <chrono>

namespace platform {

namespace {
// Taken while the program loads, before main runs.
const std::chrono::steady_clock::time_point programStart = std::chrono::steady_clock::now();
}  // namespace

int64_t SteadyCounter::QueryFrequency() {
    return 1'000'000'000;
}

int64_t SteadyCounter::QueryCounter() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() -
                                                                programStart)
        .count();
}

}  // namespace platform
