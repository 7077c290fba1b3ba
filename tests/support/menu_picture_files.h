#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// Small menu pictures made by the tests: every file of the menu set gets its own flat colour, so
// a composed frame tells which picture lies where. The note pictures are split into the eight
// sub-menu cells, each cell in a colour of its own, so a copied cell also tells where it came
// from.
#include "support/recording_decoder.h"

namespace testing_support {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// The 46 main-set and 7 choices-set files, as the system names them ("Grafik\\Meny\\...").
const std::vector<std::string>& MainSetFiles();
const std::vector<std::string>& ChoiceSetFiles();
// "Grafik\\Meny\\Knapp1_05.jpg" -> "Grafik/Meny/Knapp1_05.jpg".
std::filesystem::path NativeName(const std::string& systemName);

// The flat colour of a menu file (not the note pictures, whose colour is per cell).
Rgb ColourOf(const std::string& systemName);
// Colour of note picture `note` (0-3) inside cell position `position` (0-7); 8 = outside cells.
Rgb NoteColour(int note, int position);

// Writes one menu file below `root`, or all 53.
void WriteMenuPicture(const std::filesystem::path& root, const std::string& systemName);
void WriteMenuPictures(const std::filesystem::path& root);
// Writes `systemName` in another flat colour (to see that a reload read the file again).
void RewriteMenuPicture(const std::filesystem::path& root, const std::string& systemName, Rgb c);

// True when an RGB565 pixel shows colour `c`, allowing for JPEG and 16-bit rounding.
bool Shows(uint16_t pixel, Rgb c);
// The pixel as "r,g,b" in 8-bit channels, for failure messages.
std::string Describe(uint16_t pixel);

}  // namespace testing_support
