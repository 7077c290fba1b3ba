#include "navigation_fixture.h"

#include <algorithm>

#include "display/display_objects.h"
#include "sound/dsound.h"

namespace testing_support {

namespace {

void Put16(std::string& out, uint16_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}
void Put32(std::string& out, uint32_t v) {
    Put16(out, static_cast<uint16_t>(v & 0xFFFF));
    Put16(out, static_cast<uint16_t>(v >> 16));
}

// A wave file of four silent 16-bit mono samples at 22 050 Hz.
std::string SilentWave() {
    const uint32_t dataBytes = 8;
    std::string wave = "RIFF";
    Put32(wave, 36 + dataBytes);
    wave += "WAVEfmt ";
    Put32(wave, 16);
    Put16(wave, 1);
    Put16(wave, 1);
    Put32(wave, 22050);
    Put32(wave, 44100);
    Put16(wave, 2);
    Put16(wave, 16);
    wave += "data";
    Put32(wave, dataBytes);
    wave.append(dataBytes, '\0');
    return wave;
}

}  // namespace

NavigationTest::NavigationTest() {
    const char* bank[] = {"Musik/Fiol.wav", "Djur/Hona.wav", "Djur/Hona2.wav", "Click.wav",
                          "Missed.wav",     "Build0.wav",    "Build1.wav",     "Build2.wav",
                          "Build3.wav",     "Build4.wav",    "Build5.wav",     "StartMeny.wav",
                          "SubMeny.wav"};
    for (const char* name : bank) {
        WriteFile(dir.Path() / "Ljud" / name, SilentWave());
    }
    if (!DSound::InitSound()) {
        ADD_FAILURE() << "the sound bank did not load";
    }
    h.PrepareWithoutContent();
    SetNow(100000);
}

int NavigationTest::Clicks() const {
    const auto& plays = h.platform.sound.plays;
    return static_cast<int>(std::count_if(plays.begin(), plays.end(), [](const std::string& p) {
        return p.size() >= 9 && p.compare(p.size() - 9, 9, "Click.wav") == 0;
    }));
}

void NavigationTest::Show(int16_t screen, int16_t context) {
    form.currentScreen = screen;
    form.requestedScreen = screen;
    form.menuContext = context;
}

std::unique_ptr<Surface> NavigationTest::SolidSurface(int32_t width, int32_t height,
                                                      uint32_t color) {
    SurfaceRequest request;
    request.flags =
        DisplayFlags::kRequestCaps | DisplayFlags::kRequestWidth | DisplayFlags::kRequestHeight;
    request.caps = DisplayFlags::kCapsOffScreenPlain | DisplayFlags::kCapsSystemMemory;
    request.width = width;
    request.height = height;
    std::unique_ptr<Surface> surface = GameUtil::displayDevice->CreateSurface(request);
    surface->BltColorFill({0, 0, width, height}, color);
    return surface;
}

}  // namespace testing_support
