#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <sstream>
#include <vector>

#include "base/system_failure.h"
#include "platform/sdl/sdl_presentation.h"
#include "platform/sdl/sdl_window_system.h"
#include "support/test_files.h"

namespace platform {
namespace {

using testing_support::ScopedEnv;

struct Event {
    std::string kind;
    int16_t code = 0;
    int16_t shift = 0;
    float x = 0;
    float y = 0;
    bool operator==(const Event&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Event& e) {
    return out << e.kind << " " << e.code << " " << e.shift << " " << e.x << "," << e.y;
}

class RecordingSink : public EventSink {
  public:
    std::vector<Event> events;
    void OnMouseDown(int16_t button, int16_t shift, float x, float y) override {
        events.push_back({"down", button, shift, x, y});
    }
    void OnKeyUp(int16_t key, int16_t shift) override { events.push_back({"key", key, shift}); }
    void OnMouseMove(int16_t button, int16_t shift, float x, float y) override {
        events.push_back({"move", button, shift, x, y});
    }
    void OnQuitRequest() override { events.push_back({"quit"}); }
    void OnCloseRequest() override { events.push_back({"close"}); }
};

// The real window system and presentation on SDL's dummy video driver (a 1024 x 768 desktop
// without a screen).
class SdlWindowTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError(); }
    void TearDown() override {
        window_.reset();
        presentation_.reset();
        SDL_Quit();
    }
    void Open(bool windowed) {
        PresentationOptions options;
        options.windowed = windowed;
        presentation_ = std::make_unique<SdlPresentation>(options);
        window_ = std::make_unique<SdlWindowSystem>(*presentation_);
    }
    void TakeScreen() {
        presentation_->SetCooperativeLevel(81);
        presentation_->SetDisplayMode(800, 600, 16, 0, 0);
        Drain();
    }
    void Drain() {
        RecordingSink ignored;
        window_->Yield(ignored);
    }
    // The grab the program asked for (SDL applies it once the window has the focus, which no
    // window has on a dummy driver).
    bool GrabRequested() const {
        return (SDL_GetWindowFlags(presentation_->Window()) & SDL_WINDOW_MOUSE_GRABBED) != 0;
    }
    Uint32 WindowId() const { return SDL_GetWindowID(presentation_->Window()); }
    void Push(SDL_Event event) { ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError(); }
    void PushButton(Uint32 type, Uint8 button, int x, int y) {
        SDL_Event e{};
        e.button = {type, 0, WindowId(), 0, button, SDL_PRESSED, 1, 0, x, y};
        Push(e);
    }
    void PushMotion(int x, int y, Uint32 state) {
        SDL_Event e{};
        e.motion = {SDL_MOUSEMOTION, 0, WindowId(), 0, state, x, y, 0, 0};
        Push(e);
    }
    void PushKey(Uint32 type, SDL_Keycode key, SDL_Scancode scancode, Uint16 mod) {
        SDL_Event e{};
        e.key.type = type;
        e.key.windowID = WindowId();
        e.key.keysym.sym = key;
        e.key.keysym.scancode = scancode;
        e.key.keysym.mod = mod;
        Push(e);
    }
    std::vector<uint16_t> Frame(uint16_t fill) { return std::vector<uint16_t>(800 * 600, fill); }
    // The colour the window shows at window position (x, y), as 0xRRGGBB.
    uint32_t ShownAt(int x, int y) {
        SDL_Surface* surface = SDL_GetWindowSurface(presentation_->Window());
        EXPECT_NE(surface, nullptr);
        Uint32 pixel = 0;
        SDL_LockSurface(surface);
        const auto* row = static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch;
        std::memcpy(&pixel, row + x * surface->format->BytesPerPixel,
                    surface->format->BytesPerPixel);
        SDL_UnlockSurface(surface);
        Uint8 r = 0, g = 0, b = 0;
        SDL_GetRGB(pixel, surface->format, &r, &g, &b);
        return (r << 16) | (g << 8) | b;
    }

    ScopedEnv driver_{"SDL_VIDEODRIVER", "dummy"};
    std::unique_ptr<SdlPresentation> presentation_;
    std::unique_ptr<SdlWindowSystem> window_;
};

TEST_F(SdlWindowTest, TheWindowExistsAndGrabsOnlyWhileTheProgramHasTheScreen) {
    Open(false);
    EXPECT_EQ(presentation_->Window(), nullptr);
    EXPECT_EQ(presentation_->TestCooperativeLevel(), 0);
    TakeScreen();
    SDL_Window* window = presentation_->Window();
    ASSERT_NE(window, nullptr);
    EXPECT_STREQ(SDL_GetWindowTitle(window), "Quillowbee");
    int width = 0, height = 0;
    SDL_GetWindowSize(window, &width, &height);
    EXPECT_EQ(width, 1024);  // the whole desktop
    EXPECT_EQ(height, 768);
    // Where a window manager (or no X server at all) looks after the window, it asks for the
    // whole screen as well.
    EXPECT_NE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP, 0u);
    EXPECT_TRUE(presentation_->IsSoftware());  // no graphics hardware behind a dummy driver
    EXPECT_TRUE(GrabRequested());
    presentation_->SetCooperativeLevel(8);  // the grab follows the cooperative level
    EXPECT_FALSE(GrabRequested());
    presentation_->SetCooperativeLevel(81);
    EXPECT_TRUE(GrabRequested());
    presentation_->RestoreDisplayMode();
    presentation_->SetCooperativeLevel(8);
    EXPECT_EQ(presentation_->Window(), nullptr);

    // A window of the picture's own size, never grabbing.
    window_.reset();
    presentation_.reset();
    Open(true);
    TakeScreen();
    SDL_GetWindowSize(presentation_->Window(), &width, &height);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 600);
    EXPECT_FALSE(GrabRequested());
}

TEST_F(SdlWindowTest, ImpossibleDisplayModesAndEarlyFramesFail) {
    Open(true);
    const auto frame = Frame(0);
    EXPECT_THROW(presentation_->Present(frame.data(), 800, 600, 800), SystemFailure);
    EXPECT_THROW(presentation_->SetDisplayMode(800, 600, 8, 0, 0), SystemFailure);
    EXPECT_THROW(presentation_->SetDisplayMode(0, 600, 16, 0, 0), SystemFailure);
    TakeScreen();
    EXPECT_THROW(presentation_->Present(frame.data(), 640, 480, 640), SystemFailure);
}

TEST_F(SdlWindowTest, InputArrivesInPictureCoordinatesThroughTheBars) {
    Open(true);
    TakeScreen();
    SDL_SetWindowSize(presentation_->Window(), 1280, 720);  // picture at x 160-1119, scale 1.2
    Drain();
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 640, 360);
    PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 640, 360);
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 100, 100);  // left bar
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 1279, 719);
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X1, 640, 360);
    PushMotion(1000, 60, SDL_BUTTON_LMASK);
    PushKey(SDL_KEYDOWN, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, KMOD_NONE);
    PushKey(SDL_KEYUP, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, KMOD_NONE);
    PushKey(SDL_KEYUP, SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, KMOD_LSHIFT | KMOD_RCTRL);
    PushKey(SDL_KEYUP, SDLK_F1, SDL_SCANCODE_F1, KMOD_LALT);
    PushKey(SDL_KEYUP, SDLK_MODE, SDL_SCANCODE_MODE, KMOD_NONE);  // no code of its own
    SDL_Event close{};
    close.window = {SDL_WINDOWEVENT, 0, WindowId(), SDL_WINDOWEVENT_CLOSE, 0, 0, 0, 0, 0};
    Push(close);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    Push(quit);
    PushKey(SDL_KEYUP, SDLK_SPACE, SDL_SCANCODE_SPACE, KMOD_NONE);  // after a quit: still delivered

    RecordingSink sink;
    window_->Yield(sink);
    const std::vector<Event> expected = {
        {"down", 1, 0, 400, 300},
        {"down", 2, 0, 0, 83},
        {"down", 4, 0, 799, 599},
        {"move", 1, 0, 700, 50},
        {"key", 27, 0},
        {"key", 13, 3},
        {"key", 112, 4},
        {"key", kKeyOther, 0},
        {"close"},
        {"quit"},
        {"key", 32, 0},
    };
    EXPECT_EQ(sink.events, expected);
    EXPECT_EQ(window_->GetCursorPos(), (Point{700, 50}));
    // Closing the last window does not turn into a quit by itself: the form decides.
    EXPECT_FALSE(SDL_GetHintBoolean(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, SDL_TRUE));

    RecordingSink later;
    window_->Yield(later);
    EXPECT_TRUE(later.events.empty());
}

TEST_F(SdlWindowTest, TheWarpedPointerReadsBackWhereItWasSent) {
    Open(false);
    window_->SetCursorPos(10, 20);  // before the window exists: remembered only
    EXPECT_EQ(window_->GetCursorPos(), (Point{10, 20}));
    TakeScreen();  // 1024 x 768: a scale of 1.28
    const Point targets[] = {{260, 150}, {0, 0}, {799, 599}, {401, 299}, {123, 457}};
    for (const Point& target : targets) {
        window_->SetCursorPos(target.x, target.y);
        EXPECT_EQ(window_->GetCursorPos(), target);
        RecordingSink sink;
        window_->Yield(sink);  // the warp's own motion event, in window coordinates
        EXPECT_EQ(window_->GetCursorPos(), target);
        EXPECT_EQ(sink.events.size(), 1u);
        for (const Event& event : sink.events) {
            EXPECT_EQ(event, (Event{"move", 0, 0, static_cast<float>(target.x),
                                    static_cast<float>(target.y)}));
        }
    }
    window_->SetCursorPos(900, -5);
    EXPECT_EQ(window_->GetCursorPos(), (Point{799, 0}));
}

TEST_F(SdlWindowTest, AFrameEqualToTheOneOnScreenIsNotPresentedAgain) {
    Open(true);
    TakeScreen();
    const auto red = Frame(0xF800);
    const auto blue = Frame(0x001F);
    presentation_->Present(red.data(), 800, 600, 800);
    presentation_->Present(red.data(), 800, 600, 800);
    EXPECT_EQ(presentation_->PresentedFrames(), 1);
    presentation_->Present(blue.data(), 800, 600, 800);
    presentation_->Present(red.data(), 800, 600, 800);
    EXPECT_EQ(presentation_->PresentedFrames(), 3);

    // The same picture in a wider buffer: only the picture's own pixels count.
    std::vector<uint16_t> padded(832 * 600, 0x07E0);
    for (int y = 0; y < 600; ++y) {
        std::fill_n(padded.begin() + y * 832, 800, 0xF800);
    }
    presentation_->Present(padded.data(), 800, 600, 832);
    EXPECT_EQ(presentation_->PresentedFrames(), 3);

    // One pixel in the last row differs.
    auto almost = red;
    almost.back() = 0;
    presentation_->Present(almost.data(), 800, 600, 800);
    EXPECT_EQ(presentation_->PresentedFrames(), 4);

    // A window that was covered needs its picture again.
    presentation_->Invalidate();
    presentation_->Present(almost.data(), 800, 600, 800);
    EXPECT_EQ(presentation_->PresentedFrames(), 5);
    EXPECT_EQ(presentation_->HandedOverFrames(), 7);
}

// A frame the form knows to be unchanged is shown only where the window lacks it.
TEST_F(SdlWindowTest, AnUnchangedFrameIsPresentedOnlyWhereTheWindowLacksIt) {
    Open(true);
    TakeScreen();
    const auto red = Frame(0xF800);
    struct Step {
        void (SdlPresentation::*before)();
        int presented;
    } const steps[] = {{nullptr, 1},  // nothing shown yet
                       {nullptr, 1},
                       {&SdlPresentation::Invalidate, 2},     // covered and uncovered
                       {&SdlPresentation::OnRenderReset, 3},  // the renderer lost its textures
                       {nullptr, 3}};
    for (const Step& step : steps) {
        if (step.before != nullptr) (presentation_.get()->*step.before)();
        presentation_->PresentUnchanged(red.data(), 800, 600, 800);
        EXPECT_EQ(presentation_->PresentedFrames(), step.presented);
    }
    EXPECT_EQ(ShownAt(400, 300), 0xFF0000u);
}

TEST_F(SdlWindowTest, ThePictureIsScaledBetweenBlackBars) {
    Open(true);
    TakeScreen();
    SDL_SetWindowSize(presentation_->Window(), 1000, 600);  // bars of 100 on either side
    Drain();
    std::vector<uint16_t> frame(800 * 600, 0xF800);  // red
    std::fill_n(frame.begin(), 400, 0x001F);         // blue left half of the first row
    presentation_->Present(frame.data(), 800, 600, 800);
    EXPECT_EQ(ShownAt(50, 300), 0x000000u);
    EXPECT_EQ(ShownAt(950, 300), 0x000000u);
    EXPECT_EQ(ShownAt(100, 300), 0xFF0000u);
    EXPECT_EQ(ShownAt(899, 300), 0xFF0000u);
    EXPECT_EQ(ShownAt(100, 0), 0x0000FFu);
    EXPECT_EQ(ShownAt(899, 0), 0xFF0000u);
}

TEST_F(SdlWindowTest, AHiddenWindowIsALostDisplay) {
    Open(false);
    TakeScreen();
    EXPECT_EQ(presentation_->TestCooperativeLevel(), 0);
    SDL_HideWindow(presentation_->Window());
    EXPECT_NE(presentation_->TestCooperativeLevel(), 0);
    window_->ShowWindow();
    EXPECT_EQ(presentation_->TestCooperativeLevel(), 0);
    presentation_->RestoreAllSurfaces();
    const auto frame = Frame(0x1234);
    presentation_->Present(frame.data(), 800, 600, 800);
    EXPECT_EQ(presentation_->PresentedFrames(), 1);
}

TEST_F(SdlWindowTest, TheFrameLogRecordsEachMilestoneOnce) {
    testing_support::TempDir dir;
    const auto log = dir.Path() / "frames.log";
    {
        ScopedEnv variable{FrameLog::kVariable, log.string()};
        Open(true);
    }
    presentation_->SetCooperativeLevel(81);
    presentation_->SetDisplayMode(800, 600, 16, 0, 0);  // the first yield comes with the loop
    const auto frame = Frame(0x1234);
    presentation_->Present(frame.data(), 800, 600, 800);
    presentation_->Present(frame.data(), 800, 600, 800);
    Drain();
    Drain();
    window_.reset();
    presentation_.reset();
    std::istringstream lines(testing_support::ReadFile(log));
    std::vector<std::string> events;
    std::string event;
    double previous = 0;
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        words >> event;
        if (event == "frames") {
            long handed = 0, shown = 0;
            words >> handed >> shown;
            EXPECT_EQ(handed, 2);
            EXPECT_EQ(shown, 1);
        } else {
            double ms = 0;
            words >> ms;
            EXPECT_GE(ms, previous) << line;
            previous = ms;
        }
        events.push_back(event);
    }
    EXPECT_EQ(events, (std::vector<std::string>{"window", "first-frame", "ready", "frames"}));
}

}  // namespace
}  // namespace platform
