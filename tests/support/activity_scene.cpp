#include "support/activity_scene.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "base/system_failure.h"
#include "content/data_file_reader.h"
#include "content/millisecond_clock.h"
#include "display/display_objects.h"
#include "sound/dsound.h"
#include "support/mini_pack.h"
#include "support/sound_files.h"

namespace fs = std::filesystem;

namespace testing_support {

namespace {

constexpr uint8_t kLevels[3] = {0, 128, 255};

int32_t NearestLevel(int32_t value) {
    int32_t best = 0;
    for (int32_t i = 1; i < 3; ++i) {
        if (std::abs(value - kLevels[i]) < std::abs(value - kLevels[best])) {
            best = i;
        }
    }
    return best;
}

// Where the hard-disk copy of the activity pictures lives: the program maps the prefix to the
// data home; a conversion that only turns backslashes into slashes takes it as a folder "C:".
// Writing both keeps the tests about which copy is read, not about the mapping.
std::vector<fs::path> HardDiskRoots(const fs::path& dir) {
    return {dir / "data-home" / "Quillowbee", dir / "C:" / "Quillowbee"};
}

}  // namespace

int32_t ColourIndexOf(uint16_t pixel) {
    const int32_t r = (pixel >> 11) * 255 / 31;
    const int32_t g = ((pixel >> 5) & 63) * 255 / 63;
    const int32_t b = (pixel & 31) * 255 / 31;
    return NearestLevel(r) + 3 * NearestLevel(g) + 9 * NearestLevel(b);
}

void WriteColourJpeg(const fs::path& path, int32_t colour) {
    WriteJpeg(path, 16, 12, kLevels[colour % 3], kLevels[(colour / 3) % 3],
              kLevels[(colour / 9) % 3]);
}

std::string PictureFileName(int32_t n) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d.jpg", static_cast<int>(n + 1));
    return text;
}

int16_t SoundNumberOf(const std::string& nativePath) {
    for (int16_t n = 0; n < 13; ++n) {
        const std::string_view file = kBankFiles[n];
        if (nativePath.size() >= file.size() &&
            nativePath.compare(nativePath.size() - file.size(), file.size(), file) == 0) {
            return n;
        }
    }
    return -1;
}

ActivityScene::ActivityScene() {
    recorder = std::make_unique<RecordingDecoder>(*platform.pictures);
    decoder = recorder.get();
    platform::Services services = platform::Current();
    services.pictures = decoder;
    platform::Install(services);
    platform.counter.SetMs(1000000);
    harness.PrepareWithoutContent();
    harness.form.isRunning = true;  // as inside the frame loop
    WriteSoundBank(dir.Path());
    if (!DSound::InitSound()) {
        throw SystemFailure("the test sound bank did not load");
    }
}

void ActivityScene::SetItem(int16_t item, int16_t simpleLast, int16_t complexLast,
                            const std::vector<int16_t>& filmDelays) {
    ItemInfo& info = DataFileReader::Item(item);
    info.folder = "Item\\";
    info.simpleLast = simpleLast;
    info.complexLast = complexLast;
    info.filmLast = static_cast<int16_t>(filmDelays.size()) - 1;
    info.filmDelays = filmDelays;
    form.selectedItem = item;
}

void ActivityScene::WriteSeries(const std::string& folder, int32_t last, int32_t firstColour,
                                int32_t step, bool hardDisk) {
    const std::vector<fs::path> roots =
        hardDisk ? HardDiskRoots(dir.Path()) : std::vector<fs::path>{dir.Path()};
    for (const fs::path& root : roots) {
        for (int32_t n = 0; n <= last; ++n) {
            const int32_t colour =
                ((firstColour + step * n) % kColourCount + kColourCount) % kColourCount;
            WriteColourJpeg(root / NativeName(folder) / PictureFileName(n), colour);
        }
    }
}

void ActivityScene::RemovePicture(const std::string& folder, int32_t n, bool hardDisk) {
    const std::vector<fs::path> roots =
        hardDisk ? HardDiskRoots(dir.Path()) : std::vector<fs::path>{dir.Path()};
    for (const fs::path& root : roots) {
        fs::remove(root / NativeName(folder) / PictureFileName(n));
    }
}

void ActivityScene::WriteMenuPictures() {
    testing_support::WriteMenuPictures(dir.Path());
}

int32_t ActivityScene::Now() {
    return GameUtil::GetMilliseconds();
}

void ActivityScene::FillBackBuffer(int32_t colour) {
    const uint32_t r = kLevels[colour % 3];
    const uint32_t g = kLevels[(colour / 3) % 3];
    const uint32_t b = kLevels[(colour / 9) % 3];
    GameUtil::backBuffer->BltColorFill({0, 0, 800, 600}, r | (g << 8) | (b << 16));
}

int32_t ActivityScene::PresentedColour() const {
    return ColourIndexOf(platform.display.PixelAt(400, 300));
}

int32_t ActivityScene::BackBufferColour() const {
    return ColourIndexOf(GameUtil::backBuffer->PixelAt(400, 300));
}

std::vector<std::string> ActivityScene::RequestedPictures(size_t from) const {
    std::vector<std::string> requested;
    const std::vector<std::string> paths = decoder->Paths();
    for (size_t i = from; i < paths.size(); ++i) {
        const std::string& path = paths[i];
        const std::string marker = "Quillowbee/";
        const size_t at = path.find(marker);
        if (at != std::string::npos) {
            requested.push_back("hd:" + path.substr(at + marker.size()));
        } else {
            std::string local = path;
            for (const std::string& base : {dir.Path().string() + "/", std::string("./")}) {
                if (local.starts_with(base)) {
                    local = local.substr(base.size());
                }
            }
            requested.push_back("local:" + local);
        }
    }
    return requested;
}

std::vector<int16_t> ActivityScene::SoundsSince(size_t from) const {
    std::vector<int16_t> numbers;
    for (size_t i = from; i < platform.sound.plays.size(); ++i) {
        numbers.push_back(SoundNumberOf(platform.sound.plays[i]));
    }
    return numbers;
}

std::vector<std::string> ActivityScene::SettingsWrites() const {
    std::vector<std::string> writes;
    for (const headless::Settings::Write& w : platform.settings.writes) {
        writes.push_back(w.application + "/" + w.section + "/" + w.key + "=" + w.value);
    }
    return writes;
}

}  // namespace testing_support
