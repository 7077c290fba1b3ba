#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "content/game_info.h"

namespace DataFileReader {

// The 32 theme items, filled once at start-up.
extern std::array<ItemInfo, kItemCount> itemTable;

// The item at `index`; an index outside 0..31 is a failure.
ItemInfo& Item(int32_t index);

// Reads eight records from the theme data file `fileName` (a system path text such as
// "Data\\Yrke.dat") into itemTable[firstSlot .. firstSlot + 7]. A missing or malformed file is a
// failure whose message names the file and what was wrong in it.
void LoadItemFile(const std::string& fileName, int16_t firstSlot);

// The next line of an open data file: characters below code 33 dropped, empty lines skipped.
std::string ReadToken(std::FILE* file);

// Field n (0-based) of a comma-separated text, wrapping around past the last comma.
std::string GetField(int16_t n, std::string_view text);

// The integer of a number text: optional sign, digits, optional fraction rounded halves to even,
// within -32768..32767; anything else is a failure.
int16_t ParseNumber(std::string_view text);

}  // namespace DataFileReader
