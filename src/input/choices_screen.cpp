// Not built yet: each operation fails until its work lands.
#include "shell/main_menu_form.h"
#include "shell/system_failure.h"

void MainMenuForm::DrawChoicesScreen() { Fail("DrawChoicesScreen is not built yet"); }
void MainMenuForm::ChoicesScreenClick(int32_t, int32_t) { Fail("ChoicesScreenClick is not built yet"); }
