#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// Content written by the tests. Every menu file gets a flat colour of its own, so a composed frame
// tells which picture lies where; the note pictures are split into the eight sub-menu cells, each
// cell in a colour of its own, so a copied cell tells where it came from.
namespace testing_support {
struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// The 46 main-set and 7 choices-set files in loading order, as the program names them
// ("Grafik\\Meny\\Knapp1_05.jpg").
const std::vector<std::string>& MainSetFiles();
const std::vector<std::string>& ChoiceSetFiles();
// "Grafik\\Meny\\Knapp1_05.jpg" -> "Grafik/Meny/Knapp1_05.jpg".
std::filesystem::path NativeName(const std::string& systemName);

// The flat colour of a menu file (for a note picture: the colour outside the cells).
Rgb ColourOf(const std::string& systemName);
// Colour of note picture `note` (0-3) inside cell position `position` (0-7); 8 = outside cells.
Rgb NoteColour(int note, int position);

// Writes one menu file below `root`, or all 53.
void WriteMenuPicture(const std::filesystem::path& root, const std::string& systemName);
void WriteMenuPictures(const std::filesystem::path& root);

// An RGB565 pixel in 8-bit channels.
Rgb Widen(uint16_t pixel);
// True when an RGB565 pixel shows colour `c`, allowing for JPEG and 16-bit rounding.
bool Shows(uint16_t pixel, Rgb c);
// The pixel as "r,g,b" in 8-bit channels, for failure messages.
std::string Describe(uint16_t pixel);

// RGB bytes of a picture in four flat quarters: top left, top right, bottom left, bottom right.
inline const Rgb kQuarters[4] = {{240, 16, 16}, {16, 240, 16}, {16, 16, 240}, {240, 240, 16}};
inline std::vector<uint8_t> Quarters(int width, int height) {
    std::vector<uint8_t> rgb;
    for (int i = 0; i < width * height; ++i) {
        const Rgb& c = kQuarters[(i / width >= height / 2) * 2 + (i % width >= width / 2)];
        rgb.insert(rgb.end(), {c.r, c.g, c.b});
    }
    return rgb;
}

// A small, complete content pack: the four data files (items' folders "Tema<t>\Sak<s>\"), the
// menu pictures above, the sound bank, and for every item a short film and build-up.
struct MiniPackOptions {
    int16_t simpleLast = 2;
    int16_t complexLast = 3;
    int16_t filmLast = 3;
    std::string delays = "100,120,140,160";
    bool activityPictures = true;
};
void WriteMiniPack(const std::filesystem::path& root, const MiniPackOptions& options = {});
// One mini pack with the default options, written once per test run, for tests that only read.
const std::filesystem::path& SharedMiniPack();
}  // namespace testing_support
