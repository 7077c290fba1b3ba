// Not built yet: each operation fails until its work lands.
#include "shell/main_menu_form.h"
#include "shell/system_failure.h"

void MainMenuForm::Form_MouseDown(int16_t, int16_t, float, float) { Fail("Form_MouseDown is not built yet"); }
void MainMenuForm::Form_KeyUp(int16_t, int16_t) { Fail("Form_KeyUp is not built yet"); }
void MainMenuForm::Form_MouseMove(int16_t, int16_t, float, float) { Fail("Form_MouseMove is not built yet"); }
int16_t MainMenuForm::FirstEnabledSlot(int16_t) { Fail("FirstEnabledSlot is not built yet"); }
void MainMenuForm::LeaveActivity() { Fail("LeaveActivity is not built yet"); }
