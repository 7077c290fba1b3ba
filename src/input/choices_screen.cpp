#include <span>
#include <string>

#include "base/system_failure.h"
#include "display/display_objects.h"
#include "form/main_menu_form.h"
#include "input/choice_places.h"

using DisplayFlags::kBltFastSourceColorKey;
using DisplayFlags::kBltFastWait;

namespace {

const platform::FontSpec kFormFont{"Century Gothic", 11.25, 700};
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kMagenta = 0xFF00FF;

using ChoicePlaces::Label;

bool Inside(int32_t x, int32_t y, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    return x >= left && x <= right && y >= top && y <= bottom;
}

// Draws every label in black, then the one of the current value again in magenta.
void DrawLabels(Surface& back, std::span<const Label> labels, int16_t current) {
    back.SetFont(kFormFont);
    back.SetForeColor(kBlack);
    for (const Label& label : labels) {
        back.DrawText(label.at.x, label.at.y, label.text);
    }
    back.SetForeColor(kMagenta);
    for (const Label& label : labels) {
        if (label.value == current) {
            back.DrawText(label.at.x, label.at.y, label.text);
        }
    }
    back.SetForeColor(kBlack);
}

}  // namespace

void MainMenuForm::DrawChoicesScreen() {
    Surface& back = *GameUtil::backBuffer;
    const ChoiceSettings& s = settings;
    if (s.page < 0 || s.page > 4) {
        Fail("choices page " + std::to_string(s.page) + " does not exist");
    }
    if (editingSettings) {
        CollectMadeItem();
    }
    const Surface* background = choicePictures[static_cast<size_t>(s.page)].get();
    if (back.BltFast(0, 0, background, {0, 0, 800, 600}, kBltFastWait) != DisplayFlags::kOk) {
        return;
    }
    // The marks and crosses are decoration: a failed copy of one leaves the rest of the page.
    for (const ChoicePlaces::Mark& mark : ChoicePlaces::Marks()) {
        if (mark.page == s.page && mark.shows(s)) {
            back.BltFast(mark.at.x, mark.at.y, selectedMarkPicture.get(),
                         {0, 0, ChoicePlaces::kMarkSize, ChoicePlaces::kMarkSize}, kBltFastWait);
        }
    }
    if (s.page == 1) {
        DrawLabels(back, ChoicePlaces::KeyDelayLabels(), s.keyDelay);
    } else if (s.page == 2) {
        if (editingSettings) {
            DrawMadeItems();
        }
        for (size_t i = 0; i < s.itemEnabled.size(); ++i) {
            if (!s.itemEnabled[i]) {
                back.BltFast(s.crossPositions[i].x, s.crossPositions[i].y, crossPicture.get(),
                             {0, 0, ChoicePlaces::kCrossWidth, ChoicePlaces::kCrossHeight},
                             kBltFastWait | kBltFastSourceColorKey);
            }
        }
    } else if (s.page == 4) {
        DrawLabels(back, ChoicePlaces::RepeatLabels(), s.filmRepeats);
    }
}

void MainMenuForm::ChoicesScreenClick(int32_t x, int32_t y) {
    if (Inside(x, y, 464, 533, 520, 589)) {
        settings.page = 0;
    } else if (Inside(x, y, 22, 28, 166, 134)) {
        settings.page = 1;
    } else if (Inside(x, y, 22, 168, 166, 274)) {
        settings.page = 2;
    } else if (Inside(x, y, 22, 308, 166, 414)) {
        settings.page = 3;
    } else if (Inside(x, y, 22, 448, 166, 554)) {
        settings.page = 4;
    } else if (Inside(x, y, 653, 533, 708, 589)) {
        if (editingSettings) {
            // Every change is in the file already; the editing mode just ends.
            isRunning = false;
            return;
        }
        // Leaving this way undoes everything since the screen was entered, the page included.
        settings = savedSettings;
        Form_KeyUp(platform::kKeyEscape, 0);
    } else if (editingSettings) {
        EditChoice(x, y);
    }
}
