#pragma once

#include <gtest/gtest.h>

#include "support/form_harness.h"
#include "support/menu_picture_files.h"
#include "support/test_files.h"

namespace testing_support {

// A form on the headless platform, its display prepared, in a folder holding the whole menu
// picture set made by the test.
class MenuFixture : public ::testing::Test {
  protected:
    MenuFixture() : cd_(dir.Path()) {
        WriteMenuPictures(dir.Path());
        h.PrepareWithoutContent();
    }

    // Loads both sets as start-up does, on the given screen (no early flip off the main menu).
    void LoadAll(int16_t screen = 1) {
        form().currentScreen = screen;
        form().requestedScreen = screen;
        form().menuContext = screen;
        form().LoadMainMenuPictures();
        form().LoadChoicePictures();
    }

    MainMenuForm& form() { return h.form; }
    headless::Platform& platform() { return h.platform; }
    uint16_t Frame(int32_t x, int32_t y) const { return h.platform.display.PixelAt(x, y); }

    TempDir dir;

  private:
    ScopedCurrentDir cd_;

  protected:
    FormHarness h;
};

}  // namespace testing_support
