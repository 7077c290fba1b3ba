// Not built yet: each operation fails until its work lands.
#include "shell/main_menu_form.h"
#include "shell/system_failure.h"

void MainMenuForm::LoadMainMenuPictures() { Fail("LoadMainMenuPictures is not built yet"); }
void MainMenuForm::LoadChoicePictures() { Fail("LoadChoicePictures is not built yet"); }
void MainMenuForm::ReleaseMainMenuPictures() { Fail("ReleaseMainMenuPictures is not built yet"); }
void MainMenuForm::ReleaseChoicePictures() { Fail("ReleaseChoicePictures is not built yet"); }
void MainMenuForm::RecoverLostDisplay() { Fail("RecoverLostDisplay is not built yet"); }
