// A 12-megapixel photo dropped on an item of the settings screen, until the item is made and
// its new small picture is read: through quillowbee-kit run as a program of its own (what the
// program does), beside the kit's library called in this process (the cost of the work alone).
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <thread>
#include <vector>

#include "bench.h"
#include "kit/kit.h"
#include "platform/portable/file_picture_decoder.h"
#include "shell/kit_program.h"
#include "writers/jpeg_writer.h"

namespace fs = std::filesystem;

namespace {

constexpr int kWidth = 4000, kHeight = 3000;
constexpr int kRuns = 3;

// A photo-like picture: smooth colour fields with grain, so it compresses as a camera's does.
void WritePhoto(const fs::path& path) {
    std::vector<uint8_t> rgb(static_cast<size_t>(kWidth) * kHeight * 3);
    uint32_t seed = 12345;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int grain = static_cast<int>(seed >> 28) - 8;
            uint8_t* p = &rgb[(static_cast<size_t>(y) * kWidth + x) * 3];
            p[0] = static_cast<uint8_t>(std::clamp(x * 255 / kWidth + grain, 0, 255));
            p[1] = static_cast<uint8_t>(std::clamp(y * 255 / kHeight + grain, 0, 255));
            p[2] = static_cast<uint8_t>(std::clamp(((x + y) / 16) % 256 + grain, 0, 255));
        }
    }
    std::ofstream(path, std::ios::binary) << writers::EncodeJpeg(rgb, kWidth, kHeight, {90});
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void MeasureKitDrop() {
    const fs::path work =
        fs::temp_directory_path() / ("quillowbee-kit-bench-" + std::to_string(::getpid()));
    fs::create_directories(work);
    const fs::path photo = work / "photo.jpg";
    WritePhoto(photo);
    const fs::path content = work / "content";
    fs::copy(bench::DemoDir(), content, fs::copy_options::recursive);
    const std::string kit = (fs::path(bench::ProgramPath()).parent_path() / "quillowbee-kit");

    std::vector<double> inProcess, program;
    for (int run = 0; run < kRuns; ++run) {
        double start = bench::WallMs();
        kit::KitOptions options;
        options.theme = "Djur";
        options.position = 3;
        options.photos = {photo};
        options.content = content;
        const kit::KitResult made = kit::MakeItem(options);
        platform::CreateFilePictureDecoder()->Decode(made.itemPage.string(), 0, 0);
        inProcess.push_back(bench::WallMs() - start);

        const std::unique_ptr<ItemMaking::Maker> maker =
            KitProgram::CreateMaker(kit, content.string());
        start = bench::WallMs();
        maker->Start(26, {527 + 2 * 64, 355}, {photo.string()});
        std::optional<ItemMaking::Outcome> outcome;
        while (!(outcome = maker->TakeOutcome())) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        program.push_back(bench::WallMs() - start);
        if (!outcome->made) {
            std::fprintf(stderr, "quillowbee-bench: the kit did not make the item: %s\n",
                         outcome->message.c_str());
        }
    }
    fs::remove_all(work);
    bench::Report("kit: dropped 12 MP photo to item, kit program", Median(program), "ms",
                  "median of 3; quillowbee-kit --no-check in a child process, and the small "
                  "picture read back");
    bench::Report("kit: same, kit library in this process", Median(inProcess), "ms",
                  "median of 3; MakeItem and the item page read, as before the kit was a program");
}

const bench::Register kKitDrop("kit drop", MeasureKitDrop);

}  // namespace
