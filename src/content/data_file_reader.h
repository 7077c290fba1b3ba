#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "content/game_info.h"

namespace DataFileReader {

// The four theme data files in the order start-up reads them, with the first item slot each fills.
struct ThemeFile {
    const char* fileName;
    int16_t firstSlot;
};
inline constexpr std::array<ThemeFile, 4> kThemeFiles{{
    {"Data\\Yrke.dat", 0},
    {"Data\\Musik.dat", 8},
    {"Data\\Sport.dat", 16},
    {"Data\\Djur.dat", 24},
}};

// The 32 theme items, filled once at start-up.
extern std::array<ItemInfo, kItemCount> itemTable;

// The item at `index`; an index outside 0..31 is a failure.
ItemInfo& Item(int32_t index);

// Reads eight records from the theme data file `fileName` (a system path text such as
// "Data\\Yrke.dat") into itemTable[firstSlot .. firstSlot + 7]. A missing or malformed file is a
// failure whose message names the file and what was wrong in it.
void LoadItemFile(const std::string& fileName, int16_t firstSlot);

// What is wrong in a theme data file: the record (1..8; 0 for the file as a whole), the physical
// line it was found on (from 1; 0 when the file cannot be opened) and the problem.
struct FileProblem {
    int32_t record;
    int32_t line;
    std::string what;
    // "record 3: simpleLast \"x\" is not a number", or only `what` for the whole file.
    std::string Text() const;
};

// A theme data file read for checking: the records as far as the file holds them (a bad number
// reads as 0) and every problem, in the order of the file.
struct ThemeFileCheck {
    std::vector<ItemInfo> items;
    std::vector<FileProblem> problems;
};

// Reads a theme data file as LoadItemFile does, but goes on past bad lines to find every problem;
// changes no item of the table.
ThemeFileCheck CheckItemFile(const std::string& fileName);

// The next line of an open data file: characters below code 33 dropped, empty lines skipped.
std::string ReadToken(std::FILE* file);

// Field n (0-based) of a comma-separated text, wrapping around past the last comma.
std::string GetField(int16_t n, std::string_view text);

// The integer of a number text: optional sign, digits, optional fraction rounded halves to even,
// within -32768..32767; anything else is a failure.
int16_t ParseNumber(std::string_view text);

}  // namespace DataFileReader
