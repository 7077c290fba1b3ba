#include "support/mini_pack.h"

#include <cstdlib>

#include "support/sound_files.h"
#include "support/test_files.h"

namespace testing_support {

namespace {

// One of 125 colours, 50 apart on every channel, for index % 125.
Rgb ColourFor(int index) {
    const int i = index % 125;
    auto level = [](int v) { return static_cast<uint8_t>(30 + 50 * v); };
    return {level(i % 5), level((i / 5) % 5), level(i / 25)};
}

std::string TwoDigits(int n) {
    return (n < 10 ? "0" : "") + std::to_string(n);
}

const char* const kThemeFiles[4] = {"Data/Yrke.dat", "Data/Musik.dat", "Data/Sport.dat",
                                    "Data/Djur.dat"};
const char* const kSets[4] = {"Enkel\\Film\\", "Komplex\\Film\\", "Enkel\\Byggupp\\",
                              "Komplex\\Byggupp\\"};

}  // namespace

std::vector<std::string> MainSetPaths() {
    std::vector<std::string> paths = {
        "Grafik\\Meny\\StartMeny.jpg",  "Grafik\\Meny\\StoppLapp.jpg",
        "Grafik\\Meny\\YrkeMeny1.jpg",  "Grafik\\Meny\\MusikMeny1.jpg",
        "Grafik\\Meny\\SportMeny1.jpg", "Grafik\\Meny\\DjurMeny1.jpg"};
    for (int n = 0; n < 4; ++n)
        paths.push_back("Grafik\\Meny\\StartMeny" + std::to_string(n) + ".jpg");
    for (int k = 0; k < 32; ++k) paths.push_back("Grafik\\Meny\\Knapp1_" + TwoDigits(k) + ".jpg");
    for (int n = 0; n < 4; ++n) paths.push_back("Grafik\\Meny\\Lapp" + std::to_string(n) + ".jpg");
    return paths;
}

std::vector<std::string> ChoiceSetPaths() {
    return {"Grafik\\Meny\\Val\\InfoMeny.jpg", "Grafik\\Meny\\Val\\4Meny.jpg",
            "Grafik\\Meny\\Val\\8Meny.jpg",    "Grafik\\Meny\\Val\\ByggUppMeny.jpg",
            "Grafik\\Meny\\Val\\FilmMeny.jpg", "Grafik\\Meny\\Val\\selected.jpg",
            "Grafik\\Meny\\Val\\kryss.bmp"};
}

std::filesystem::path Native(const std::string& systemPath) {
    std::string path = systemPath;
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    return path;
}

Rgb MenuColour(const std::string& systemPath) {
    std::vector<std::string> all = MainSetPaths();
    const std::vector<std::string> choices = ChoiceSetPaths();
    all.insert(all.end(), choices.begin(), choices.end());
    for (size_t i = 0; i < all.size(); ++i) {
        if (all[i] == systemPath) {
            return ColourFor(static_cast<int>(i) + 1);
        }
    }
    return ColourFor(0);
}

Rgb ActivityColour(int item, const std::string& set, int number) {
    int setIndex = 0;
    while (setIndex < 3 && set != kSets[setIndex]) {
        ++setIndex;
    }
    return ColourFor(item + setIndex * 31 + number);
}

bool PixelMatches(uint16_t pixel, Rgb colour) {
    const int r = ((pixel >> 11) & 31) * 255 / 31;
    const int g = ((pixel >> 5) & 63) * 255 / 63;
    const int b = (pixel & 31) * 255 / 31;
    return std::abs(r - colour.r) <= 12 && std::abs(g - colour.g) <= 12 &&
           std::abs(b - colour.b) <= 12;
}

const std::filesystem::path& SharedMiniPack() {
    static TempDir dir;
    static const bool written = (WriteMiniPack(dir.Path()), true);
    (void)written;
    return dir.Path();
}

void WriteMiniPack(const std::filesystem::path& root, const MiniPackOptions& o) {
    for (int theme = 0; theme < 4; ++theme) {
        std::string text;
        for (int slot = 0; slot < 8; ++slot) {
            text += "Tema" + std::to_string(theme + 1) + "\\Sak" + std::to_string(slot) + "\\\r\n";
            text += std::to_string(o.simpleLast) + "\r\n" + std::to_string(o.complexLast) + "\r\n";
            text += std::to_string(o.filmLast) + "\r\n" + o.delays + "\r\n";
            text += "item " + std::to_string(theme * 8 + slot) + "\r\n";
        }
        WriteFile(root / kThemeFiles[theme], text);
    }
    for (const std::string& path : MainSetPaths()) {
        const Rgb c = MenuColour(path);
        WriteJpeg(root / Native(path), 16, 12, c.r, c.g, c.b);
    }
    for (const std::string& path : ChoiceSetPaths()) {
        const Rgb c = MenuColour(path);
        if (path.ends_with(".bmp")) {
            // A cross of colour on pure black, which is transparent when drawn.
            std::vector<uint8_t> rgb(51 * 54 * 3, 0);
            for (int y = 0; y < 54; ++y) {
                for (int x = 0; x < 51; ++x) {
                    if (std::abs(x * 54 - y * 51) < 160 || std::abs((50 - x) * 54 - y * 51) < 160) {
                        const size_t at = (static_cast<size_t>(y) * 51 + x) * 3;
                        rgb[at] = c.r;
                        rgb[at + 1] = c.g;
                        rgb[at + 2] = c.b;
                    }
                }
            }
            WriteBmp24(root / Native(path), 51, 54, rgb);
        } else {
            WriteJpeg(root / Native(path), 16, 12, c.r, c.g, c.b);
        }
    }
    WriteSoundBank(root);
    if (!o.activityPictures) {
        return;
    }
    for (int item = 0; item < 32; ++item) {
        const std::string folder =
            "Tema" + std::to_string(item / 8 + 1) + "\\Sak" + std::to_string(item % 8) + "\\";
        for (const char* set : kSets) {
            const std::string s = set;
            const int last = s.find("Film") != std::string::npos
                                 ? o.filmLast
                                 : (s.starts_with("Enkel") ? o.simpleLast : o.complexLast);
            for (int n = 0; n <= last; ++n) {
                const Rgb c = ActivityColour(item, s, n);
                WriteJpeg(root / Native(folder + s + TwoDigits(n + 1) + ".jpg"), 8, 6, c.r, c.g,
                          c.b);
            }
        }
    }
}

}  // namespace testing_support
