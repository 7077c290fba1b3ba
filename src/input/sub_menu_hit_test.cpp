// Not built yet: each operation fails until its work lands.
#include "shell/main_menu_form.h"
#include "shell/system_failure.h"

int16_t MainMenuForm::GetSubMenuIndex(bool) { Fail("GetSubMenuIndex is not built yet"); }
