#include <cstdio>
#include <optional>
#include <string>

#include "content/data_file_reader.h"
#include "form/main_menu_form.h"
#include "input/adult_settings.h"
#include "platform/services.h"

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

void MainMenuForm::ApplyAdultSettings() {
    std::optional<AdultSettings::ItemNames> names;
    const AdultSettings::ItemNamesSource source = [&]() -> const AdultSettings::ItemNames& {
        if (!names) {
            names = AdultSettings::ItemNamesOf(DataFileReader::itemTable);
        }
        return *names;
    };
    // A settings file never keeps the program from starting: what cannot be applied is told on
    // one line and left as it was.
    for (const platform::SettingsFileText& file :
         platform::Current().settings->ReadFiles(AdultSettings::kApplication)) {
        if (!file.error.empty()) {
            std::fprintf(stderr, "quillowbee: %s: cannot be read (%s); its settings are not used\n",
                         file.name.c_str(), file.error.c_str());
            continue;
        }
        for (const AdultSettings::Problem& problem :
             AdultSettings::ApplyFileText(file.text, source, settings)) {
            std::fprintf(stderr, "quillowbee: %s:%d: %s\n", file.name.c_str(), problem.line,
                         problem.what.c_str());
        }
    }
    // The options were checked before the run began; they come last.
    for (const std::string& option : settingOptions) {
        std::string error;
        if (AdultSettings::ApplyOption(option, source, settings, error) ==
            AdultSettings::OptionResult::Wrong) {
            std::fprintf(stderr, "quillowbee: %s; the option is not used\n", error.c_str());
        }
    }
    // Files and options together may still hide a whole theme; the menu then shows it whole.
    while (const int theme = AdultSettings::ThemeWithoutItems(settings)) {
        std::fprintf(stderr, "quillowbee: every item of %s is hidden; all of them are shown\n",
                     std::string(AdultSettings::ThemeName(theme)).c_str());
        for (int slot = 0; slot < kItemsPerTheme; ++slot) {
            settings.itemEnabled[static_cast<size_t>((theme - 1) * kItemsPerTheme + slot)] = true;
        }
    }
}
