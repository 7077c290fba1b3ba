#include "support/activity_scene.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "content/data_file_reader.h"
#include "content/millisecond_clock.h"
#include "display/display_objects.h"
#include "base/system_failure.h"
#include "sound/dsound.h"

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

// The bank's files, in sound-number order.
constexpr std::string_view kSoundFiles[13] = {
    "Ljud/Musik/Fiol.wav", "Ljud/Djur/Hona.wav", "Ljud/Djur/Hona2.wav", "Ljud/Click.wav",
    "Ljud/Missed.wav",     "Ljud/Build0.wav",    "Ljud/Build1.wav",     "Ljud/Build2.wav",
    "Ljud/Build3.wav",     "Ljud/Build4.wav",    "Ljud/Build5.wav",     "Ljud/StartMeny.wav",
    "Ljud/SubMeny.wav"};

std::string BareWave() {
    std::string wave = "RIFF";
    wave += std::string("\x24\0\0\0", 4);
    wave += "WAVEfmt ";
    wave += std::string("\x10\0\0\0\x01\0\x01\0\x22\x56\0\0\x44\xAC\0\0\x02\0\x10\0", 20);
    wave += "data";
    wave += std::string(4, '\0');
    return wave;
}

fs::path NativeFolder(const std::string& systemFolder) {
    std::string native = systemFolder;
    std::replace(native.begin(), native.end(), '\\', '/');
    return native;
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
        const std::string_view file = kSoundFiles[n];
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
    for (const std::string_view file : kSoundFiles) {
        WriteFile(dir.Path() / file, BareWave());
    }
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
            WriteColourJpeg(root / NativeFolder(folder) / PictureFileName(n), colour);
        }
    }
}

void ActivityScene::RemovePicture(const std::string& folder, int32_t n, bool hardDisk) {
    const std::vector<fs::path> roots =
        hardDisk ? HardDiskRoots(dir.Path()) : std::vector<fs::path>{dir.Path()};
    for (const fs::path& root : roots) {
        fs::remove(root / NativeFolder(folder) / PictureFileName(n));
    }
}

void ActivityScene::WriteMenuPictures() {
    const fs::path menu = dir.Path() / "Grafik" / "Meny";
    std::vector<std::string> names = {"StartMeny.jpg",  "StoppLapp.jpg",  "YrkeMeny1.jpg",
                                      "MusikMeny1.jpg", "SportMeny1.jpg", "DjurMeny1.jpg"};
    for (int n = 0; n < 4; ++n) {
        names.push_back("StartMeny" + std::to_string(n) + ".jpg");
        names.push_back("Lapp" + std::to_string(n) + ".jpg");
    }
    for (int k = 0; k < 32; ++k) {
        char name[32];
        std::snprintf(name, sizeof name, "Knapp1_%02d.jpg", k);
        names.push_back(name);
    }
    for (const std::string& name : names) {
        WriteColourJpeg(menu / name, 13);
    }
    for (const char* name : {"InfoMeny.jpg", "4Meny.jpg", "8Meny.jpg", "ByggUppMeny.jpg",
                             "FilmMeny.jpg", "selected.jpg"}) {
        WriteColourJpeg(menu / "Val" / name, 13);
    }
    WriteBmp24(menu / "Val" / "kryss.bmp", 4, 4, std::vector<uint8_t>(4 * 4 * 3, 0));
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

bool ActivityScene::RecoveryBuilt() {
    try {
        form.RecoverLostDisplay();
        return true;
    } catch (const SystemFailure& failure) {
        if (std::string_view(failure.what()) == "RecoverLostDisplay is not built yet") {
            return false;
        }
        throw;
    }
}

}  // namespace testing_support
