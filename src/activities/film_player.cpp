// Not built yet: each operation fails until its work lands.
#include "shell/main_menu_form.h"
#include "shell/system_failure.h"

void MainMenuForm::LoadFilm() { Fail("LoadFilm is not built yet"); }
void MainMenuForm::DrawFilmFrame() { Fail("DrawFilmFrame is not built yet"); }
void MainMenuForm::PlayFilmSounds() { Fail("PlayFilmSounds is not built yet"); }
