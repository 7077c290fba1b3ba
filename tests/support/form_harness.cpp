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
    GameUtil::EndReadAhead();
    GameUtil::DropDisplayObjects();
    GameUtil::performanceFrequency = 0;
}

FormHarness::~FormHarness() {
    form = MainMenuForm{};  // the form's surfaces go before the display objects they came from
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
}  // namespace testing_support
