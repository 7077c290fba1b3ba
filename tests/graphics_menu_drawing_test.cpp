#include <gtest/gtest.h>

#include <string>

#include "graphics_menu_fixture.h"
#include "display/display_objects.h"
#include "base/system_failure.h"

namespace testing_support {
namespace {

struct Point {
    int32_t x, y;
};

std::string Button(int item) {
    return std::string("Grafik\\Meny\\Knapp1_") + (item < 10 ? "0" : "") + std::to_string(item) +
           ".jpg";
}

const char* const kBackgrounds[5] = {"Grafik\\Meny\\StartMeny.jpg", "Grafik\\Meny\\YrkeMeny1.jpg",
                                     "Grafik\\Meny\\MusikMeny1.jpg", "Grafik\\Meny\\SportMeny1.jpg",
                                     "Grafik\\Meny\\DjurMeny1.jpg"};

class MenuFrames : public MenuFixture {
  protected:
    // Runs one pass on `screen` with the pointer at `pointer`; the presented frame is checked.
    void ComposeAt(int16_t screen, Point pointer) {
        if (!form().menuPictures[0]) LoadAll(screen);
        form().currentScreen = form().requestedScreen = form().menuContext = screen;
        platform().window.pointer = {pointer.x, pointer.y};
        h.Pass();
    }

    void ExpectAt(Point p, const Rgb& c, const std::string& what) {
        const uint16_t pixel = Frame(p.x, p.y);
        EXPECT_TRUE(Shows(pixel, c))
            << what << " expected at (" << p.x << ", " << p.y << "), found " << Describe(pixel);
    }

    // A w x h picture drawn at `at`: its own colour at both inner corners, the background
    // directly outside each edge that lies on the screen.
    void ExpectPicture(Point at, int w, int h, const Rgb& c, const Rgb& background,
                       const std::string& what) {
        ExpectAt(at, c, what + " top left");
        ExpectAt({at.x + w - 1, at.y + h - 1}, c, what + " bottom right");
        if (at.x > 0) ExpectAt({at.x - 1, at.y}, background, what + " left of it");
        if (at.x + w < 800) ExpectAt({at.x + w, at.y + h - 1}, background, what + " right of it");
        if (at.y + h < 600) ExpectAt({at.x, at.y + h}, background, what + " below it");
    }
};

struct QuadrantCase {
    Point pointer;
    int quadrant;
    Point drawnAt;
};

class MainMenuHighlight : public MenuFrames, public ::testing::WithParamInterface<QuadrantCase> {};

TEST_P(MainMenuHighlight, FollowsThePointerQuadrant) {
    const QuadrantCase& c = GetParam();
    ComposeAt(0, c.pointer);
    const Rgb background = ColourOf(kBackgrounds[0]);
    ExpectPicture(c.drawnAt, 310, 285,
                  ColourOf("Grafik\\Meny\\StartMeny" + std::to_string(c.quadrant) + ".jpg"),
                  background, "quadrant " + std::to_string(c.quadrant));
    // Exactly one quadrant: the middles of the other three show the background.
    const Point middles[4] = {{235, 142}, {545, 142}, {235, 427}, {545, 427}};
    for (int q = 0; q < 4; ++q) {
        if (q != c.quadrant) ExpectAt(middles[q], background, "quadrant " + std::to_string(q));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, MainMenuHighlight,
    ::testing::Values(QuadrantCase{{390, 285}, 0, {80, 0}}, QuadrantCase{{391, 285}, 1, {390, 0}},
                      QuadrantCase{{390, 286}, 2, {80, 285}},
                      QuadrantCase{{391, 286}, 3, {390, 285}}, QuadrantCase{{0, 0}, 0, {80, 0}},
                      QuadrantCase{{799, 599}, 3, {390, 285}}, QuadrantCase{{799, 0}, 1, {390, 0}},
                      QuadrantCase{{0, 599}, 2, {80, 285}},
                      // Clicks split at 400 x 300; the highlight does not.
                      QuadrantCase{{400, 300}, 3, {390, 285}}),
    [](const auto& info) {
        return "At" + std::to_string(info.param.pointer.x) + "_" +
               std::to_string(info.param.pointer.y);
    });

struct CellCase {
    int16_t screen;
    Point pointer;
    int item;
    Point drawnAt;
};

class SubMenuHighlight : public MenuFrames, public ::testing::WithParamInterface<CellCase> {};

TEST_P(SubMenuHighlight, HighlightsTheItemUnderThePointerAtItsCell) {
    const CellCase& c = GetParam();
    ComposeAt(c.screen, c.pointer);
    ExpectPicture(c.drawnAt, 195, 260, ColourOf(Button(c.item)), ColourOf(kBackgrounds[c.screen]),
                  "button " + std::to_string(c.item));
    EXPECT_EQ(form().GetSubMenuIndex(false), c.item);
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, SubMenuHighlight,
    ::testing::Values(CellCase{2, {199, 260}, 8, {10, 0}}, CellCase{2, {200, 261}, 13, {205, 260}},
                      CellCase{2, {100, 560}, 12, {10, 260}},  // below cells
                      CellCase{1, {799, 0}, 3, {595, 0}}, CellCase{4, {600, 261}, 31, {595, 260}},
                      CellCase{3, {0, 0}, 16, {10, 0}}, CellCase{3, {599, 599}, 22, {400, 260}}),
    [](const auto& info) {
        return "Screen" + std::to_string(info.param.screen) + "At" +
               std::to_string(info.param.pointer.x) + "_" + std::to_string(info.param.pointer.y);
    });

TEST_F(MenuFrames, OutsideASubMenuTheItemIsZero) {
    LoadAll(1);
    GameUtil::backBuffer->BltColorFill({0, 0, 800, 600}, 0);
    for (int16_t screen : {0, 12}) {
        form().currentScreen = form().menuContext = screen;
        platform().window.pointer = {450, 300};  // position 6
        EXPECT_EQ(form().GetSubMenuIndex(false), 0) << screen;
        EXPECT_EQ(form().GetSubMenuIndex(true), 6) << screen;
        form().DrawSubMenuSelection();
        const uint16_t pixel = GameUtil::backBuffer->PixelAt(400, 260);
        EXPECT_TRUE(Shows(pixel, ColourOf(Button(0)))) << screen << ": " << Describe(pixel);
    }
}

TEST_F(MenuFrames, DisabledItemsOfTheThemeShowTheirNoteCell) {
    LoadAll(3);
    form().settings.itemEnabled[18] = false;  // theme 3, position 2: under the pointer
    form().settings.itemEnabled[21] = false;  // theme 3, position 5
    form().settings.itemEnabled[6] = false;   // theme 1, position 6: another theme
    form().settings.itemEnabled[31] = false;  // theme 4, position 7: another theme
    ComposeAt(3, {500, 100});
    const Rgb background = ColourOf(kBackgrounds[3]);
    // The button of item 18 was drawn, then covered by the same cell of note picture 2.
    for (Point p : {Point{402, 2}, Point{592, 257}, Point{500, 130}}) {
        ExpectAt(p, NoteColour(2, 2), "note cell of item 18");
    }
    ExpectAt({399, 100}, background, "left of the cell");
    ExpectAt({596, 100}, background, "right of the cell");
    ExpectAt({500, 261}, background, "below the cell");
    ExpectAt({300, 390}, NoteColour(2, 5), "note cell of item 21");
    ExpectAt({500, 390}, background, "item 6 of theme 1");
    ExpectAt({690, 390}, background, "item 31 of theme 4");
    ExpectAt({100, 130}, background, "item 16, enabled");
}

TEST_F(MenuFrames, NoOverlayOutsideTheThemes) {
    LoadAll(1);
    form().settings.itemEnabled.fill(false);
    form().currentScreen = 1;
    form().menuContext = 0;  // no theme: nothing is overlaid
    platform().window.pointer = {100, 100};
    GameUtil::backBuffer->BltColorFill({0, 0, 800, 600}, 0);
    form().DrawSubMenuSelection();
    EXPECT_TRUE(Shows(GameUtil::backBuffer->PixelAt(100, 100), ColourOf(Button(0))));
    EXPECT_EQ(GameUtil::backBuffer->PixelAt(300, 100), 0);
}

struct StopNoteCase {
    int16_t screen;
    bool exitLocked;
    bool noteShown;
};

class StopNote : public MenuFrames, public ::testing::WithParamInterface<StopNoteCase> {};

TEST_P(StopNote, OnlyOnTheLockedMainMenu) {
    const StopNoteCase& c = GetParam();
    form().settings.exitLocked = c.exitLocked;
    ComposeAt(c.screen, {100, 100});
    const Rgb expected =
        c.noteShown ? ColourOf("Grafik\\Meny\\StoppLapp.jpg") : ColourOf(kBackgrounds[c.screen]);
    ExpectAt({730, 530}, expected, "top left of the note");
    ExpectAt({799, 599}, expected, "bottom right of the note");
    ExpectAt({729, 599}, ColourOf(kBackgrounds[c.screen]), "left of the note");
    ExpectAt({799, 529}, ColourOf(kBackgrounds[c.screen]), "above the note");
}

INSTANTIATE_TEST_SUITE_P(Cases, StopNote,
                         ::testing::Values(StopNoteCase{0, true, true},
                                           StopNoteCase{0, false, false},
                                           StopNoteCase{1, true, false},
                                           StopNoteCase{4, true, false}),
                         [](const auto& info) {
                             return "Screen" + std::to_string(info.param.screen) +
                                    (info.param.exitLocked ? "Locked" : "Open");
                         });

TEST_F(MenuFrames, BackgroundOfAScreenWithoutOneIsAFailure) {
    LoadAll(1);
    for (int16_t screen : {-1, 5, 6, 12}) {
        form().currentScreen = screen;
        EXPECT_THROW(form().DrawMenuBackground(), SystemFailure) << screen;
    }
}

TEST_F(MenuFrames, EmptySlotsDrawNothing) {
    LoadAll(0);
    form().ReleaseMainMenuPictures();
    form().settings.exitLocked = true;
    GameUtil::backBuffer->BltColorFill({0, 0, 800, 600}, 0xFF00FF);
    const uint16_t magenta = ColorToPixel(0xFF00FF);
    form().currentScreen = 0;
    platform().window.pointer = {100, 100};
    EXPECT_NO_THROW(form().DrawMenuBackground());
    EXPECT_NO_THROW(form().DrawMainMenuSelection());
    form().currentScreen = form().menuContext = 2;
    form().settings.itemEnabled[9] = false;  // its note is still loaded
    EXPECT_NO_THROW(form().DrawMenuBackground());
    EXPECT_NO_THROW(form().DrawSubMenuSelection());
    EXPECT_EQ(GameUtil::backBuffer->PixelAt(100, 100), magenta);
    EXPECT_EQ(GameUtil::backBuffer->PixelAt(765, 565), magenta);
    EXPECT_TRUE(Shows(GameUtil::backBuffer->PixelAt(300, 130), NoteColour(1, 1)));
}

}  // namespace
}  // namespace testing_support
