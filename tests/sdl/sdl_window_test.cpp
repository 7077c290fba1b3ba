#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
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
        window_.reset();
        presentation_.reset();
        SDL_Quit();
    }
    void Open(bool windowed, bool takeScreen = true) {
        window_.reset();
        presentation_.reset();
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
    void Present(const std::vector<uint16_t>& frame) {
        presentation_->Present(frame.data(), 800, 600, 800);
    }
    void Push(std::initializer_list<SDL_Event> events) {
        for (SDL_Event e : events) ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
    }
    // What the window shows, as 0xRRGGBB a pixel, row by row.
    std::vector<uint32_t> Shown() {
        SDL_Surface* shown = SDL_ConvertSurfaceFormat(SDL_GetWindowSurface(presentation_->Window()),
                                                      SDL_PIXELFORMAT_RGB888, 0);
        const auto* first = static_cast<const uint32_t*>(shown->pixels);
        std::vector<uint32_t> pixels(first, first + shown->h * shown->pitch / 4);
        SDL_FreeSurface(shown);
        for (uint32_t& pixel : pixels) pixel &= 0xFFFFFF;
        return pixels;
    }
    uint32_t ShownAt(int x, int y) { return Shown()[y * Size().first + x]; }

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
    const auto button = [&](Uint32 type, Uint8 which, int x, int y) {
        return SDL_Event{.button = {type, 0, id, 0, which, SDL_PRESSED, 1, 0, x, y}};
    };
    const auto key = [&](SDL_Keycode sym, SDL_Scancode code, Uint16 mod, Uint32 type) {
        return SDL_Event{.key = {type, 0, id, SDL_RELEASED, 0, 0, 0, {code, sym, mod, 0}}};
    };
    Push({button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 640, 360),
          button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 640, 360),
          button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 100, 100),  // left bar
          button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X1, 640, 360),
          {.motion = {SDL_MOUSEMOTION, 0, id, 0, SDL_BUTTON_LMASK, 1000, 60, 0, 0}},
          key(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, KMOD_NONE, SDL_KEYDOWN),
          key(SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, KMOD_LSHIFT | KMOD_RCTRL, SDL_KEYUP),
          key(SDLK_MODE, SDL_SCANCODE_MODE, KMOD_NONE, SDL_KEYUP),  // no code of its own
          {.window = {SDL_WINDOWEVENT, 0, id, SDL_WINDOWEVENT_CLOSE, 0, 0, 0, 0, 0}},
          {.type = SDL_QUIT},
          key(SDLK_SPACE, SDL_SCANCODE_SPACE, KMOD_NONE, SDL_KEYUP)});  // after a quit: delivered
    EXPECT_EQ(Drain(),
              (Events{"down 1 0 400,300", "down 2 0 0,83", "move 1 0 700,50", "key 13 3",
                      "key " + std::to_string(kKeyOther) + " 0", "close", "quit", "key 32 0"}));
    EXPECT_EQ(window_->GetCursorPos(), (Point{700, 50}));
    // Closing the last window does not turn into a quit by itself: the form decides.
    EXPECT_FALSE(SDL_GetHintBoolean(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, SDL_TRUE));
    EXPECT_EQ(Drain(), Events{});
    // Files dropped from a file manager arrive as one drop at the pointer (SDL's drop events
    // carry no position); text dropped with them is not a file, and a drop of text alone is none.
    window_->SetCursorPos(400, 300);
    Drain();
    const auto drop = [&](Uint32 type, const char* text = nullptr) {
        return SDL_Event{.drop = {type, 0, text ? SDL_strdup(text) : nullptr, id}};
    };
    Push({drop(SDL_DROPBEGIN), drop(SDL_DROPFILE, "/home/a b.jpg"), drop(SDL_DROPTEXT, "some text"),
          drop(SDL_DROPFILE, "/home/c.heic"), drop(SDL_DROPCOMPLETE),
          drop(SDL_DROPTEXT, "more text"), drop(SDL_DROPCOMPLETE)});
    EXPECT_EQ(Drain(), Events{"drop /home/a b.jpg|/home/c.heic 2 0 400,300"});

    // A warped pointer reads back where it was sent, also before the window exists.
    Open(false, false);
    window_->SetCursorPos(10, 20);
    EXPECT_EQ(window_->GetCursorPos(), (Point{10, 20}));
    Open(false);  // 1024 x 768: a scale of 1.28
    for (const Point p : {Point{260, 150}, Point{799, 599}, Point{401, 299}}) {
        window_->SetCursorPos(p.x, p.y);
        EXPECT_EQ(window_->GetCursorPos(), p);
        // The warp's own motion event, in window coordinates, reads back as the same pixel.
        EXPECT_EQ(Drain(), Events{"move 0 0 " + std::to_string(p.x) + "," + std::to_string(p.y)});
        EXPECT_EQ(window_->GetCursorPos(), p);
    }
    window_->SetCursorPos(900, -5);
    EXPECT_EQ(window_->GetCursorPos(), (Point{799, 0}));
}

// Only the changed rectangles of a frame reach the window (none: nothing is presented), taken
// from the picture's own pixels whatever the buffer's width, unless the window lacks its picture.
TEST_F(SdlWindowTest, OnlyTheChangedRectanglesReachTheWindow) {
    Open(true);
    constexpr uint32_t kRed = 0xFF0000, kBlue = 0x0000FF;
    const std::vector<uint16_t> red(800 * 600, 0xF800), blue(800 * 600, 0x001F);
    std::vector<uint16_t> padded(832 * 600, 0x07E0);  // green past the picture's width
    for (int y = 0; y < 600; ++y) std::fill_n(padded.begin() + y * 832, 800, 0xF800);
    const auto same = [&] { presentation_->PresentUnchanged(red.data(), 800, 600, 800); };
    const auto changed = [&](const std::vector<uint16_t>& frame, std::vector<Rect> rects,
                             int pitch = 800) {
        return [&, rects, pitch] {
            presentation_->PresentChanged(frame.data(), 800, 600, pitch, rects);
        };
    };
    const auto resized = [&] {
        SDL_SetWindowSize(presentation_->Window(), 1000, 600);
        changed(blue, {{0, 0, 8, 8}})();
    };
    const auto whitened = [&] {
        SDL_Surface* surface = SDL_GetWindowSurface(presentation_->Window());
        SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 255, 255, 255));
        presentation_->Invalidate(), same();
    };
    // clang-format off
    const std::tuple<std::function<void()>, int, std::vector<std::tuple<int, int, uint32_t>>> steps[] = {
        {same, 1, {{400, 300, kRed}}},  // nothing shown yet
        {same, 1, {}},
        {[&] { Present(blue); }, 2, {{0, 0, kBlue}, {799, 599, kBlue}}},
        {changed(red, {{0, 0, 32, 16}, {0, 584, 800, 600}}), 3,
         {{0, 0, kRed}, {31, 15, kRed}, {32, 15, kBlue}, {0, 16, kBlue}, {400, 300, kBlue}, {799, 583, kBlue}, {799, 584, kRed}}},
        {changed(blue, {}), 3, {{400, 599, kRed}}},
        {changed(padded, {{768, 0, 800, 600}}, 832), 4, {{799, 300, kRed}, {767, 300, kBlue}}},
        {[&] { presentation_->Invalidate(), changed(red, {})(); }, 5, {{400, 300, kRed}}},
        {[&] { presentation_->OnRenderReset(), same(); }, 6, {{0, 0, kRed}}},
        // Resized with no event read yet: the new surface gets all of the picture, between black bars.
        {resized, 7, {{99, 300, 0}, {100, 300, kBlue}, {899, 599, kBlue}, {900, 0, 0}, {999, 599, 0}}},
        // A window that lost its content (here: all of it white) gets its bars black again.
        {whitened, 8, {{0, 0, 0}, {99, 599, 0}, {100, 0, kRed}, {899, 599, kRed}, {900, 300, 0}}},
    };
    // clang-format on
    for (size_t i = 0; i < std::size(steps); ++i) {
        const auto& [step, presented, shown] = steps[i];
        step();
        EXPECT_EQ(presentation_->PresentedFrames(), presented) << "step " << i;
        for (const auto& [x, y, rgb] : shown)
            EXPECT_EQ(ShownAt(x, y), rgb) << i << ": " << x << "," << y;
    }
}

// A frame of which only the changed parts are drawn into the window's surface shows what drawing
// all of it shows: exactly at the picture's own size (between bars or not); scaled, every window
// pixel that shows a changed picture pixel is exact too, and only the outermost window pixels of
// the parts drawn alone may blend a shade differently, where SDL scales those parts alone (a
// scale its fixed-point step holds exactly: 800 to 1024 or 1600). The bars stay black, and a copy
// of the picture is held only while it is scaled.
TEST_F(SdlWindowTest, AChangedPartShowsWhatTheWholeFrameShows) {
    Open(true);
    std::vector<uint16_t> before(800 * 600);
    for (int i = 0; i < 800 * 600; ++i) {
        const int x = i % 800, y = i / 800;
        before[i] = static_cast<uint16_t>((x * 7 + y * 13) ^ (x * y));  // sharp edges everywhere
    }
    // clang-format off
    const std::vector<Rect> quadrants{{32, 16, 384, 320}, {416, 16, 768, 320}};
    // Every edge and corner of the picture, a single pixel, a line, overlapping parts, odd sizes.
    const std::vector<Rect> edges{{0, 0, 1, 1}, {799, 599, 800, 600}, {0, 300, 800, 301},
                                  {397, 0, 403, 600}, {13, 101, 250, 377}, {200, 350, 421, 599}};
    // Changed tiles as the display device lists them: rows of tiles touching the rows above and
    // below in other columns, and a lone pixel.
    const std::vector<Rect> tiles{{64, 32, 128, 48}, {32, 48, 192, 64}, {96, 64, 128, 80},
                                  {128, 64, 160, 128}, {700, 500, 701, 501}};
    // clang-format on
    // Window size, changed rectangles, at most how many window pixels may differ by at most how
    // many steps, and window pixels on the bars.
    const std::tuple<int, int, std::vector<Rect>, int, int, std::vector<Point>> cases[] = {
        {800, 600, quadrants, 0, 0, {}},
        {800, 600, edges, 0, 0, {}},
        {1000, 600, edges, 0, 0, {{99, 300}, {900, 0}, {999, 599}}},
        {800, 700, quadrants, 0, 0, {{400, 49}, {0, 650}}},
        {1024, 768, quadrants, 3584, 32, {}},
        // The touching tiles are drawn as one part: two parts' outermost rings, 764 + 252 and
        // 1036 + 20 window pixels; a ring's corner blends up to 7/16 of a neighbour differently.
        {1024, 768, tiles, 1016, 112, {}},
        {1600, 1200, tiles, 1056, 112, {}},
        {1366, 768, quadrants, 3584, 32, {{170, 400}, {1195, 0}}},
        {1440, 1080, edges, 0, 0, {}},
        {1000, 900, quadrants, 0, 0, {{500, 74}, {999, 825}}}};
    for (const auto& [w, h, rects, mostPixels, mostSteps, bars] : cases) {
        // The frame changes inside the rectangles and nowhere else.
        std::vector<uint16_t> after = before;
        for (const Rect& r : rects) {
            for (int y = r.top; y < r.bottom; ++y)
                for (int x = r.left; x < r.right; ++x)
                    after[y * 800 + x] = static_cast<uint16_t>(x * 31 + y * 17 + 0x5555);
        }
        SDL_SetWindowSize(presentation_->Window(), w, h);
        Drain();
        ASSERT_EQ(Size(), std::make_pair(w, h));
        Present(before);
        presentation_->PresentChanged(after.data(), 800, 600, 800, rects);
        const auto partly = Shown();
        EXPECT_EQ(presentation_->HoldsScaledCopy(), w != 800 && h != 600) << w << "x" << h;
        presentation_->Invalidate();
        presentation_->PresentUnchanged(after.data(), 800, 600, 800);  // all of it
        const auto whole = Shown();
        ASSERT_EQ(partly.size(), whole.size());
        const Letterbox box = presentation_->WindowBox();
        int pixels = 0, steps = 0;
        for (size_t i = 0; i < whole.size(); ++i) {
            int most = 0;
            for (const int shift : {0, 8, 16})
                most = std::max(most, std::abs(static_cast<int>((partly[i] >> shift) & 255) -
                                               static_cast<int>((whole[i] >> shift) & 255)));
            pixels += most > 0;
            steps = std::max(steps, most);
            const int x = static_cast<int>(i) % w, y = static_cast<int>(i) / w;
            const Point p = PictureFromWindow(box, 800, 600, x, y);
            const bool onPicture =
                x >= box.x && x < box.x + box.width && y >= box.y && y < box.y + box.height;
            const bool changed = std::any_of(rects.begin(), rects.end(), [&](const Rect& r) {
                return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
            });
            if (onPicture && changed && partly[i] != whole[i]) {
                ADD_FAILURE() << w << "x" << h << ": changed pixel " << p.x << "," << p.y
                              << " shown at " << x << "," << y;
                break;
            }
        }
        EXPECT_LE(pixels, mostPixels) << w << "x" << h;
        EXPECT_LE(steps, mostSteps) << w << "x" << h;
        for (const Point p : bars) EXPECT_EQ(partly[p.y * w + p.x], 0u) << p.x << "," << p.y;
    }
    // Back at the picture's own size the copy is given back.
    SDL_SetWindowSize(presentation_->Window(), 800, 600);
    Drain();
    Present(before);
    EXPECT_FALSE(presentation_->HoldsScaledCopy());
}

// The lock file is per user; an unusable lock folder does not stop the program. Only the first
// holder runs until it goes; the window system asks once and keeps its lock.
TEST(InstanceLockTest, TheLockFileIsPerUserAndOnlyTheFirstHolderRuns) {
    testing_support::TempDir dir;
    const std::string fallback = "/tmp/quillowbee-" + std::to_string(getuid()) + ".lock";
    const std::pair<std::optional<std::string>, std::string> cases[] = {
        {std::nullopt, fallback},
        {"relative/run", fallback},  // only an absolute runtime folder counts
        {"/nonexistent/run", "/nonexistent/run/quillowbee.lock"},
        {dir.Path().string(), (dir / "quillowbee.lock").string()}};
    for (const auto& [runtime, expected] : cases) {
        ScopedEnv variable{"XDG_RUNTIME_DIR", runtime};
        EXPECT_EQ(InstanceLock::LockPath(), expected) << runtime.value_or("(unset)");
        EXPECT_TRUE(expected == fallback || !InstanceLock().HeldElsewhere()) << expected;
    }
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
