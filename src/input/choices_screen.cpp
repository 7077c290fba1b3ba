#include <array>
#include <string>

#include "display/display_objects.h"
#include "form/main_menu_form.h"
#include "base/system_failure.h"

using DisplayFlags::kBltFastSourceColorKey;
using DisplayFlags::kBltFastWait;

namespace {

const platform::FontSpec kFormFont{"Century Gothic", 11.25, 700};
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kMagenta = 0xFF00FF;

struct Label {
    int32_t x, y;
    const char* text;
};

// The key delays of page 1, 500 to 2500 ms, and their labels.
constexpr std::array<Label, 5> kKeyDelayLabels{{
    {570, 295, "0.5"},
    {610, 295, "1.0"},
    {651, 295, "1.5"},
    {691, 295, "2.0"},
    {732, 295, "2.5"},
}};
constexpr std::array<int16_t, 5> kKeyDelays{500, 1000, 1500, 2000, 2500};

// The film repeats of page 4, 2, 4, 8 and 16 (endless), and their labels.
constexpr std::array<Label, 4> kRepeatLabels{{
    {225, 143, "2"},
    {265, 143, "4"},
    {306, 143, "8"},
    {345, 140, "..."},
}};
constexpr std::array<int16_t, 4> kRepeats{2, 4, 8, 16};

struct MarkPoint {
    int32_t x, y;
};
constexpr std::array<MarkPoint, 4> kEscapeLockMarks{{{290, 40}, {389, 40}, {289, 252}, {389, 252}}};
constexpr std::array<MarkPoint, 4> kBuildUpStepMarks{
    {{307, 292}, {444, 292}, {582, 292}, {719, 292}}};
constexpr std::array<int16_t, 4> kBuildUpSteps{10, 4, 2, 0};

bool Inside(int32_t x, int32_t y, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    return x >= left && x <= right && y >= top && y <= bottom;
}

// Draws every label in black, then the one of the current value again in magenta.
template <size_t N>
void DrawLabels(Surface& back, const std::array<Label, N>& labels,
                const std::array<int16_t, N>& values, int16_t current) {
    back.SetFont(kFormFont);
    back.SetForeColor(kBlack);
    for (const Label& label : labels) {
        back.DrawText(label.x, label.y, label.text);
    }
    back.SetForeColor(kMagenta);
    for (size_t i = 0; i < N; ++i) {
        if (values[i] == current) {
            back.DrawText(labels[i].x, labels[i].y, labels[i].text);
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
    const Surface* background = choicePictures[static_cast<size_t>(s.page)].get();
    if (back.BltFast(0, 0, background, {0, 0, 800, 600}, kBltFastWait) != DisplayFlags::kOk) {
        return;
    }
    // The marks and crosses are decoration: a failed copy of one leaves the rest of the page.
    const Surface* markPicture = selectedMarkPicture.get();
    auto mark = [&](MarkPoint at) {
        back.BltFast(at.x, at.y, markPicture, {0, 0, 23, 23}, kBltFastWait);
    };
    auto choice = [&](bool value, MarkPoint ifTrue, MarkPoint ifFalse) {
        mark(value ? ifTrue : ifFalse);
    };

    switch (s.page) {
        case 1:
            choice(s.page1Choice, {596, 99}, {703, 99});
            choice(s.exitLocked, {430, 469}, {278, 469});
            for (size_t i = 0; i < kEscapeLockMarks.size(); ++i) {
                if (s.escapeLocks[i]) {
                    mark(kEscapeLockMarks[i]);
                }
            }
            DrawLabels(back, kKeyDelayLabels, kKeyDelays, s.keyDelay);
            break;
        case 2:
            choice(s.page2SecondChoice, {257, 101}, {365, 100});
            choice(s.page2Choice, {596, 99}, {705, 99});
            for (size_t i = 0; i < s.itemEnabled.size(); ++i) {
                if (!s.itemEnabled[i]) {
                    back.BltFast(s.crossPositions[i].x, s.crossPositions[i].y, crossPicture.get(),
                                 {0, 0, 51, 54}, kBltFastWait | kBltFastSourceColorKey);
                }
            }
            break;
        case 3:
            choice(s.simpleContent, {428, 132}, {278, 132});
            choice(s.page3Choice, {595, 100}, {703, 100});
            for (size_t i = 0; i < kBuildUpSteps.size(); ++i) {
                if (s.buildUpSteps == kBuildUpSteps[i]) {
                    mark(kBuildUpStepMarks[i]);
                }
            }
            choice(s.reversePlay, {404, 452}, {265, 452});
            break;
        case 4:
            choice(s.page4Choice, {595, 100}, {703, 100});
            if (s.filmDelayFactor == 3.0) {
                mark({258, 301});
            } else if (s.filmDelayFactor == 1.0) {
                mark({366, 301});
            } else if (s.filmDelayFactor == 0.33) {
                mark({473, 301});
            }
            DrawLabels(back, kRepeatLabels, kRepeats, s.filmRepeats);
            break;
        default:
            break;
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
        // Leaving this way undoes everything since the screen was entered, the page included.
        settings = savedSettings;
        Form_KeyUp(platform::kKeyEscape, 0);
    }
}
