#pragma once

#include "form/main_menu_form.h"
#include "platform/headless/headless_platform.h"

namespace testing_support {
// Every module back to the state of a new process.
void ResetModules();

// A fresh form on a fresh headless platform. Tests drive it pass by pass: set the pointer, queue
// a click or a key, run a pass, then look at the screen, the frame, the sounds and the writes.
struct FormHarness {
    FormHarness() { ResetModules(); }
    ~FormHarness();
    headless::Platform platform;
    MainMenuForm form;

    // Start-up without content: the display objects (screen taken, primary surface, back
    // buffer) exist, settings are reset and the layout tables built, no file is read. The
    // settings reset and layout tables need their operations to work.
    void PrepareDisplay();
    void PrepareWithoutContent();

    void Click(int32_t x, int32_t y, int16_t button = platform::kButtonLeft) {
        platform.window.pointer = {x, y};
        form.Form_MouseDown(button, 0, static_cast<float>(x), static_cast<float>(y));
    }
    void Key(int16_t key, int16_t shift = 0) { form.Form_KeyUp(key, shift); }
    void MoveTo(int32_t x, int32_t y) {
        platform.window.pointer = {x, y};
        form.Form_MouseMove(0, 0, static_cast<float>(x), static_cast<float>(y));
    }
    // Runs one pass of the frame loop (input queued before it is delivered at its end).
    void Pass() { form.RunPass(); }
    void Passes(int count) {
        for (int i = 0; i < count; ++i) Pass();
    }
};
}  // namespace testing_support
