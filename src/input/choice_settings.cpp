#include "form/main_menu_form.h"

void MainMenuForm::ResetSettings(int16_t group) {
    if (group == 0) {
        settings.page = 0;
    }
    if (group == 0 || group == 1) {
        settings.page1Choice = true;
        settings.exitLocked = false;
        settings.keyDelay = 500;
        settings.escapeLocks.fill(false);
    }
    if (group == 0 || group == 2) {
        settings.page2Choice = true;
        settings.page2SecondChoice = true;
        settings.itemEnabled.fill(true);
    }
    if (group == 0 || group == 3) {
        settings.simpleContent = false;
        settings.page3Choice = true;
        settings.buildUpSteps = 10;
        settings.reversePlay = false;
    }
    if (group == 0 || group == 4) {
        settings.filmDelayFactor = 1.0;
        settings.filmRepeats = 16;
        settings.page4Choice = true;
    }
}

void MainMenuForm::EnterChoicesScreen() {
    requestedScreen = Screen::kChoices;
    menuContext = MenuContext::kChoices;
    savedSettings = settings;
}
