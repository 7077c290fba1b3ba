#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>
#include <memory>
#include <sstream>
#include <tuple>
#include <vector>

#include "base/system_failure.h"
#include "platform/sdl/instance_lock.h"
#include "platform/sdl/sdl_presentation.h"
#include "platform/sdl/sdl_window_system.h"
#include "support/test_files.h"

namespace platform {
namespace {
using testing_support::ScopedEnv;
using Events = std::vector<std::string>;

// What the form is told, as "down 1 0 400,300", "key 13 3", "quit".
struct RecordingSink : EventSink {
    Events events;
    void Add(const char* kind, int code, int shift, float x = -1, float y = -1) {
        std::ostringstream event;
        event << kind << ' ' << code << ' ' << shift;
        if (x >= 0) event << ' ' << x << ',' << y;
        events.push_back(event.str());
    }
    void OnMouseDown(int16_t b, int16_t s, float x, float y) override { Add("down", b, s, x, y); }
    void OnMouseMove(int16_t b, int16_t s, float x, float y) override { Add("move", b, s, x, y); }
    void OnKeyUp(int16_t key, int16_t shift) override { Add("key", key, shift); }
    void OnQuitRequest() override { events.push_back("quit"); }
    void OnCloseRequest() override { events.push_back("close"); }
    void OnDropFiles(const std::vector<std::string>& paths, float x, float y) override {
        std::string files;
        for (const std::string& path : paths) files += (files.empty() ? "" : "|") + path;
        Add(("drop " + files).c_str(), static_cast<int>(paths.size()), 0, x, y);
    }
};

// The real window system and presentation on SDL's dummy video driver (a 1024 x 768 desktop
// without a screen).
class SdlWindowTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError(); }
    void TearDown() override {
        Close();
        SDL_Quit();
    }
    void Close() {
        window_.reset();
        presentation_.reset();
    }
    void Open(bool windowed, bool takeScreen = true) {
        Close();
        PresentationOptions options;
        options.windowed = windowed;
        presentation_ = std::make_unique<SdlPresentation>(options);
        window_ = std::make_unique<SdlWindowSystem>(*presentation_);
        if (!takeScreen) return;
        presentation_->SetCooperativeLevel(81);
        presentation_->SetDisplayMode(800, 600, 16, 0, 0);
        Drain();
    }
    Events Drain() {
        RecordingSink sink;
        window_->Yield(sink);
        return sink.events;
    }
    std::pair<int, int> Size() const {
        std::pair<int, int> size;
        SDL_GetWindowSize(presentation_->Window(), &size.first, &size.second);
        return size;
    }
    // The grab the program asked for (SDL applies it once the window has the focus, which no
    // window has on a dummy driver).
    bool GrabRequested() const {
        return (SDL_GetWindowFlags(presentation_->Window()) & SDL_WINDOW_MOUSE_GRABBED) != 0;
    }
    void Present(const std::vector<uint16_t>& frame, int pitch = 800) {
        presentation_->Present(frame.data(), 800, 600, pitch);
    }
    // The colour the window shows at window position (x, y), as 0xRRGGBB.
    uint32_t ShownAt(int x, int y) {
        SDL_Surface* shown = SDL_ConvertSurfaceFormat(SDL_GetWindowSurface(presentation_->Window()),
                                                      SDL_PIXELFORMAT_RGB888, 0);
        const uint32_t rgb = static_cast<uint32_t*>(shown->pixels)[y * shown->pitch / 4 + x];
        SDL_FreeSurface(shown);
        return rgb & 0xFFFFFF;
    }

    ScopedEnv driver_{"SDL_VIDEODRIVER", "dummy"};
    std::unique_ptr<SdlPresentation> presentation_;
    std::unique_ptr<SdlWindowSystem> window_;
};

// The window exists, grabs and is shown only while the program has the screen; impossible display
// modes, early frames and frames of another size fail.
TEST_F(SdlWindowTest, TheWindowLivesWhileTheProgramHasTheScreen) {
    Open(false, false);
    EXPECT_EQ(presentation_->Window(), nullptr);
    EXPECT_EQ(presentation_->TestCooperativeLevel(), 0);
    const std::vector<uint16_t> frame(800 * 600);
    EXPECT_THROW(Present(frame), SystemFailure);
    EXPECT_THROW(presentation_->SetDisplayMode(800, 600, 8, 0, 0), SystemFailure);
    EXPECT_THROW(presentation_->SetDisplayMode(0, 600, 16, 0, 0), SystemFailure);
    Open(false);
    EXPECT_STREQ(SDL_GetWindowTitle(presentation_->Window()), "Quillowbee");
    EXPECT_EQ(Size(), std::make_pair(1024, 768));  // the whole desktop, asked for as such
    EXPECT_NE(SDL_GetWindowFlags(presentation_->Window()) & SDL_WINDOW_FULLSCREEN_DESKTOP, 0u);
    EXPECT_TRUE(presentation_->IsSoftware());  // no graphics hardware behind a dummy driver
    for (const int level : {81, 8, 81}) {      // the grab follows the cooperative level
        presentation_->SetCooperativeLevel(level);
        EXPECT_EQ(GrabRequested(), level == 81);
    }
    SDL_HideWindow(presentation_->Window());  // a hidden window is a lost display
    EXPECT_NE(presentation_->TestCooperativeLevel(), 0);
    window_->ShowWindow();
    EXPECT_EQ(presentation_->TestCooperativeLevel(), 0);
    presentation_->RestoreAllSurfaces();
    Present(frame);
    EXPECT_EQ(presentation_->PresentedFrames(), 1);
    EXPECT_THROW(presentation_->Present(frame.data(), 640, 480, 640), SystemFailure);
    presentation_->RestoreDisplayMode();
    presentation_->SetCooperativeLevel(8);
    EXPECT_EQ(presentation_->Window(), nullptr);
    Open(true);  // a window of the picture's own size, never grabbing
    EXPECT_EQ(Size(), std::make_pair(800, 600));
    EXPECT_FALSE(GrabRequested());
}

TEST_F(SdlWindowTest, InputArrivesInPictureCoordinatesThroughTheBars) {
    Open(true);
    SDL_SetWindowSize(presentation_->Window(), 1280, 720);  // picture at x 160-1119, scale 1.2
    Drain();
    const Uint32 id = SDL_GetWindowID(presentation_->Window());
    std::vector<SDL_Event> pushed(11);
    const auto button = [&](int i, Uint32 type, Uint8 which, int x, int y) {
        pushed[i].button = {type, 0, id, 0, which, SDL_PRESSED, 1, 0, x, y};
    };
    const auto key = [&](int i, SDL_Keycode sym, SDL_Scancode code, Uint16 mod, Uint32 type) {
        pushed[i].key = {type, 0, id, SDL_RELEASED, 0, 0, 0, {code, sym, mod, 0}};
    };
    button(0, SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 640, 360);
    button(1, SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 640, 360);
    button(2, SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 100, 100);  // left bar
    button(3, SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X1, 640, 360);
    pushed[4].motion = {SDL_MOUSEMOTION, 0, id, 0, SDL_BUTTON_LMASK, 1000, 60, 0, 0};
    key(5, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, KMOD_NONE, SDL_KEYDOWN);
    key(6, SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, KMOD_LSHIFT | KMOD_RCTRL, SDL_KEYUP);
    key(7, SDLK_MODE, SDL_SCANCODE_MODE, KMOD_NONE, SDL_KEYUP);  // no code of its own
    pushed[8].window = {SDL_WINDOWEVENT, 0, id, SDL_WINDOWEVENT_CLOSE, 0, 0, 0, 0, 0};
    pushed[9].type = SDL_QUIT;
    key(10, SDLK_SPACE, SDL_SCANCODE_SPACE, KMOD_NONE, SDL_KEYUP);  // after a quit: delivered
    for (SDL_Event& e : pushed) ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
    EXPECT_EQ(Drain(),
              (Events{"down 1 0 400,300", "down 2 0 0,83", "move 1 0 700,50", "key 13 3",
                      "key " + std::to_string(kKeyOther) + " 0", "close", "quit", "key 32 0"}));
    EXPECT_EQ(window_->GetCursorPos(), (Point{700, 50}));
    // Closing the last window does not turn into a quit by itself: the form decides.
    EXPECT_FALSE(SDL_GetHintBoolean(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, SDL_TRUE));
    EXPECT_EQ(Drain(), Events{});
    // Files dropped from a file manager arrive as one drop at the pointer (SDL's drop events
    // carry no position); text dropped with them is not a file.
    window_->SetCursorPos(400, 300);
    Drain();
    std::vector<SDL_Event> drop(6);
    drop[0].drop = {SDL_DROPBEGIN, 0, nullptr, id};
    drop[1].drop = {SDL_DROPFILE, 0, SDL_strdup("/home/a b.jpg"), id};
    drop[2].drop = {SDL_DROPTEXT, 0, SDL_strdup("some text"), id};
    drop[3].drop = {SDL_DROPFILE, 0, SDL_strdup("/home/c.heic"), id};
    drop[4].drop = {SDL_DROPCOMPLETE, 0, nullptr, id};
    drop[5].drop = {SDL_DROPCOMPLETE, 0, nullptr, id};  // a drop of nothing but text: nothing
    for (SDL_Event& e : drop) ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
    EXPECT_EQ(Drain(), Events{"drop /home/a b.jpg|/home/c.heic 2 0 400,300"});

    // A warped pointer reads back where it was sent, also before the window exists.
    Open(false, false);
    window_->SetCursorPos(10, 20);
    EXPECT_EQ(window_->GetCursorPos(), (Point{10, 20}));
    Open(false);  // 1024 x 768: a scale of 1.28
    for (const Point target : {Point{260, 150}, Point{799, 599}, Point{401, 299}}) {
        window_->SetCursorPos(target.x, target.y);
        EXPECT_EQ(window_->GetCursorPos(), target);
        // The warp's own motion event, in window coordinates, reads back as the same pixel.
        RecordingSink move;
        move.Add("move", 0, 0, static_cast<float>(target.x), static_cast<float>(target.y));
        EXPECT_EQ(Drain(), move.events);
        EXPECT_EQ(window_->GetCursorPos(), target);
    }
    window_->SetCursorPos(900, -5);
    EXPECT_EQ(window_->GetCursorPos(), (Point{799, 0}));
}

// A frame equal to the one on screen (in the picture's own pixels, whatever the buffer's width)
// is not presented again, nor is one the form knows to be unchanged, unless the window lacks it;
// the picture is scaled between black bars.
TEST_F(SdlWindowTest, AFrameIsPresentedOnlyWhereTheWindowLacksIt) {
    Open(true);
    const std::vector<uint16_t> red(800 * 600, 0xF800), blue(800 * 600, 0x001F);
    std::vector<uint16_t> padded(832 * 600, 0x07E0);
    for (int y = 0; y < 600; ++y) std::fill_n(padded.begin() + y * 832, 800, 0xF800);
    auto almost = red;
    almost.back() = 0;  // one pixel in the last row
    const auto same = [&] { presentation_->PresentUnchanged(red.data(), 800, 600, 800); };
    const std::pair<std::function<void()>, int> steps[] = {
        {same, 1},  // nothing shown yet
        {same, 1},
        {[&] { Present(red); }, 1},
        {[&] { Present(blue); }, 2},
        {[&] { Present(red); }, 3},
        {[&] { Present(padded, 832); }, 3},
        {[&] { Present(almost); }, 4},
        {[&] { presentation_->Invalidate(), Present(almost); }, 5},  // covered and uncovered
        {[&] { presentation_->Invalidate(), same(); }, 6},
        {[&] { presentation_->OnRenderReset(), same(); }, 7},  // the textures lost
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        steps[i].first();
        EXPECT_EQ(presentation_->PresentedFrames(), steps[i].second) << "step " << i;
    }
    EXPECT_EQ(ShownAt(400, 300), 0xFF0000u);

    SDL_SetWindowSize(presentation_->Window(), 1000, 600);  // bars of 100 on either side
    Drain();
    std::fill_n(almost.begin(), 400, 0x001F);  // blue left half of the first row
    Present(almost);
    const std::tuple<int, int, uint32_t> shown[] = {{50, 300, 0},         {950, 300, 0},
                                                    {100, 300, 0xFF0000}, {899, 300, 0xFF0000},
                                                    {100, 0, 0x0000FF},   {899, 0, 0xFF0000}};
    for (const auto& [x, y, rgb] : shown) EXPECT_EQ(ShownAt(x, y), rgb) << x << "," << y;
}

TEST_F(SdlWindowTest, TheFrameLogRecordsEachMilestoneOnce) {
    testing_support::TempDir dir;
    {
        ScopedEnv variable{FrameLog::kVariable, (dir / "frames.log").string()};
        Open(true, false);
    }
    presentation_->SetCooperativeLevel(81);
    presentation_->SetDisplayMode(800, 600, 16, 0, 0);  // the first yield comes with the loop
    const std::vector<uint16_t> frame(800 * 600, 0x1234);
    Present(frame);
    Present(frame);  // the same frame: handed over, not presented
    Drain();
    Drain();
    Close();
    std::istringstream lines(dir.Read("frames.log"));
    Events events;  // the times cut off; at the end two frames handed over, one presented
    for (std::string line; std::getline(lines, line);) {
        events.push_back(line.rfind("frames", 0) == 0 ? line : line.substr(0, line.find(' ')));
    }
    EXPECT_EQ(events, (Events{"window", "first-frame", "ready", "frames 2 1"}));
}

// The lock file is per user; an unusable lock folder does not stop the program.
TEST(InstanceLockTest, TheLockFileIsPerUser) {
    testing_support::TempDir dir;
    const std::string fallback = "/tmp/quillowbee-" + std::to_string(getuid()) + ".lock";
    const std::pair<std::optional<std::string>, std::string> cases[] = {
        {dir.Path().string(), (dir / "quillowbee.lock").string()},
        {std::nullopt, fallback},
        {"relative/run", fallback},  // only an absolute runtime folder counts
        {"/nonexistent/run", "/nonexistent/run/quillowbee.lock"}};
    for (const auto& [runtime, expected] : cases) {
        ScopedEnv variable{"XDG_RUNTIME_DIR", runtime};
        EXPECT_EQ(InstanceLock::LockPath(), expected) << runtime.value_or("(unset)");
        EXPECT_TRUE(expected == fallback || !InstanceLock().HeldElsewhere()) << expected;
    }
}

// Only the first holder runs until it goes; the window system asks once and keeps its lock.
TEST(InstanceLockTest, OnlyTheFirstHolderRunsUntilItGoes) {
    testing_support::TempDir dir;
    ScopedEnv variable{"XDG_RUNTIME_DIR", dir.Path().string()};
    // Of two locks held at once exactly one runs; both are gone before the window asks.
    EXPECT_NE(InstanceLock().HeldElsewhere(), InstanceLock().HeldElsewhere());
    SdlPresentation presentation({});
    SdlWindowSystem window(presentation);
    EXPECT_FALSE(window.IsPreviousInstance());
    EXPECT_FALSE(window.IsPreviousInstance());  // must not find its own lock
    EXPECT_TRUE(SdlWindowSystem(presentation).IsPreviousInstance());
}
}  // namespace
}  // namespace platform
