#include "support/menu_picture_files.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

#include "platform/services.h"
#include "support/test_files.h"

namespace fs = std::filesystem;

namespace testing_support {

namespace {

std::vector<std::string> MakeMainSet() {
    std::vector<std::string> files = {
        "Grafik\\Meny\\StartMeny.jpg",  "Grafik\\Meny\\StoppLapp.jpg",
        "Grafik\\Meny\\YrkeMeny1.jpg",  "Grafik\\Meny\\MusikMeny1.jpg",
        "Grafik\\Meny\\SportMeny1.jpg", "Grafik\\Meny\\DjurMeny1.jpg"};
    for (int n = 0; n < 4; ++n) {
        files.push_back("Grafik\\Meny\\StartMeny" + std::to_string(n) + ".jpg");
    }
    for (int k = 0; k < 32; ++k) {
        files.push_back(std::string("Grafik\\Meny\\Knapp1_") + (k < 10 ? "0" : "") +
                        std::to_string(k) + ".jpg");
    }
    for (int n = 0; n < 4; ++n) {
        files.push_back("Grafik\\Meny\\Lapp" + std::to_string(n) + ".jpg");
    }
    return files;
}

// Colours on a 5-level grid per channel: neighbours differ by 56, far more than JPEG and
// RGB565 rounding move a flat colour.
Rgb GridColour(int index) {
    constexpr uint8_t kLevels[5] = {16, 72, 128, 184, 240};
    return {kLevels[index % 5], kLevels[(index / 5) % 5], kLevels[(index / 25) % 5]};
}

int NoteIndex(const std::string& systemName) {
    for (int n = 0; n < 4; ++n) {
        if (systemName == "Grafik\\Meny\\Lapp" + std::to_string(n) + ".jpg") {
            return n;
        }
    }
    return -1;
}

// Small files: every picture is stretched to its slot's size when it is loaded.
struct Size {
    int width, height;
};
Size FileSize(const std::string& systemName) {
    if (systemName.ends_with(".bmp")) {
        return {51, 54};
    }
    if (NoteIndex(systemName) >= 0) {
        return {800, 600};  // full size, so a cell's edges are not blurred by stretching
    }
    return {16, 12};
}

void WriteFlat(const fs::path& file, Size size, Rgb c) {
    WriteJpeg(file, size.width, size.height, c.r, c.g, c.b);
}

// The cell position (0-7) of a point of the 800 x 600 screen, or 8 outside the cells.
int CellAt(int x, int y) {
    if (x < 10 || x >= 790 || y >= 520) {
        return 8;
    }
    return (x - 10) / 195 + (y < 260 ? 0 : 4);
}

void WriteNote(const fs::path& file, int note) {
    const Size size = FileSize("Grafik\\Meny\\Lapp0.jpg");
    std::vector<uint8_t> rgb(static_cast<size_t>(size.width) * size.height * 3);
    for (int y = 0; y < size.height; ++y) {
        for (int x = 0; x < size.width; ++x) {
            const Rgb c = NoteColour(note, CellAt(x, y));
            uint8_t* p = &rgb[(static_cast<size_t>(y) * size.width + x) * 3];
            p[0] = c.r;
            p[1] = c.g;
            p[2] = c.b;
        }
    }
    WriteJpegPixels(file, size.width, size.height, rgb);
}

// A black 51 x 54 bitmap with a coloured cross from corner to corner.
void WriteCross(const fs::path& file, Rgb c) {
    const Size size = FileSize("x.bmp");
    std::vector<uint8_t> rgb(static_cast<size_t>(size.width) * size.height * 3, 0);
    for (int y = 0; y < size.height; ++y) {
        for (int x = 0; x < size.width; ++x) {
            const int onDiagonal = std::abs(x * size.height - y * size.width);
            const int onOther = std::abs((size.width - 1 - x) * size.height - y * size.width);
            if (std::min(onDiagonal, onOther) <= 2 * size.width) {
                uint8_t* p = &rgb[(static_cast<size_t>(y) * size.width + x) * 3];
                p[0] = c.r;
                p[1] = c.g;
                p[2] = c.b;
            }
        }
    }
    WriteBmp24(file, size.width, size.height, rgb);
}

}  // namespace

const std::vector<std::string>& MainSetFiles() {
    static const std::vector<std::string> files = MakeMainSet();
    return files;
}

const std::vector<std::string>& ChoiceSetFiles() {
    static const std::vector<std::string> files = {
        "Grafik\\Meny\\Val\\InfoMeny.jpg", "Grafik\\Meny\\Val\\4Meny.jpg",
        "Grafik\\Meny\\Val\\8Meny.jpg",    "Grafik\\Meny\\Val\\ByggUppMeny.jpg",
        "Grafik\\Meny\\Val\\FilmMeny.jpg", "Grafik\\Meny\\Val\\selected.jpg",
        "Grafik\\Meny\\Val\\kryss.bmp"};
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
    if (auto it = std::find(main.begin(), main.end(), systemName); it != main.end()) {
        return GridColour(static_cast<int>(it - main.begin()));
    }
    if (auto it = std::find(choices.begin(), choices.end(), systemName); it != choices.end()) {
        return GridColour(static_cast<int>(main.size() + (it - choices.begin())));
    }
    throw std::invalid_argument("not a menu picture: " + systemName);
}

Rgb NoteColour(int note, int position) {
    // After the 53 flat colours of the set.
    return GridColour(53 + note * 9 + position);
}

void WriteMenuPicture(const fs::path& root, const std::string& systemName) {
    const fs::path file = root / NativeName(systemName);
    if (const int note = NoteIndex(systemName); note >= 0) {
        WriteNote(file, note);
    } else if (systemName.ends_with(".bmp")) {
        WriteCross(file, ColourOf(systemName));
    } else {
        WriteFlat(file, FileSize(systemName), ColourOf(systemName));
    }
}

void WriteMenuPictures(const fs::path& root) {
    for (const std::string& name : MainSetFiles()) {
        WriteMenuPicture(root, name);
    }
    for (const std::string& name : ChoiceSetFiles()) {
        WriteMenuPicture(root, name);
    }
}

void RewriteMenuPicture(const fs::path& root, const std::string& systemName, Rgb c) {
    WriteFlat(root / NativeName(systemName), FileSize(systemName), c);
}

bool Shows(uint16_t pixel, Rgb c) {
    const int r = ((pixel >> 11) & 31) * 255 / 31;
    const int g = ((pixel >> 5) & 63) * 255 / 63;
    const int b = (pixel & 31) * 255 / 31;
    constexpr int kSlack = 20;
    return std::abs(r - c.r) <= kSlack && std::abs(g - c.g) <= kSlack &&
           std::abs(b - c.b) <= kSlack;
}

std::string Describe(uint16_t pixel) {
    return std::to_string(((pixel >> 11) & 31) * 255 / 31) + "," +
           std::to_string(((pixel >> 5) & 63) * 255 / 63) + "," +
           std::to_string((pixel & 31) * 255 / 31);
}

}  // namespace testing_support
