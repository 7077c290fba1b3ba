#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "display/display_objects.h"
#include "sound/dsound.h"
#include "support/form_harness.h"
#include "support/sound_files.h"
#include "support/test_files.h"

namespace testing_support {

// A form without content but with a working sound bank (silent wave files in a temporary current
// folder), so the tests can count click sounds. The clock starts at a fixed reading.
class NavigationTest : public ::testing::Test {
  protected:
    NavigationTest() {
        WriteSoundBank(dir.Path());
        if (!DSound::InitSound()) ADD_FAILURE() << "the sound bank did not load";
        h.PrepareWithoutContent();
        h.platform.counter.SetMs(100000);
    }

    int Clicks() const {
        return static_cast<int>(std::ranges::count_if(
            h.platform.sound.plays, [](const std::string& p) { return p.ends_with("Click.wav"); }));
    }
    size_t Plays() const { return h.platform.sound.plays.size(); }
    // The form showing `screen` with no switch pending.
    void Show(int16_t screen, int16_t context) {
        form.currentScreen = form.requestedScreen = screen;
        form.menuContext = context;
    }
    // A small surface of one colour, as the picture loaders would leave in a slot.
    static std::unique_ptr<Surface> SolidSurface(int32_t width, int32_t height, uint32_t color) {
        std::unique_ptr<Surface> surface = GameUtil::displayDevice->CreateSurface(
            {.flags = 7, .height = height, .width = width, .caps = 0x840});
        surface->BltColorFill({0, 0, width, height}, color);
        return surface;
    }

    TempDir dir;
    ScopedCurrentDir cwd{dir.Path()};
    FormHarness h;
    MainMenuForm& form = h.form;
};

}  // namespace testing_support
