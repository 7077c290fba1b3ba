#pragma once

#include "platform/headless/headless_platform.h"
#include "form/main_menu_form.h"

namespace testing_support {

// Every module back to the state of a new process.
void ResetModules();

// A fresh form on a fresh headless platform. Tests drive it pass by pass: set the pointer, queue
// a click or a key, run a pass, then look at the screen, the frame, the sounds and the writes.
struct FormHarness {
    FormHarness();
    ~FormHarness();
    headless::Platform platform;
    MainMenuForm form;

    // Start-up without content: the display objects (screen taken, primary surface, back
    // buffer) exist, settings are reset and the layout tables built, no file is read. The
    // settings reset and layout tables need their operations to work.
    void PrepareDisplay();
    void PrepareWithoutContent();

    void Click(int32_t x, int32_t y, int16_t button = platform::kButtonLeft);
    void Key(int16_t key, int16_t shift = 0);
    void MoveTo(int32_t x, int32_t y);
    // Runs one pass of the frame loop (input queued before it is delivered at its end).
    void Pass();
    void Passes(int count);
};

}  // namespace testing_support
