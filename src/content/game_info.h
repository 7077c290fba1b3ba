#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Shared record declarations.

// One theme item, read from a theme data file.
struct ItemInfo {
    std::string folder;  // Windows-1252 bytes, ends with a backslash; put before activity paths
    int16_t simpleLast = 0;
    int16_t complexLast = 0;
    int16_t filmLast = 0;
    std::vector<int16_t> filmDelays;  // indices 0..filmLast, milliseconds at factor 1.0
    std::string remark;
};

inline constexpr int kItemCount = 32;
inline constexpr int kItemsPerTheme = 8;
