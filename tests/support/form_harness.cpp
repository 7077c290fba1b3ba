#include "support/form_harness.h"

#include "content/data_file_reader.h"
#include "content/millisecond_clock.h"
#include "display/display_objects.h"
#include "graphics/picture_loader.h"
#include "sound/dsound.h"

namespace testing_support {

void ResetModules() {
    DataFileReader::itemTable = {};
    DSound::ResetModule();
    GameUtil::DropReadAhead();
    GameUtil::DropDisplayObjects();
    GameUtil::performanceFrequency = 0;
}

FormHarness::FormHarness() {
    ResetModules();
}

FormHarness::~FormHarness() {
    // Surfaces of the form go before the display objects they were made from.
    form = MainMenuForm{};
    ResetModules();
}

void FormHarness::PrepareDisplay() {
    GameUtil::TakeTheScreen();
    form.filmPictures.resize(1);
}

void FormHarness::PrepareWithoutContent() {
    PrepareDisplay();
    form.ResetSettings(0);
    form.BuildCrossPositions();
    form.BuildSubMenuCellRects();
    form.BuildWarpPoints();
}

void FormHarness::Click(int32_t x, int32_t y, int16_t button) {
    platform.window.pointer = {x, y};
    form.Form_MouseDown(button, 0, static_cast<float>(x), static_cast<float>(y));
}

void FormHarness::Key(int16_t key, int16_t shift) {
    form.Form_KeyUp(key, shift);
}

void FormHarness::MoveTo(int32_t x, int32_t y) {
    platform.window.pointer = {x, y};
    form.Form_MouseMove(0, 0, static_cast<float>(x), static_cast<float>(y));
}

void FormHarness::Pass() {
    form.RunPass();
}

void FormHarness::Passes(int count) {
    for (int i = 0; i < count; ++i) {
        Pass();
    }
}

}  // namespace testing_support
