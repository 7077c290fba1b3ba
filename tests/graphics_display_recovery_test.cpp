#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/form_harness.h"
#include "support/menu_picture_files.h"
#include "support/test_files.h"

namespace testing_support {
namespace {

// A form that notes the input events it is given instead of acting on them, so the test sees
// which events arrive while the display is away.
class RecordingForm : public MainMenuForm {
  public:
    std::vector<std::string> events;
    void OnKeyUp(int16_t keyCode, int16_t) override {
        events.push_back("key " + std::to_string(keyCode));
    }
    void OnMouseDown(int16_t button, int16_t, float x, float y) override {
        events.push_back("down " + std::to_string(button) + " at " + std::to_string(int(x)) + "," +
                         std::to_string(int(y)));
    }
    void OnMouseMove(int16_t, int16_t, float, float) override { events.push_back("move"); }
};

class DisplayRecovery : public ::testing::Test {
  protected:
    DisplayRecovery() : cd_(dir_.Path()) {
        WriteMenuPictures(dir_.Path());
        h_.PrepareDisplay();
        form.filmPictures.resize(1);
        form.ResetSettings(0);
        form.BuildCrossPositions();
        form.BuildSubMenuCellRects();
        form.BuildWarpPoints();
    }

    void Show(int16_t screen) {
        form.currentScreen = form.requestedScreen = form.menuContext = screen;
        form.LoadMainMenuPictures();
        form.LoadChoicePictures();
        form.isRunning = true;
        window().pointer = {300, 100};
        window().pointerShapes.clear();
        window().yields = 0;
        display().calls.clear();
        display().presents = 0;
    }

    int Restores() const {
        const auto& calls = h_.platform.display.calls;
        return static_cast<int>(std::count(calls.begin(), calls.end(), "RestoreAllSurfaces"));
    }

    headless::Window& window() { return h_.platform.window; }
    headless::Display& display() { return h_.platform.display; }
    const std::filesystem::path& Dir() const { return dir_.Path(); }

  private:
    TempDir dir_;
    ScopedCurrentDir cd_;
    FormHarness h_;

  protected:
    RecordingForm form;  // after the harness: its surfaces go before the display objects
};

struct LossCase {
    int16_t screen;
    const char* background;
    int presents;  // in the pass: the main menu shows its background early while reloading
};

class DisplayLoss : public DisplayRecovery, public ::testing::WithParamInterface<LossCase> {};

TEST_P(DisplayLoss, WaitsHandlingInputThenReloadsAndEntersTheScreenAgain) {
    const LossCase& c = GetParam();
    Show(c.screen);
    const Rgb fresh{240, 240, 16};
    ASSERT_FALSE(Shows(ColorToPixel(0x10F0F0), ColourOf(c.background)));
    display().lost = true;
    window().onYield = [&] {
        switch (window().yields) {
            case 1:
                window().pending.push_back({headless::InputEvent::Kind::KeyUp, 27, 0});
                break;
            case 2:
                window().pending.push_back({headless::InputEvent::Kind::MouseDown, 1, 0});
                break;
            case 3:
                // The picture changes while the display is away; the reload must read it again.
                RewriteMenuPicture(Dir(), c.background, fresh);
                display().lost = false;
                break;
            default:
                break;
        }
    };
    ScopedRecordingDecoder decoder;
    form.RunPass();

    EXPECT_EQ(form.events, (std::vector<std::string>{"key 27", "down 1 at 300,100"}));
    // Three yields while lost, one more once it is back, one at the end of the pass.
    EXPECT_EQ(window().yields, 5);
    EXPECT_EQ(Restores(), 1);
    EXPECT_EQ(decoder.Paths().size(), 53u);
    EXPECT_EQ(window().pointerShapes, (std::vector<int16_t>{11, 0}));  // EnterScreen ran
    EXPECT_FALSE(form.displayWasLost);
    EXPECT_EQ(form.currentScreen, c.screen);
    EXPECT_EQ(display().presents, c.presents);
    EXPECT_TRUE(Shows(display().PixelAt(5, 5), fresh)) << Describe(display().PixelAt(5, 5));
}

INSTANTIATE_TEST_SUITE_P(Screens, DisplayLoss,
                         ::testing::Values(LossCase{0, "Grafik\\Meny\\StartMeny.jpg", 2},
                                           LossCase{2, "Grafik\\Meny\\MusikMeny1.jpg", 1}),
                         [](const auto& info) {
                             return "Screen" + std::to_string(info.param.screen);
                         });

TEST_F(DisplayRecovery, ADisplayThatWasNotLostYieldsOnceAndReloadsNothing) {
    Show(1);
    ScopedRecordingDecoder decoder;
    form.RecoverLostDisplay();
    EXPECT_EQ(window().yields, 1);
    EXPECT_EQ(Restores(), 0);
    EXPECT_TRUE(decoder.Paths().empty());
    EXPECT_TRUE(window().pointerShapes.empty());
}

}  // namespace
}  // namespace testing_support
