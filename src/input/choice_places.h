#pragma once

#include <cstdint>
#include <span>

#include "form/choice_settings.h"

// Where the pages of the choices screen show each value of the settings record: the marks, the
// labels and the crosses. The drawing puts them there; in the editing mode a click there
// chooses the value.
namespace ChoicePlaces {

struct At {
    int32_t x, y;
};

// A place of the 23 x 23 mark on a page: drawn when `shows` is true, and a click on it (with a
// few pixels around) does `choose`. `resetsPage` marks the first value of a page's "defaults"
// choice, which puts the page's settings back to their defaults instead.
struct Mark {
    int16_t page;
    At at;
    bool (*shows)(const ChoiceSettings&);
    void (*choose)(ChoiceSettings&);
    bool resetsPage = false;
};
// In the order the marks are drawn.
std::span<const Mark> Marks();

// A value label: the key delays of page 1, the film repeats of page 4.
struct Label {
    At at;
    const char* text;
    int16_t value;
};
std::span<const Label> KeyDelayLabels();
std::span<const Label> RepeatLabels();

inline constexpr int32_t kMarkSize = 23;
inline constexpr int32_t kCrossWidth = 51;
inline constexpr int32_t kCrossHeight = 54;

// Whether a click at (x, y) falls on a mark placed at `at`, margin included; on a label; on a
// cross placed at `at`.
bool OnMark(At at, int32_t x, int32_t y);
bool OnLabel(const Label& label, int32_t x, int32_t y);
bool OnCross(At at, int32_t x, int32_t y);

// The "defaults" choice at the top right of page 1-4.
bool& DefaultsChoice(ChoiceSettings& settings, int16_t page);

}  // namespace ChoicePlaces
