#include "input/choice_places.h"

#include <array>
#include <string>
#include <vector>

#include "base/system_failure.h"

namespace ChoicePlaces {

namespace {

// A click this many pixels beside a mark's box still chooses it; the places lie further apart.
constexpr int32_t kMarkMargin = 4;

bool Inside(int32_t x, int32_t y, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    return x >= left && x <= right && y >= top && y <= bottom;
}

template <bool ChoiceSettings::*Field>
bool Is(const ChoiceSettings& s) {
    return s.*Field;
}
template <bool ChoiceSettings::*Field>
bool IsNot(const ChoiceSettings& s) {
    return !(s.*Field);
}
template <bool ChoiceSettings::*Field, bool Value>
void Set(ChoiceSettings& s) {
    s.*Field = Value;
}

// The two places of a two-way choice, True's first; `resets` for the "defaults" choice.
template <bool ChoiceSettings::*Field>
std::array<Mark, 2> TwoWay(int16_t page, At ifTrue, At ifFalse, bool resets = false) {
    return {{{page, ifTrue, Is<Field>, Set<Field, true>, resets},
             {page, ifFalse, IsNot<Field>, Set<Field, false>}}};
}

template <size_t Lock>
Mark EscapeLock(At at) {
    return {1, at, [](const ChoiceSettings& s) { return s.escapeLocks[Lock]; },
            [](ChoiceSettings& s) { s.escapeLocks[Lock] = !s.escapeLocks[Lock]; }};
}

template <int16_t Steps>
Mark BuildUpSteps(At at) {
    return {3, at, [](const ChoiceSettings& s) { return s.buildUpSteps == Steps; },
            [](ChoiceSettings& s) { s.buildUpSteps = Steps; }};
}

template <size_t... N>
std::vector<Mark> Joined(const std::array<Mark, N>&... parts) {
    std::vector<Mark> marks;
    (marks.insert(marks.end(), parts.begin(), parts.end()), ...);
    return marks;
}

const std::vector<Mark>& AllMarks() {
    using S = ChoiceSettings;
    static const std::vector<Mark> marks =
        Joined(TwoWay<&S::page1Choice>(1, {596, 99}, {703, 99}, true),
               TwoWay<&S::exitLocked>(1, {430, 469}, {278, 469}),
               std::array{EscapeLock<0>({290, 40}), EscapeLock<1>({389, 40}),
                          EscapeLock<2>({289, 252}), EscapeLock<3>({389, 252})},
               TwoWay<&S::page2SecondChoice>(2, {257, 101}, {365, 100}),
               TwoWay<&S::page2Choice>(2, {596, 99}, {705, 99}, true),
               TwoWay<&S::simpleContent>(3, {428, 132}, {278, 132}),
               TwoWay<&S::page3Choice>(3, {595, 100}, {703, 100}, true),
               std::array{BuildUpSteps<10>({307, 292}), BuildUpSteps<4>({444, 292}),
                          BuildUpSteps<2>({582, 292}), BuildUpSteps<0>({719, 292})},
               TwoWay<&S::reversePlay>(3, {404, 452}, {265, 452}),
               TwoWay<&S::page4Choice>(4, {595, 100}, {703, 100}, true),
               // The stored factor is compared exactly: only these three values show a mark.
               std::array<Mark, 3>{{
                   {4,
                    {258, 301},
                    [](const S& s) { return s.filmDelayFactor == 3.0; },
                    [](S& s) { s.filmDelayFactor = 3.0; }},
                   {4,
                    {366, 301},
                    [](const S& s) { return s.filmDelayFactor == 1.0; },
                    [](S& s) { s.filmDelayFactor = 1.0; }},
                   {4,
                    {473, 301},
                    [](const S& s) { return s.filmDelayFactor == 0.33; },
                    [](S& s) { s.filmDelayFactor = 0.33; }},
               }});
    return marks;
}

constexpr std::array<Label, 5> kKeyDelayLabels{{
    {{570, 295}, "0.5", 500},
    {{610, 295}, "1.0", 1000},
    {{651, 295}, "1.5", 1500},
    {{691, 295}, "2.0", 2000},
    {{732, 295}, "2.5", 2500},
}};

constexpr std::array<Label, 4> kRepeatLabels{{
    {{225, 143}, "2", 2},
    {{265, 143}, "4", 4},
    {{306, 143}, "8", 8},
    {{345, 140}, "...", 16},
}};

}  // namespace

std::span<const Mark> Marks() {
    return AllMarks();
}
std::span<const Label> KeyDelayLabels() {
    return kKeyDelayLabels;
}
std::span<const Label> RepeatLabels() {
    return kRepeatLabels;
}

bool OnMark(At at, int32_t x, int32_t y) {
    return Inside(x, y, at.x - kMarkMargin, at.y - kMarkMargin, at.x + kMarkSize - 1 + kMarkMargin,
                  at.y + kMarkSize - 1 + kMarkMargin);
}

bool OnLabel(const Label& label, int32_t x, int32_t y) {
    // The labels stand about 40 pixels apart; each takes the width up to the next.
    return Inside(x, y, label.at.x - 4, label.at.y - 6, label.at.x + 34, label.at.y + 22);
}

bool OnCross(At at, int32_t x, int32_t y) {
    return Inside(x, y, at.x, at.y, at.x + kCrossWidth - 1, at.y + kCrossHeight - 1);
}

bool& DefaultsChoice(ChoiceSettings& settings, int16_t page) {
    switch (page) {
        case 1:
            return settings.page1Choice;
        case 2:
            return settings.page2Choice;
        case 3:
            return settings.page3Choice;
        case 4:
            return settings.page4Choice;
        default:
            Fail("choices page " + std::to_string(page) + " has no defaults choice");
    }
}

}  // namespace ChoicePlaces
