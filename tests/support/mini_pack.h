#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace testing_support {

struct Rgb {
    uint8_t r, g, b;
};

// A small, complete content pack for scenario tests: the four data files, the 53 menu pictures
// as tiny solid-colour JPEGs (each its own colour, stretched to its slot when loaded), the sound
// bank, and for every item a short film and build-up. Items' folders are "Tema<t>\Sak<s>\".
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

// The colour of a menu picture (its path as the program names it, e.g. "Grafik\\Meny\\Lapp2.jpg")
// or of an activity picture (item, set folder "Komplex\\Film\\" etc., 0-based number).
Rgb MenuColour(const std::string& systemPath);
Rgb ActivityColour(int item, const std::string& set, int number);

// The RGB565 pixel a solid colour becomes after JPEG and loading, and a loose comparison that
// allows for JPEG's rounding.
bool PixelMatches(uint16_t pixel, Rgb colour);

// The system path texts of the 46 main-set and 7 choices-set pictures, in loading order.
std::vector<std::string> MainSetPaths();
std::vector<std::string> ChoiceSetPaths();

// A system path text turned into a relative native path ("Grafik\\Meny\\X.jpg" ->
// "Grafik/Meny/X.jpg").
std::filesystem::path Native(const std::string& systemPath);

}  // namespace testing_support
