// Picture loading and menu composition, on the headless platform with the real picture decoder.
#include <turbojpeg.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "bench.h"
#include "graphics/picture_loader.h"
#include "platform/headless/headless_platform.h"
#include "display/display_objects.h"
#include "form/main_menu_form.h"

namespace fs = std::filesystem;

namespace {

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// A folder of its own under the temporary folder, removed at the end.
struct ScratchDir {
    ScratchDir()
        : path(fs::temp_directory_path() / ("quillowbee-bench-" + std::to_string(::getpid()))) {
        fs::create_directories(path);
    }
    ~ScratchDir() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    fs::path path;
};

// A photo-like picture: smooth gradients with fine noise, encoded as a camera would (4:2:0).
std::string PhotoLikeJpeg(int width, int height, int quality) {
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> noise(-12, 12);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
            const int base[3] = {x * 255 / width, y * 255 / height,
                                 (x + y) * 255 / (width + height)};
            for (int c = 0; c < 3; ++c) {
                p[c] = static_cast<uint8_t>(std::clamp(base[c] + noise(random), 0, 255));
            }
        }
    }
    tjhandle handle = tjInitCompress();
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    tjCompress2(handle, rgb.data(), width, 0, height, TJPF_RGB, &jpeg, &size, TJSAMP_420, quality,
                0);
    std::string bytes(reinterpret_cast<const char*>(jpeg), size);
    tjFree(jpeg);
    tjDestroy(handle);
    return bytes;
}

// The display objects of a run, on the headless platform.
struct HeadlessDisplay {
    HeadlessDisplay() { GameUtil::TakeTheScreen(); }
    ~HeadlessDisplay() { GameUtil::DropDisplayObjects(); }
    headless::Platform platform;
};

SurfaceRequest MenuRequest(int32_t width, int32_t height) {
    SurfaceRequest request;
    request.flags = 7;
    request.caps = 0x840;
    request.width = width;
    request.height = height;
    return request;
}

void LoadVersusTurboJpeg() {
    ScratchDir dir;
    const std::string jpeg = PhotoLikeJpeg(800, 600, 85);
    const fs::path file = dir.path / "photo.jpg";
    std::ofstream(file, std::ios::binary)
        .write(jpeg.data(), static_cast<std::streamsize>(jpeg.size()));
    HeadlessDisplay display;

    tjhandle handle = tjInitDecompress();
    std::vector<uint8_t> rgb(800 * 600 * 3);
    auto decodeAlone = [&] {
        tjDecompress2(handle, reinterpret_cast<const unsigned char*>(jpeg.data()), jpeg.size(),
                      rgb.data(), 800, 0, 600, TJPF_RGB, 0);
    };
    auto load = [&] {
        SurfaceRequest request = MenuRequest(800, 600);
        auto surface = GameUtil::LoadPictureSurface(file.string(), request);
    };
    for (int i = 0; i < 10; ++i) {
        decodeAlone();
        load();
    }
    constexpr int kRuns = 200;
    std::vector<double> loads, decodes;
    for (int i = 0; i < kRuns; ++i) {
        // Taken in turns, so both see the same machine load.
        double start = bench::WallMs();
        load();
        loads.push_back(bench::WallMs() - start);
        start = bench::WallMs();
        decodeAlone();
        decodes.push_back(bench::WallMs() - start);
    }
    tjDestroy(handle);
    const double loadMs = Median(loads);
    const double decodeMs = Median(decodes);
    bench::Report("graphics: LoadPictureSurface 800x600 JPEG (median of 200)", loadMs, "ms",
                  std::to_string(jpeg.size() / 1024) + " KiB file, read + decode + RGB565 surface");
    bench::Report("graphics: tjDecompress2 TJPF_RGB same file in memory (median of 200)", decodeMs,
                  "ms");
    bench::Report("graphics: load / decode ratio", loadMs / decodeMs, "x", "target <= 1.25");
}

struct MenuLoadTimes {
    double first = 0;  // into the fresh memory of a new display device, as at start-up
    double again = 0;  // released and loaded again on the same device, as after a display loss
    bool failed = false;
};

// Loads both menu sets from the current folder as start-up does; medians of 7 runs in ms.
MenuLoadTimes TimeMenuLoads() {
    std::vector<double> first, again;
    MenuLoadTimes times;
    for (int i = 0; i < 7; ++i) {
        HeadlessDisplay display;
        MainMenuForm form;
        form.currentScreen = Screen::kMainMenu;  // start-up shows the background early
        const auto load = [&] {
            const size_t writesBefore = display.platform.settings.writes.size();
            const double start = bench::WallMs();
            form.LoadMainMenuPictures();
            form.LoadChoicePictures();
            const double ms = bench::WallMs() - start;
            times.failed = times.failed || display.platform.settings.writes.size() != writesBefore;
            return ms;
        };
        first.push_back(load());
        form.ReleaseMainMenuPictures();
        form.ReleaseChoicePictures();
        again.push_back(load());
    }
    times.first = Median(first);
    times.again = Median(again);
    return times;
}

void WriteBytes(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A black 24-bit bitmap (the cross is the one bitmap of the set).
std::string BlackBitmap(int width, int height) {
    const int rowBytes = (width * 3 + 3) & ~3;
    std::string b(54 + static_cast<size_t>(rowBytes) * height, '\0');
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, static_cast<uint32_t>(b.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(width));
    put32(22, static_cast<uint32_t>(height));
    b[26] = 1;
    b[28] = 24;
    return b;
}

// The 53 menu files, photo-like, each at the size of its slot.
void WriteGeneratedMenuSet(const fs::path& root) {
    const fs::path menu = root / "Grafik" / "Meny";
    const std::string full = PhotoLikeJpeg(800, 600, 85);
    for (const char* name : {"StartMeny.jpg", "YrkeMeny1.jpg", "MusikMeny1.jpg", "SportMeny1.jpg",
                             "DjurMeny1.jpg", "Lapp0.jpg", "Lapp1.jpg", "Lapp2.jpg", "Lapp3.jpg"}) {
        WriteBytes(menu / name, full);
    }
    for (const char* name :
         {"InfoMeny.jpg", "4Meny.jpg", "8Meny.jpg", "ByggUppMeny.jpg", "FilmMeny.jpg"}) {
        WriteBytes(menu / "Val" / name, full);
    }
    WriteBytes(menu / "StoppLapp.jpg", PhotoLikeJpeg(70, 70, 85));
    const std::string quadrant = PhotoLikeJpeg(310, 285, 85);
    for (int n = 0; n < 4; ++n) {
        WriteBytes(menu / ("StartMeny" + std::to_string(n) + ".jpg"), quadrant);
    }
    const std::string button = PhotoLikeJpeg(195, 260, 85);
    for (int k = 0; k < 32; ++k) {
        WriteBytes(menu / ((k < 10 ? "Knapp1_0" : "Knapp1_") + std::to_string(k) + ".jpg"), button);
    }
    WriteBytes(menu / "Val" / "selected.jpg", PhotoLikeJpeg(23, 23, 85));
    WriteBytes(menu / "Val" / "kryss.bmp", BlackBitmap(51, 54));
}

void ReportMenuLoads(const std::string& set, const MenuLoadTimes& times, const std::string& note) {
    const std::string failed = times.failed ? "the main set failed to load" : note;
    bench::Report("graphics: load " + set + " menu pictures (median of 7)", times.first, "ms",
                  failed + (failed.empty() ? "" : "; ") + "fresh display device");
    bench::Report("graphics: load " + set + " menu pictures again (median of 7)", times.again, "ms",
                  "after releasing them, as after a display loss");
}

void LoadMenuPictures() {
    const fs::path previous = fs::current_path();
    const fs::path demo = bench::DemoDir();
    if (fs::exists(demo / "Grafik" / "Meny" / "StartMeny.jpg")) {
        fs::current_path(demo);
        const MenuLoadTimes times = TimeMenuLoads();
        fs::current_path(previous);
        ReportMenuLoads("53 demo", times, "");
    } else {
        std::printf("%-58s %10s    demo content missing at %s (make demo)\n",
                    "graphics: load 53 demo menu pictures", "skipped", demo.c_str());
    }

    ScratchDir dir;
    WriteGeneratedMenuSet(dir.path);
    fs::current_path(dir.path);
    const MenuLoadTimes times = TimeMenuLoads();
    fs::current_path(previous);
    ReportMenuLoads("53 generated", times, "photo-like, each at its slot's size");
}

void ComposeSubMenuFrame() {
    HeadlessDisplay display;
    MainMenuForm form;
    auto flat = [](int32_t w, int32_t h, uint32_t colour) {
        auto s = GameUtil::displayDevice->CreateSurface(MenuRequest(w, h));
        s->BltColorFill({0, 0, w, h}, colour);
        return s;
    };
    for (auto& s : form.menuPictures) s = flat(800, 600, 0x204060);
    for (auto& s : form.buttonPictures) s = flat(195, 260, 0x8080F0);
    for (auto& s : form.notePictures) s = flat(800, 600, 0xF0F0F0);
    form.ResetSettings(0);
    form.BuildSubMenuCellRects();
    form.settings.itemEnabled[17] = false;
    form.settings.itemEnabled[22] = false;
    form.currentScreen = form.menuContext = 3;
    display.platform.window.pointer = {450, 100};
    for (int i = 0; i < 50; ++i) {
        form.DrawMenuBackground();
        form.DrawSubMenuSelection();
    }
    constexpr int kRuns = 500;
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        const double start = bench::WallMs();
        form.DrawMenuBackground();
        form.DrawSubMenuSelection();
        times.push_back(bench::WallMs() - start);
    }
    bench::Report("graphics: compose a sub-menu frame, 2 disabled (median of 500)", Median(times),
                  "ms");
}

const bench::Register loadVersusTurboJpeg("graphics-load-vs-turbojpeg", LoadVersusTurboJpeg);
const bench::Register loadMenuPictures("graphics-menu-pictures", LoadMenuPictures);
const bench::Register composeSubMenuFrame("graphics-compose-sub-menu", ComposeSubMenuFrame);

}  // namespace
