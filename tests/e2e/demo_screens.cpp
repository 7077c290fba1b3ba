#include "demo_screens.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>

namespace e2e {

namespace fs = std::filesystem;

namespace {

const fs::path kDemo = QUILLOWBEE_DEMO_DIR;

Image MenuPicture(const std::string& name) {
    return LoadJpeg(kDemo / "Grafik" / "Meny" / name);
}

std::string TwoDigits(int number) {
    return (number < 10 ? "0" : "") + std::to_string(number);
}

std::vector<Image> Series(const fs::path& folder) {
    std::vector<Image> pictures;
    for (int number = 1; fs::exists(folder / (TwoDigits(number) + ".jpg")); ++number) {
        pictures.push_back(LoadJpeg(folder / (TwoDigits(number) + ".jpg")));
    }
    if (pictures.empty()) {
        throw std::runtime_error("no pictures in " + folder.string());
    }
    return pictures;
}

// The hen's folder, spelt as the demo content writes it on disk.
const fs::path kHen = kDemo / "Djur" / fs::path(u8"H\u00f6na") / "Komplex";

}  // namespace

Image MainMenu(int quadrant, bool exitLocked) {
    const Point corners[] = {{80, 0}, {390, 0}, {80, 285}, {390, 285}};
    const Point at = corners[quadrant];
    Image screen = MenuPicture("StartMeny.jpg");
    if (exitLocked) {
        screen.Paste(MenuPicture("StoppLapp.jpg"), 730, 530);
    }
    return screen.Paste(MenuPicture("StartMeny" + std::to_string(quadrant) + ".jpg"), at.x, at.y);
}

Image SubMenu(int theme, int slot, const std::vector<int>& hiddenSlots) {
    const char* backgrounds[] = {"YrkeMeny1.jpg", "MusikMeny1.jpg", "SportMeny1.jpg",
                                 "DjurMeny1.jpg"};
    const int item = (theme - 1) * 8 + slot;
    Image screen = MenuPicture(backgrounds[theme - 1])
                       .Paste(MenuPicture("Knapp1_" + TwoDigits(item) + ".jpg"),
                              10 + 195 * (slot % 4), slot < 4 ? 0 : 260);
    const Image notes = MenuPicture("Lapp" + std::to_string(theme - 1) + ".jpg");
    for (const int hidden : hiddenSlots) {
        const int left = 10 + 195 * (hidden % 4);
        const int top = hidden < 4 ? 0 : 260;
        for (int y = top; y < top + 260; ++y) {
            std::copy_n(notes.Pixel(left, y), 3 * 195, screen.Pixel(left, y));
        }
    }
    return screen;
}

Image ChoicesPage(int page) {
    const std::map<int, std::pair<const char*, std::vector<Point>>> pages = {
        {0, {"InfoMeny.jpg", {}}},
        {2, {"8Meny.jpg", {{257, 101}, {596, 99}}}},
        {3, {"ByggUppMeny.jpg", {{278, 132}, {595, 100}, {307, 292}, {265, 452}}}}};
    const fs::path folder = kDemo / "Grafik" / "Meny" / "Val";
    const auto& [background, marks] = pages.at(page);
    Image screen = LoadJpeg(folder / background);
    for (const Point at : marks) screen.Paste(LoadJpeg(folder / "selected.jpg"), at.x, at.y);
    return screen;
}

std::vector<Image> HenSeries(const char* folder) {
    return Series(kHen / folder);
}

}  // namespace e2e
