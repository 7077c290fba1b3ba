#pragma once

#include <cstdint>

namespace make_demo {

// A small fixed-seed generator, so that every run makes the same bytes.
class Random {
  public:
    explicit Random(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}

    uint32_t Next() {
        state_ ^= state_ >> 12;
        state_ ^= state_ << 25;
        state_ ^= state_ >> 27;
        return static_cast<uint32_t>((state_ * 0x2545F4914F6CDD1Dull) >> 32);
    }
    // Uniform in [0, 1).
    double Uniform() { return Next() / 4294967296.0; }
    double Between(double low, double high) { return low + (high - low) * Uniform(); }

  private:
    uint64_t state_;
};

}  // namespace make_demo
