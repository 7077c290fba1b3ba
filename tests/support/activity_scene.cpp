#include "support/activity_scene.h"

#include <algorithm>

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

// Where the hard-disk copy of the activity pictures lives: the program maps the prefix to the
// data home; a conversion that only turns backslashes into slashes takes it as a folder "C:".
// Writing both keeps the tests about which copy is read, not about the mapping.
std::vector<fs::path> Roots(const fs::path& dir, bool hardDisk) {
    if (!hardDisk) return {dir};
    return {dir / "data-home" / "Quillowbee", dir / "C:" / "Quillowbee"};
}
}  // namespace

int32_t ColourIndexOf(uint16_t pixel) {
    const Rgb c = Widen(pixel);
    const auto level = [](int32_t value) { return std::min(2, (value + 64) / 128); };
    return level(c.r) + 3 * level(c.g) + 9 * level(c.b);
}

ActivityScene::ActivityScene() {
    recorder = std::make_unique<RecordingDecoder>(*platform.pictures);
    decoder = recorder.get();
    InstallDecoder(decoder);
    platform.counter.SetMs(1000000);
    harness.PrepareWithoutContent();
    harness.form.isRunning = true;  // as inside the frame loop
    WriteSoundBank(dir.Path());
    if (!DSound::InitSound()) throw SystemFailure("the test sound bank did not load");
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
    for (const fs::path& root : Roots(dir.Path(), hardDisk)) {
        for (int32_t n = 0; n <= last; ++n) {
            const int32_t colour =
                ((firstColour + step * n) % kColourCount + kColourCount) % kColourCount;
            WriteJpeg(root / NativeName(folder) / PictureFileName(n), 16, 12, kLevels[colour % 3],
                      kLevels[(colour / 3) % 3], kLevels[(colour / 9) % 3]);
        }
    }
}

void ActivityScene::RemovePicture(const std::string& folder, int32_t n, bool hardDisk) {
    for (const fs::path& root : Roots(dir.Path(), hardDisk))
        fs::remove(root / NativeName(folder) / PictureFileName(n));
}

int32_t ActivityScene::Now() {
    return GameUtil::GetMilliseconds();
}

void ActivityScene::FillBackBuffer(int32_t colour) {
    const uint32_t rgb = kLevels[colour % 3] | (kLevels[(colour / 3) % 3] << 8u) |
                         (uint32_t{kLevels[(colour / 9) % 3]} << 16u);
    GameUtil::backBuffer->BltColorFill({0, 0, 800, 600}, rgb);
}

int32_t ActivityScene::BackBufferColour() const {
    return ColourIndexOf(GameUtil::backBuffer->PixelAt(400, 300));
}

std::vector<std::string> ActivityScene::RequestedPictures(size_t from) const {
    std::vector<std::string> requested;
    const std::vector<std::string> paths = decoder->Paths();
    for (size_t i = from; i < paths.size(); ++i) {
        std::string path = paths[i];
        if (const size_t at = path.find("Quillowbee/"); at != std::string::npos) {
            requested.push_back("hd:" + path.substr(at + 11));
            continue;
        }
        for (const std::string& base : {dir.Path().string() + "/", std::string("./")})
            if (path.starts_with(base)) path = path.substr(base.size());
        requested.push_back("local:" + path);
    }
    return requested;
}

std::vector<int16_t> ActivityScene::SoundsSince(size_t from) const {
    std::vector<int16_t> numbers;
    for (size_t i = from; i < platform.sound.plays.size(); ++i) {
        const auto n = std::ranges::find_if(
            kBankFiles, [&](const char* file) { return platform.sound.plays[i].ends_with(file); });
        numbers.push_back(n == std::end(kBankFiles) ? -1 : static_cast<int16_t>(n - kBankFiles));
    }
    return numbers;
}

std::vector<std::string> ActivityScene::SettingsWrites() const {
    std::vector<std::string> writes;
    for (const headless::Settings::Write& w : platform.settings.writes)
        writes.push_back(w.application + "/" + w.section + "/" + w.key + "=" + w.value);
    return writes;
}
}  // namespace testing_support
