#pragma once

#include <array>
#include <cstdint>

#include "platform/window_system.h"

// Every setting that steers the menus and the activities. A plain value: the choices screen
// copies it whole.
struct ChoiceSettings {
    int16_t page = 0;  // choices page shown, 0..4
    bool page1Choice = false;
    bool exitLocked = false;
    std::array<bool, 4> escapeLocks{};
    int16_t keyDelay = 0;  // milliseconds: 500, 1000, 1500, 2000 or 2500
    std::array<bool, 32> itemEnabled{};
    std::array<platform::Point, 32> crossPositions{};
    bool page2SecondChoice = false;
    bool page2Choice = false;
    int16_t buildUpSteps = 0;  // 10, 4, 2 or 0
    bool page3Choice = false;
    bool simpleContent = false;
    bool reversePlay = false;
    int16_t filmRepeats = 0;  // 2, 4, 8 or 16 (endless)
    bool page4Choice = false;
    double filmDelayFactor = 0;  // 3.0, 1.0 or 0.33
    bool movieOnHd = false;
    bool showPointerSprite = false;

    bool operator==(const ChoiceSettings&) const = default;
};
