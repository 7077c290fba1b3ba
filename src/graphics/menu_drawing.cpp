// Not built yet: each operation fails until its work lands.
#include "shell/main_menu_form.h"
#include "shell/system_failure.h"

void MainMenuForm::DrawMenuBackground() { Fail("DrawMenuBackground is not built yet"); }
void MainMenuForm::DrawMainMenuSelection() { Fail("DrawMainMenuSelection is not built yet"); }
void MainMenuForm::DrawSubMenuSelection() { Fail("DrawSubMenuSelection is not built yet"); }
