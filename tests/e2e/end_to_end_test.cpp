// The whole program in a real X window: its own Xvfb display, real pointer and key input through
// xdotool, and screenshots compared with screens put together from the demo content's own
// pictures the way the program lays them out.
#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "desktop_session.h"
#include "support/test_files.h"

namespace e2e {
namespace {
namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing_support::ReadFile;
using testing_support::TwoDigits;

const fs::path kMenu = fs::path(QUILLOWBEE_DEMO_DIR) / "Grafik" / "Meny";

// The main menu with quadrant 0-3 highlighted (0 top left, 3 bottom right).
Image MainMenu(int quadrant) {
    const Point corners[] = {{80, 0}, {390, 0}, {80, 285}, {390, 285}};
    return LoadJpeg(kMenu / "StartMeny.jpg")
        .Paste(LoadJpeg(kMenu / ("StartMeny" + std::to_string(quadrant) + ".jpg")),
               corners[quadrant].x, corners[quadrant].y);
}

// The sub-menu of theme 1-4 (Yrke, Musik, Sport, Djur) with the cell of slot 0-7 highlighted.
Image SubMenu(int theme, int slot) {
    const char* backgrounds[] = {"YrkeMeny1.jpg", "MusikMeny1.jpg", "SportMeny1.jpg",
                                 "DjurMeny1.jpg"};
    return LoadJpeg(kMenu / backgrounds[theme - 1])
        .Paste(LoadJpeg(kMenu / ("Knapp1_" + TwoDigits((theme - 1) * 8 + slot) + ".jpg")),
               10 + 195 * (slot % 4), slot < 4 ? 0 : 260);
}

// Choices page 0 (information) or 3 (build-up) with the marks a fresh start has; other pages
// carry text that no file holds.
Image ChoicesPage(int page) {
    Image screen = LoadJpeg(kMenu / "Val" / (page == 0 ? "InfoMeny.jpg" : "ByggUppMeny.jpg"));
    const std::vector<Point> marks = {{278, 132}, {595, 100}, {307, 292}, {265, 452}};
    for (const Point at : page == 0 ? std::vector<Point>{} : marks)
        screen.Paste(LoadJpeg(kMenu / "Val" / "selected.jpg"), at.x, at.y);
    return screen;
}

// The hen's (the first animal's) complex series "Byggupp" or "Film", spelt as on disk.
std::vector<Image> HenSeries(const char* set) {
    const fs::path folder =
        fs::path(QUILLOWBEE_DEMO_DIR) / "Djur" / fs::path(u8"H\u00f6na") / "Komplex" / set;
    std::vector<Image> pictures;
    for (int n = 1; fs::exists(folder / (TwoDigits(n) + ".jpg")); ++n)
        pictures.push_back(LoadJpeg(folder / (TwoDigits(n) + ".jpg")));
    if (pictures.empty()) throw std::runtime_error("no pictures in " + folder.string());
    return pictures;
}

// A build-up step is taken only when more than its key delay (500 ms) has passed since the last.
constexpr auto kPastKeyDelay = 600ms;
// Long enough, even on a busy machine, for a step that changes nothing on the screen.
constexpr auto kUnseenStep = 1500ms;
// Escape leaves the film only once 3 s have passed since the build-up's last step.
constexpr auto kPastFilmGuard = 3300ms;

// Settings of the family's own: a normal run must leave them exactly as they are.
constexpr const char* kSeededSettings =
    "; written by hand\n[Display]\nbrightness=7\n\n[Settings]\nmovieOnHd=True\n; as it comes\n"
    "keyDelay=500\n";

// The program has ended by itself with status 0, and the settings folder holds only `settings`.
void ExpectCleanEnd(DesktopSession& session, const std::string& settings) {
    EXPECT_EQ(session.Program().Wait(15s), 0) << session.ProgramErrors();
    EXPECT_EQ(session.ProgramErrors(), "");
    EXPECT_NE(ReadFile(session.FrameLog()).find("frames "), std::string::npos) << "no orderly end";
    const fs::directory_iterator files(session.SettingsFolder());  // no temporary file left
    EXPECT_EQ(std::distance(begin(files), end(files)), 1);
    EXPECT_EQ(ReadFile(session.SettingsFolder() / "settings.ini"), settings);
}

// The pictures of `series` that a screen showing `shown` cannot pass for.
std::vector<const Image*> Unlike(const std::vector<Image>& series, const Image& shown) {
    std::vector<const Image*> unlike;
    for (const Image& picture : series)
        if (Distinct(shown, picture)) unlike.push_back(&picture);
    return unlike;
}

// One journey through every screen: the main menu under the pointer and the keys, the choices
// screen's pages, the Djur sub-menu, the hen's build-up and film, and out through Escape.
TEST(EndToEndTest, AJourneyThroughEveryScreenEndsCleanly) {
    if (const std::string why = DesktopSession::Unavailable(); !why.empty()) GTEST_SKIP() << why;
    DesktopSession session(kSeededSettings);
    // The program puts the pointer at (260, 150) when it starts.
    ASSERT_TRUE(session.WaitForScreen(MainMenu(0), "the main menu, top left highlighted"));

    // Space walks the quadrants from the first and the pointer follows; Enter clicks where it
    // is: Djur. Escape from there highlights what lies under the pointer.
    const Point focusPoints[] = {{245, 135}, {560, 135}, {245, 415}, {560, 415}};
    for (const int focus : {1, 2, 3, 0, 1}) {
        session.Press("space");
        EXPECT_TRUE(session.WaitForScreen(MainMenu(focus), "quadrant " + std::to_string(focus)));
        EXPECT_TRUE(session.WaitForPointer(focusPoints[focus]));
    }
    session.Press("Return");
    EXPECT_TRUE(session.WaitForScreen(SubMenu(4, 0), "the Djur sub-menu, the hen highlighted"));
    session.Press("Escape");
    EXPECT_TRUE(session.WaitForScreen(MainMenu(0), "the main menu after Escape"));

    // The highlight splits at x 390 and y 285; every row highlights another quadrant than the
    // row before, so every row has to see the screen change.
    const std::pair<Point, int> pointer[] = {{{600, 100}, 1}, {{390, 285}, 0}, {{391, 285}, 1},
                                             {{390, 286}, 2}, {{391, 286}, 3}, {{0, 0}, 0}};
    for (const auto& [at, quadrant] : pointer) {
        session.MoveTo(at);
        EXPECT_TRUE(
            session.WaitForScreen(MainMenu(quadrant), "quadrant " + std::to_string(quadrant)));
    }

    // F1 opens the choices screen; its tabs turn the pages; after Escape the main menu highlights
    // the quadrant under the pointer.
    session.Press("F1");
    EXPECT_TRUE(session.WaitForScreen(ChoicesPage(0), "the choices screen's information page"));
    session.ClickAt({94, 361});
    EXPECT_TRUE(session.WaitForScreen(ChoicesPage(3), "choices page 3 after its tab"));
    session.Press("Escape");
    ASSERT_TRUE(session.WaitForScreen(MainMenu(2), "the main menu after the choices screen"));

    // The click opens Djur and puts the pointer on the first cell; unmoved, it would be over the
    // fourth.
    session.ClickAt({600, 100});
    ASSERT_TRUE(session.WaitForScreen(SubMenu(4, 0), "the Djur sub-menu, the hen highlighted"));
    EXPECT_TRUE(session.WaitForPointer({110, 130}));
    session.ClickAt({110, 130});

    // The hen is built up: Space and Enter in turn each show the next picture.
    const std::vector<Image> buildUp = HenSeries("Byggupp");
    const std::vector<Image> film = HenSeries("Film");
    ASSERT_TRUE(session.WaitForScreen(buildUp[0], "the hen's first build-up picture"));
    for (size_t n = 1; n < buildUp.size(); ++n) {
        std::this_thread::sleep_for(kPastKeyDelay);
        session.Press(n % 2 == 1 ? "space" : "Return");
        if (Distinct(buildUp[n - 1], buildUp[n])) {
            ASSERT_TRUE(
                session.WaitForScreen(buildUp[n], "build-up picture " + std::to_string(n + 1)));
        } else {
            std::this_thread::sleep_for(kUnseenStep);  // the demo hen has one such stage
        }
    }

    // One more step starts the film, which begins with the finished picture and then moves.
    std::this_thread::sleep_for(kPastKeyDelay);
    session.Press("space");
    const std::vector<const Image*> moved = Unlike(film, buildUp.back());
    ASSERT_FALSE(moved.empty());
    const int first = session.WaitForOneOf(moved);
    ASSERT_GE(first, 0) << "no film after the last build-up step";
    const auto filmSeen = std::chrono::steady_clock::now();
    EXPECT_GE(session.WaitForOneOf(Unlike(film, *moved[first])), 0) << "the film stands still";

    // The pointer wanders off; leaving the film brings it back to the hen's cell.
    session.MoveTo({700, 400});
    std::this_thread::sleep_until(filmSeen + kPastFilmGuard);
    session.Press("Escape");
    EXPECT_TRUE(session.WaitForScreen(SubMenu(4, 0), "the Djur sub-menu after the film"));
    EXPECT_TRUE(session.WaitForPointer({110, 130}));
    session.Press("Escape");
    EXPECT_TRUE(session.WaitForScreen(MainMenu(0), "the main menu after the Djur sub-menu"));
    session.Press("Escape");
    ExpectCleanEnd(session, kSeededSettings);
}

// The editing mode: a click chooses a value and the file holds it at once, beside its other lines.
TEST(EndToEndTest, TheEditingModeSavesAClickedChoiceAtOnce) {
    if (const std::string why = DesktopSession::Unavailable(); !why.empty()) GTEST_SKIP() << why;
    DesktopSession session(kSeededSettings, {"--settings", "--fullscreen"});
    session.ClickAt({94, 361});
    ASSERT_TRUE(session.WaitForScreen(ChoicesPage(3), "choices page 3 after its tab"));
    session.ClickAt({586, 296});  // the mark of two steps
    const std::string saved =
        std::string(kSeededSettings) + "buildUpSteps=2\n" + "page3Choice=False\n";
    const fs::path file = session.SettingsFolder() / "settings.ini";
    EXPECT_TRUE(testing_support::WaitUntil([&] { return ReadFile(file) == saved; }, 15s))
        << ReadFile(file);
    session.Press("Escape");
    ExpectCleanEnd(session, saved);
}
}  // namespace
}  // namespace e2e
