#pragma once

#include <cairo.h>

#include <climits>
#include <cmath>
#include <numbers>

namespace make_demo {

// What an item's drawing function draws with. A drawing is a sequence of stages: the
// build-up shows them one more at a time, so every stage is guarded by Part() (a stage of
// both the simple and the complex picture set) or Detail() (a stage of the complex set only),
// called in the same order whatever the pose.
class Sketch {
  public:
    Sketch(cairo_t* cr, double t, bool detailed, int stageLimit = INT_MAX)
        : cr(cr), t(t), detailed(detailed), limit_(stageLimit) {}

    cairo_t* const cr;
    const double t;       // film phase: 0 ≤ t < 1 over one pass; 0 in the build-up
    const bool detailed;  // the complex picture set

    bool Part() { return ++count_ <= limit_; }
    bool Detail() { return detailed && Part(); }
    int StagesSeen() const { return count_; }

    // sin(2π(t · cycles + shift)): an oscillation that repeats exactly over one film pass.
    double Wave(double cycles = 1.0, double shift = 0.0) const {
        return std::sin(2.0 * std::numbers::pi * (t * cycles + shift));
    }
    // 0 → 1 → 0 over each cycle, smoothly.
    double Pulse(double cycles = 1.0, double shift = 0.0) const {
        return 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * (t * cycles + shift));
    }

  private:
    int limit_;
    int count_ = 0;
};

}  // namespace make_demo
