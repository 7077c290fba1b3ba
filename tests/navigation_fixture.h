#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "support/form_harness.h"
#include "support/test_files.h"

namespace testing_support {

// A form without content but with a working sound bank (silent wave files in a temporary current
// folder), so the tests can count click sounds. The clock starts at a fixed reading.
class NavigationTest : public ::testing::Test {
  protected:
    NavigationTest();

    // Number of times the click sound was played so far.
    int Clicks() const;
    // Number of sounds of any kind played so far.
    size_t Plays() const { return h.platform.sound.plays.size(); }
    // What the frame loop does at the start of its next pass, without drawing anything.
    void Switch() { h.form.currentScreen = h.form.requestedScreen; }
    // The form showing `screen` with no switch pending.
    void Show(int16_t screen, int16_t context);
    platform::Point Pointer() const { return h.platform.window.pointer; }
    // A small surface of one colour, as the picture loaders would leave in a slot.
    static std::unique_ptr<Surface> SolidSurface(int32_t width, int32_t height, uint32_t color);
    void SetNow(int64_t ms) { h.platform.counter.SetMs(ms); }

    TempDir dir;
    ScopedCurrentDir cwd{dir.Path()};
    FormHarness h;
    MainMenuForm& form = h.form;
};

}  // namespace testing_support
