// Not built yet: each operation fails until its work lands.
#include "shell/main_menu_form.h"
#include "shell/system_failure.h"

void MainMenuForm::StartBuildUp() { Fail("StartBuildUp is not built yet"); }
void MainMenuForm::DrawBuildUpPicture() { Fail("DrawBuildUpPicture is not built yet"); }
void MainMenuForm::StepBuildUp() { Fail("StepBuildUp is not built yet"); }
int16_t MainMenuForm::NextBuildUpIndex() { Fail("NextBuildUpIndex is not built yet"); }
std::string MainMenuForm::GetBuildUpPicturePath(int16_t) { Fail("string MainMenuForm is not built yet"); }
