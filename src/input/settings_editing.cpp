#include "form/main_menu_form.h"
#include "input/adult_settings.h"
#include "input/choice_places.h"
#include "platform/services.h"
#include "sound/dsound.h"

void MainMenuForm::EditChoice(int32_t x, int32_t y) {
    const ChoiceSettings before = settings;
    const int16_t page = settings.page;
    bool resetsPage = false;
    bool hit = false;
    for (const ChoicePlaces::Mark& mark : ChoicePlaces::Marks()) {
        if (!hit && mark.page == page && ChoicePlaces::OnMark(mark.at, x, y)) {
            hit = true;
            resetsPage = mark.resetsPage;
            if (resetsPage) {
                ResetSettings(page);
            } else {
                mark.choose(settings);
            }
        }
    }
    if (!hit && page == 1) {
        for (const ChoicePlaces::Label& label : ChoicePlaces::KeyDelayLabels()) {
            if (ChoicePlaces::OnLabel(label, x, y)) {
                settings.keyDelay = label.value;
            }
        }
    } else if (!hit && page == 2) {
        for (size_t i = 0; i < settings.itemEnabled.size(); ++i) {
            const platform::Point at = settings.crossPositions[i];
            if (ChoicePlaces::OnCross({at.x, at.y}, x, y)) {
                settings.itemEnabled[i] = !settings.itemEnabled[i];
            }
        }
    } else if (!hit && page == 4) {
        for (const ChoicePlaces::Label& label : ChoicePlaces::RepeatLabels()) {
            if (ChoicePlaces::OnLabel(label, x, y)) {
                settings.filmRepeats = label.value;
            }
        }
    }
    if (settings == before || page < 1 || page > 4) {
        return;
    }
    // A changed value leaves the page's settings no longer the defaults.
    if (!resetsPage) {
        ChoicePlaces::DefaultsChoice(settings, page) = false;
    }
    // A theme keeps at least one item: the last one's cross is refused with the click alone.
    if (AdultSettings::ThemeWithoutItems(settings) != 0) {
        settings = before;
        PlaySound(DSound::kClick);
        return;
    }
    platform::Current().settings->WriteValues(AdultSettings::kApplication, AdultSettings::kSection,
                                              AdultSettings::ChangedValues(before, settings));
}
