#pragma once

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/form_harness.h"

namespace testing_support {
// Plays the program the way a child and a parent would, from inside the frame loop's yields:
// each step waits some passes (20 ms of the manual clock each), then acts; a step that is not
// done yet is tried again after the same wait. Whatever happens, the run is ended after
// `maxYields` passes with a termination request, so a test never hangs.
class ScriptedRun {
  public:
    struct Step {
        std::string name;
        int wait = 3;
        std::function<bool(FormHarness&)> act;  // true when the step is done
        int maxTries = 1;
    };

    explicit ScriptedRun(FormHarness& harness, std::vector<Step> steps, int maxYields = 6000)
        : h_(harness), steps_(std::move(steps)), maxYields_(maxYields) {}
    // Runs Form_Initialize and Form_Load; returns the exit status and keeps what was printed,
    // the names of the steps done and the screens shown (consecutive repeats folded).
    int Run();

    bool Completed() const { return next_ == steps_.size(); }
    const std::string& Errors() const { return errors_; }
    const std::vector<std::string>& Done() const { return done_; }
    const std::vector<int16_t>& Screens() const { return screens_; }

  private:
    void OnYield();

    FormHarness& h_;
    std::vector<Step> steps_;
    int maxYields_;
    size_t next_ = 0;
    int waited_ = 0, tries_ = 0, yields_ = 0;
    std::vector<std::string> done_;
    std::vector<int16_t> screens_;
    std::string errors_;
};

// The tour through every screen: the choices screen and its pages, the "Djur" theme, the hen's
// build-up stepped to its end, its film for four seconds, and back out through Escape until the
// program ends.
std::vector<ScriptedRun::Step> ChildTour();
}  // namespace testing_support
