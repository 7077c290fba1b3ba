// Entering an activity and stepping its build-up on the headless platform with the real picture
// decoder, beside TurboJPEG's own decode time of the same pictures.
#include <turbojpeg.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench.h"
#include "content/data_file_reader.h"
#include "display/display_objects.h"
#include "form/main_menu_form.h"
#include "platform/headless/headless_platform.h"
#include "platform/portable/decode_pool.h"
#include "platform/portable/file_picture_decoder.h"
#include "writers/jpeg_writer.h"

namespace fs = std::filesystem;

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kFilmPictures = 40;
constexpr int kBuildUpPictures = 10;
constexpr int kRounds = 7;

// Smooth shading, a few soft shapes and grain: compresses like a photograph at quality 85.
std::vector<uint8_t> PhotoLikePixels(unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> phase(0.0, 6.283);
    std::normal_distribution<double> grain(0.0, 6.0);
    const double p1 = phase(random), p2 = phase(random), p3 = phase(random);
    const double cx = 200 + (seed * 37) % 400, cy = 150 + (seed * 53) % 300;
    std::vector<uint8_t> rgb(static_cast<size_t>(kWidth) * kHeight * 3);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const double d = std::hypot(x - cx, y - cy);
            const double blob = d < 120 ? 60.0 * (1.0 - d / 120.0) : 0.0;
            const double base[3] = {
                110 + 60 * std::sin(x * 0.011 + p1) + 30 * std::cos(y * 0.017 + p2) + blob,
                100 + 50 * std::sin((x + y) * 0.007 + p2) + 40 * std::sin(y * 0.023 + p3),
                90 + 70 * std::cos(x * 0.005 - y * 0.009 + p3) - blob / 2};
            for (int c = 0; c < 3; ++c) {
                const double v = base[c] + grain(random);
                rgb[(static_cast<size_t>(y) * kWidth + x) * 3 + c] =
                    static_cast<uint8_t>(std::clamp(v, 0.0, 255.0));
            }
        }
    }
    return rgb;
}

std::string EncodeJpeg(const std::vector<uint8_t>& rgb) {
    return writers::EncodeJpeg(rgb, kWidth, kHeight, {85, writers::JpegSampling::Half});
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string Number(int n) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", n + 1);
    return text;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The item's pictures in a temporary folder that is the current directory while it lives.
struct Content {
    fs::path dir = fs::temp_directory_path() / ("quillowbee-bench-" + std::to_string(::getpid()));
    fs::path previous = fs::current_path();
    std::vector<std::string> jpegs;  // film pictures, then build-up pictures

    Content() {
        fs::remove_all(dir);
        for (int n = 0; n < kFilmPictures + kBuildUpPictures; ++n) {
            jpegs.push_back(EncodeJpeg(PhotoLikePixels(static_cast<unsigned>(n + 1))));
            const bool film = n < kFilmPictures;
            WriteBytes(dir / "Item" / "Komplex" / (film ? "Film" : "Byggupp") /
                           (Number(film ? n : n - kFilmPictures) + ".jpg"),
                       jpegs.back());
        }
        fs::current_path(dir);
    }
    ~Content() {
        fs::current_path(previous);
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }
};

struct Scene {
    headless::Platform platform;
    MainMenuForm form;
    double flippedAt = 0;

    // `helpers`: threads beside the calling one, as the program has them.
    explicit Scene(unsigned helpers) {
        platform::Services services = platform::Current();
        services.helperThreads = helpers;
        services.newPictureDecoder = platform::CreateFilePictureDecoder;
        platform::Install(services);
        GameUtil::TakeTheScreen();
        form.ResetSettings(0);
        form.filmPictures.resize(1);
        ItemInfo& item = DataFileReader::Item(9);
        item.folder = "Item\\";
        item.complexLast = kBuildUpPictures - 1;
        item.filmLast = kFilmPictures - 1;
        item.filmDelays.assign(kFilmPictures, 120);
        form.selectedItem = 9;
        form.currentScreen = Screen::kBuildUp;
        form.requestedScreen = Screen::kBuildUp;
        platform.display.onPresent = [this] { flippedAt = bench::WallMs(); };
    }
    ~Scene() {
        form = MainMenuForm{};
        GameUtil::DropDisplayObjects();
    }
};

// Creates the surfaces an entry creates (the film's and two build-up pictures), on a device of
// its own so that the entries measured later start from fresh memory; `write` fills every pixel
// as a picture load does. Milliseconds.
double CreateSurfaces(Scene& scene, bool write) {
    DisplayDevice device(scene.platform.display, scene.platform.text);
    SurfaceRequest request;
    request.flags = 7;
    request.caps = 0x840;
    request.width = kWidth;
    request.height = kHeight;
    std::vector<std::unique_ptr<Surface>> surfaces;
    const double before = bench::WallMs();
    for (int n = 0; n < kFilmPictures + 2; ++n) {
        surfaces.push_back(device.CreateSurface(request));
        if (write) {
            for (int32_t y = 0; y < kHeight; ++y) {
                std::fill_n(surfaces.back()->Row(y), kWidth, static_cast<uint16_t>(n));
            }
        }
    }
    return bench::WallMs() - before;
}

void MeasureActivities() {
    const Content content;

    const unsigned helpers = platform::DecodePool::HelpersForThisMachine();
    std::vector<double> toFirstPicture, enterWhole, enterAgain, enterInOrder, stepToFlip, stepWhole,
        freshSurfaces, writtenSurfaces;
    for (int round = 0; round < kRounds; ++round) {
        {
            // The same entry with every picture read on the calling thread, one by one.
            Scene alone(0);
            const double start = bench::WallMs();
            alone.form.EnterScreen();
            enterInOrder.push_back(bench::WallMs() - start);
        }
        Scene scene(helpers);
        freshSurfaces.push_back(CreateSurfaces(scene, false));
        writtenSurfaces.push_back(CreateSurfaces(scene, true));
        const double start = bench::WallMs();
        scene.form.EnterScreen();
        const double end = bench::WallMs();
        toFirstPicture.push_back(scene.flippedAt - start);
        enterWhole.push_back(end - start);
        if (scene.form.filmPictures.size() != kFilmPictures || !scene.form.buildUpPicture) {
            throw std::runtime_error("the activity did not load its pictures");
        }
        for (int step = 1; step < kBuildUpPictures - 1; ++step) {
            scene.platform.counter.AdvanceMs(1000);  // past the key delay
            const double before = bench::WallMs();
            scene.form.StepBuildUp();
            const double after = bench::WallMs();
            stepToFlip.push_back(scene.flippedAt - before);
            stepWhole.push_back(after - before);
        }
        // Left and entered again, as a child does going back to the sub-menu and choosing again.
        scene.form.ReleaseActivityPictures();
        const double again = bench::WallMs();
        scene.form.EnterScreen();
        enterAgain.push_back(bench::WallMs() - again);
    }

    std::vector<double> decodeOne;
    tjhandle handle = tjInitDecompress();
    std::vector<uint8_t> rgb(static_cast<size_t>(kWidth) * kHeight * 3);
    for (int round = 0; round < kRounds; ++round) {
        for (const std::string& jpeg : content.jpegs) {
            const double before = bench::WallMs();
            if (tjDecompress2(handle, reinterpret_cast<const unsigned char*>(jpeg.data()),
                              jpeg.size(), rgb.data(), kWidth, 0, kHeight, TJPF_RGB, 0) != 0) {
                tjDestroy(handle);
                throw std::runtime_error("TurboJPEG cannot decode a bench picture");
            }
            decodeOne.push_back(bench::WallMs() - before);
        }
    }
    tjDestroy(handle);

    size_t bytes = 0;
    for (const std::string& jpeg : content.jpegs) {
        bytes += jpeg.size();
    }
    const double decode = Median(decodeOne);
    const std::string pictures = std::to_string(kFilmPictures + 2) + " pictures";
    bench::Report("activities: enter build-up, until first picture flipped", Median(toFirstPicture),
                  "ms", "film of 40 + first build-up picture");
    bench::Report("activities: enter build-up, whole entry", Median(enterWhole), "ms",
                  pictures + " loaded into fresh memory");
    bench::Report("activities: enter build-up, whole entry, one thread", Median(enterInOrder), "ms",
                  pictures + " read one by one on the calling thread");
    bench::Report("activities: leave and enter build-up again, whole entry", Median(enterAgain),
                  "ms", "the same pictures into memory the first entry freed");
    bench::Report(
        "activities: creating " + std::to_string(kFilmPictures + 2) + " blank 800 x 600 surfaces",
        Median(freshSurfaces), "ms", "fresh memory, not yet touched");
    bench::Report("activities: creating " + std::to_string(kFilmPictures + 2) +
                      " 800 x 600 surfaces and writing every pixel",
                  Median(writtenSurfaces), "ms", "the memory share of a first entry");
    bench::Report("activities: TurboJPEG decode of the same " + pictures,
                  decode * (kFilmPictures + 2), "ms", "median single decode x count");
    char note[96];
    std::snprintf(note, sizeof note, "%.1f / %.1f ms, %u threads", Median(enterWhole),
                  decode * (kFilmPictures + 2), helpers + 1);
    bench::Report("activities: whole entry / TurboJPEG single-core decode",
                  Median(enterWhole) / (decode * (kFilmPictures + 2)), "", note);
    bench::Report("activities: build-up step, until its flip", Median(stepToFlip), "ms");
    bench::Report("activities: build-up step, with the next picture loaded", Median(stepWhole),
                  "ms");
    bench::Report("activities: TurboJPEG decode of one 800 x 600 picture", decode, "ms",
                  "tjDecompress2 TJPF_RGB, quality 85, " +
                      std::to_string(bytes / content.jpegs.size() / 1024) + " KiB average");
}

const bench::Register kActivities("activities", MeasureActivities);

}  // namespace
