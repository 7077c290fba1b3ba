// Not built yet: each operation fails until its work lands.
#include "shell/main_menu_form.h"
#include "shell/system_failure.h"

void MainMenuForm::BuildCrossPositions() { Fail("BuildCrossPositions is not built yet"); }
void MainMenuForm::BuildSubMenuCellRects() { Fail("BuildSubMenuCellRects is not built yet"); }
void MainMenuForm::BuildWarpPoints() { Fail("BuildWarpPoints is not built yet"); }
