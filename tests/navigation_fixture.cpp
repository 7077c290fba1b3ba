#include "navigation_fixture.h"

#include <algorithm>

#include "display/display_objects.h"
#include "sound/dsound.h"
#include "support/sound_files.h"

namespace testing_support {

NavigationTest::NavigationTest() {
    WriteSoundBank(dir.Path());
    if (!DSound::InitSound()) ADD_FAILURE() << "the sound bank did not load";
    h.PrepareWithoutContent();
    SetNow(100000);
}

int NavigationTest::Clicks() const {
    const auto& plays = h.platform.sound.plays;
    return static_cast<int>(std::count_if(
        plays.begin(), plays.end(), [](const std::string& p) { return p.ends_with("Click.wav"); }));
}

void NavigationTest::Show(int16_t screen, int16_t context) {
    form.currentScreen = form.requestedScreen = screen;
    form.menuContext = context;
}

std::unique_ptr<Surface> NavigationTest::SolidSurface(int32_t width, int32_t height,
                                                      uint32_t color) {
    std::unique_ptr<Surface> surface = GameUtil::displayDevice->CreateSurface(
        {.flags = 7, .height = height, .width = width, .caps = 0x840});
    surface->BltColorFill({0, 0, width, height}, color);
    return surface;
}

}  // namespace testing_support
