#include "support/mini_pack.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

#include "support/sound_files.h"
#include "support/test_files.h"

namespace fs = std::filesystem;

namespace testing_support {
namespace {
// Colours on a 5-level grid per channel: neighbours differ by 56, far more than JPEG and
// RGB565 rounding move a flat colour.
Rgb GridColour(int index) {
    constexpr uint8_t kLevels[5] = {16, 72, 128, 184, 240};
    return {kLevels[index % 5], kLevels[(index / 5) % 5], kLevels[(index / 25) % 5]};
}

// The cell position (0-7) of a point of the 800 x 600 screen, or 8 outside the cells.
int CellAt(int x, int y) {
    if (x < 10 || x >= 790 || y >= 520) return 8;
    return (x - 10) / 195 + (y < 260 ? 0 : 4);
}

void Paint(std::vector<uint8_t>& rgb, size_t pixel, Rgb c) {
    rgb[pixel * 3] = c.r;
    rgb[pixel * 3 + 1] = c.g;
    rgb[pixel * 3 + 2] = c.b;
}

// Full size, so a cell's edges are not blurred by stretching.
void WriteNote(const fs::path& file, int note) {
    std::vector<uint8_t> rgb(800 * 600 * 3);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) Paint(rgb, y * 800 + x, NoteColour(note, CellAt(x, y)));
    WriteJpegPixels(file, 800, 600, rgb);
}

// A black 51 x 54 bitmap (black is transparent when drawn) with a coloured cross.
void WriteCross(const fs::path& file, Rgb c) {
    constexpr int kWidth = 51, kHeight = 54;
    std::vector<uint8_t> rgb(kWidth * kHeight * 3, 0);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const int onDiagonal = std::abs(x * kHeight - y * kWidth);
            const int onOther = std::abs((kWidth - 1 - x) * kHeight - y * kWidth);
            if (std::min(onDiagonal, onOther) <= 2 * kWidth) Paint(rgb, y * kWidth + x, c);
        }
    }
    WriteBmp24(file, kWidth, kHeight, rgb);
}

const char* const kThemeFiles[4] = {"Data/Yrke.dat", "Data/Musik.dat", "Data/Sport.dat",
                                    "Data/Djur.dat"};
const char* const kSets[4] = {"Enkel\\Film\\", "Komplex\\Film\\", "Enkel\\Byggupp\\",
                              "Komplex\\Byggupp\\"};
}  // namespace

const std::vector<std::string>& MainSetFiles() {
    static const std::vector<std::string> files = [] {
        std::vector<std::string> names = {"StartMeny",  "StoppLapp",  "YrkeMeny1",
                                          "MusikMeny1", "SportMeny1", "DjurMeny1"};
        for (int n = 0; n < 4; ++n) names.push_back("StartMeny" + std::to_string(n));
        for (int k = 0; k < 32; ++k) names.push_back("Knapp1_" + TwoDigits(k));
        for (int n = 0; n < 4; ++n) names.push_back("Lapp" + std::to_string(n));
        for (std::string& name : names) name = "Grafik\\Meny\\" + name + ".jpg";
        return names;
    }();
    return files;
}

const std::vector<std::string>& ChoiceSetFiles() {
    static const std::vector<std::string> files = [] {
        std::vector<std::string> names = {"InfoMeny.jpg",    "4Meny.jpg",    "8Meny.jpg",
                                          "ByggUppMeny.jpg", "FilmMeny.jpg", "selected.jpg",
                                          "kryss.bmp"};
        for (std::string& name : names) name = "Grafik\\Meny\\Val\\" + name;
        return names;
    }();
    return files;
}

fs::path NativeName(const std::string& systemName) {
    std::string native = systemName;
    std::replace(native.begin(), native.end(), '\\', '/');
    return native;
}

Rgb ColourOf(const std::string& systemName) {
    const auto& main = MainSetFiles();
    const auto& choices = ChoiceSetFiles();
    if (auto it = std::find(main.begin(), main.end(), systemName); it != main.end())
        return GridColour(static_cast<int>(it - main.begin()));
    if (auto it = std::find(choices.begin(), choices.end(), systemName); it != choices.end())
        return GridColour(static_cast<int>(main.size() + (it - choices.begin())));
    throw std::invalid_argument("not a menu picture: " + systemName);
}

Rgb NoteColour(int note, int position) {
    return GridColour(53 + note * 9 + position);  // after the 53 flat colours of the set
}

void WriteMenuPicture(const fs::path& root, const std::string& systemName) {
    const fs::path file = root / NativeName(systemName);
    const Rgb c = ColourOf(systemName);
    if (systemName.starts_with("Grafik\\Meny\\Lapp")) {
        WriteNote(file, systemName[16] - '0');
    } else if (systemName.ends_with(".bmp")) {
        WriteCross(file, c);
    } else {
        WriteJpeg(file, 16, 12, c.r, c.g, c.b);
    }
}

void WriteMenuPictures(const fs::path& root) {
    for (const std::string& name : MainSetFiles()) WriteMenuPicture(root, name);
    for (const std::string& name : ChoiceSetFiles()) WriteMenuPicture(root, name);
}

Rgb Widen(uint16_t pixel) {
    return {static_cast<uint8_t>((pixel >> 11) * 255 / 31),
            static_cast<uint8_t>(((pixel >> 5) & 63) * 255 / 63),
            static_cast<uint8_t>((pixel & 31) * 255 / 31)};
}

bool Shows(uint16_t pixel, Rgb c) {
    const Rgb shown = Widen(pixel);
    const auto near = [](uint8_t a, uint8_t b) { return std::abs(a - b) <= 20; };
    return near(shown.r, c.r) && near(shown.g, c.g) && near(shown.b, c.b);
}

std::string Describe(uint16_t pixel) {
    const Rgb c = Widen(pixel);
    return std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b);
}

const fs::path& SharedMiniPack() {
    static TempDir dir;
    [[maybe_unused]] static const bool written = (WriteMiniPack(dir.Path()), true);
    return dir.Path();
}

void WriteMiniPack(const fs::path& root, const MiniPackOptions& o) {
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
    WriteMenuPictures(root);
    WriteSoundBank(root);
    if (!o.activityPictures) return;
    for (int item = 0; item < 32; ++item) {
        const std::string folder =
            "Tema" + std::to_string(item / 8 + 1) + "\\Sak" + std::to_string(item % 8) + "\\";
        for (int set = 0; set < 4; ++set) {
            const int last = set < 2 ? o.filmLast : (set == 2 ? o.simpleLast : o.complexLast);
            for (int n = 0; n <= last; ++n) {
                const Rgb c = GridColour(item + set * 31 + n);
                WriteJpeg(root / NativeName(folder + kSets[set] + TwoDigits(n + 1) + ".jpg"), 8, 6,
                          c.r, c.g, c.b);
            }
        }
    }
}
}  // namespace testing_support
