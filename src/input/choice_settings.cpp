// Not built yet: each operation fails until its work lands.
#include "shell/main_menu_form.h"
#include "shell/system_failure.h"

void MainMenuForm::ResetSettings(int16_t) { Fail("ResetSettings is not built yet"); }
void MainMenuForm::EnterChoicesScreen() { Fail("EnterChoicesScreen is not built yet"); }
