// The menu pictures: how the two sets load and retry, and what a menu frame shows.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/system_failure.h"
#include "display/display_objects.h"
#include "graphics/menu_picture_files.h"
#include "support/form_harness.h"
#include "support/mini_pack.h"
#include "support/recording_decoder.h"
#include "support/test_files.h"

namespace testing_support {
namespace {

using Set = std::vector<std::string>;

const char* const kBackgrounds[5] = {"Grafik\\Meny\\StartMeny.jpg", "Grafik\\Meny\\YrkeMeny1.jpg",
                                     "Grafik\\Meny\\MusikMeny1.jpg", "Grafik\\Meny\\SportMeny1.jpg",
                                     "Grafik\\Meny\\DjurMeny1.jpg"};
const char kButton05[] = "Grafik\\Meny\\Knapp1_05.jpg";

// The first `count` files of a set as the decoder is asked for them, then the first `again`.
Set Natives(const Set& systemNames, size_t count, size_t again = 0) {
    Set names;
    for (size_t i = 0; i < count + again; ++i)
        names.push_back(NativeName(systemNames[i < count ? i : i - count]).string());
    return names;
}

// A form with its display prepared, in a folder holding the whole menu picture set.
class MenuTest : public ::testing::Test {
  protected:
    MenuTest() : cd_(dir.Path()) {
        WriteMenuPictures(dir.Path());
        h.PrepareWithoutContent();
    }

    // Loads both sets as start-up does, on the given screen.
    void LoadAll(int16_t screen) {
        h.form.currentScreen = h.form.requestedScreen = h.form.menuContext = screen;
        h.form.LoadMainMenuPictures();
        h.form.LoadChoicePictures();
    }
    void ComposeAt(int16_t screen, platform::Point pointer) {
        if (!h.form.menuPictures[0]) LoadAll(screen);
        h.form.currentScreen = h.form.requestedScreen = h.form.menuContext = screen;
        h.platform.window.pointer = pointer;
        h.Pass();
    }
    void ExpectAt(platform::Point p, const Rgb& c, const std::string& what) {
        const uint16_t pixel = h.platform.display.PixelAt(p.x, p.y);
        EXPECT_TRUE(Shows(pixel, c))
            << what << " at " << p.x << ", " << p.y << ": " << Describe(pixel);
    }
    // A w x h picture at `at`: its colour at both inner corners, the background outside.
    void ExpectPicture(platform::Point at, int w, int ht, const Rgb& c, const Rgb& background) {
        ExpectAt(at, c, "top left"), ExpectAt({at.x + w - 1, at.y + ht - 1}, c, "bottom right");
        if (at.x > 0) ExpectAt({at.x - 1, at.y}, background, "left of it");
        if (at.x + w < 800) ExpectAt({at.x + w, at.y + ht - 1}, background, "right of it");
        if (at.y + ht < 600) ExpectAt({at.x, at.y + ht}, background, "below it");
        if (at.y > 0) ExpectAt({at.x + w - 1, at.y - 1}, background, "above it");
    }
    // Every slot of the main set except the notes filled (or all empty) at its size.
    void ExpectMainSet(bool filled) {
        const MainMenuForm& f = h.form;
        std::vector<std::pair<const SurfaceSlot*, int32_t>> slots = {{&f.stopNotePicture, 70}};
        for (const auto& s : f.menuPictures) slots.push_back({&s, 800});
        for (const auto& s : f.quadrantPictures) slots.push_back({&s, 310});
        for (const auto& s : f.buttonPictures) slots.push_back({&s, 195});
        for (const auto& [slot, width] : slots)
            EXPECT_EQ(*slot ? (*slot)->Width() : -1, filled ? width : -1);
    }

    TempDir dir;
    ScopedCurrentDir cd_;
    FormHarness h;
};

// On the main menu its background and stop note are shown as soon as they are read.
TEST_F(MenuTest, StartUpLoadsBothSetsInOrderAtTheirSizesShowingTheMainMenuEarly) {
    ScopedRecordingDecoder decoder;
    h.form.settings.exitLocked = true;
    bool restLoaded = true;
    h.platform.display.onPresent = [&] {
        restLoaded = h.form.menuPictures[1] != nullptr;
        ExpectAt({400, 300}, ColourOf(kBackgrounds[0]), "background");
        ExpectAt({765, 565}, ColourOf("Grafik\\Meny\\StoppLapp.jpg"), "stop note");
    };
    LoadAll(Screen::kMainMenu);
    EXPECT_EQ(h.platform.display.presents, 1);
    EXPECT_FALSE(restLoaded);
    // The content check's list names the same files in order, at the sizes they are asked for.
    std::vector<GameUtil::PictureFile> listed = GameUtil::MainSetPictureFiles();
    for (const GameUtil::PictureFile& file : GameUtil::ChoiceSetPictureFiles())
        listed.push_back(file);
    const auto& calls = decoder.Calls();
    ASSERT_EQ(std::pair(listed.size(), calls.size()), std::pair(53ul, 53ul));
    // A few names spelled out, so the lists are not only checked against each other.
    EXPECT_EQ(calls[6].path, "Grafik/Meny/StartMeny0.jpg");
    EXPECT_EQ(calls[41].path, "Grafik/Meny/Knapp1_31.jpg");
    EXPECT_EQ(calls[52].path, "Grafik/Meny/Val/kryss.bmp");
    for (size_t k = 0; k < listed.size(); ++k) {
        EXPECT_EQ(NativeName(listed[k].path).string(), calls[k].path);
        EXPECT_EQ(listed[k].width, calls[k].wantWidth) << listed[k].path;
        EXPECT_EQ(listed[k].height, calls[k].wantHeight) << listed[k].path;
    }
    ExpectMainSet(true);
    EXPECT_EQ(h.form.crossPicture->ColorKey(), std::optional<uint16_t>(0));
    EXPECT_TRUE(h.platform.settings.writes.empty());
}

// Loading the main set retries once after a failure; a second failure leaves the set empty.
TEST_F(MenuTest, TheMainSetRetriesOnceThenGivesUpSilently) {
    // clang-format off
    const struct {
        const char* name;
        const char* missing;
        int restoreAtPresent;  // the file comes back at this flip (0: never)
        int16_t screen;
        bool reload;         // the notes of an earlier load are in place
        size_t notesLoaded;  // notes this run loaded before its last failure
        Set loads;
        int writes, presents;
    } cases[] = {
        {"off the main menu", kButton05, 0, 3, false, 0, Natives(MainSetFiles(), 16, 16), 2, 0},
        {"a reload keeps the notes", kButton05, 0, 0, true, 0, Natives(MainSetFiles(), 16, 16), 2, 2},
        {"last note missing", "Grafik\\Meny\\Lapp3.jpg", 0, 0, false, 3, Natives(MainSetFiles(), 46, 46), 2, 2},
        {"back for the retry", kButton05, 2, 0, false, 0, Natives(MainSetFiles(), 16, 46), 1, 2},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        h.form.notePictures = {};
        std::vector<const Surface*> earlier(4, nullptr);
        if (c.reload) {
            LoadAll(c.screen);
            for (size_t n = 0; n < 4; ++n) earlier[n] = h.form.notePictures[n].get();
        }
        WriteMenuPicture(dir.Path(), kButton05);
        std::filesystem::remove(dir.Path() / NativeName(c.missing));
        h.platform.settings.writes.clear();
        h.platform.display.presents = 0;
        h.platform.display.onPresent = [&] {
            if (h.platform.display.presents == c.restoreAtPresent)
                WriteMenuPicture(dir.Path(), c.missing);
        };
        h.form.settings.movieOnHd = true;
        h.form.currentScreen = c.screen;
        ScopedRecordingDecoder decoder;

        EXPECT_NO_THROW(h.form.LoadMainMenuPictures());

        EXPECT_EQ(decoder.Paths(), c.loads);
        EXPECT_EQ(std::pair(h.platform.display.presents, h.platform.settings.writes.size()),
                  std::pair(c.presents, static_cast<size_t>(c.writes)));
        for (const auto& w : h.platform.settings.writes)
            EXPECT_EQ(w.key + "=" + w.value, "movieOnHd=False");
        EXPECT_FALSE(h.form.settings.movieOnHd);
        ExpectMainSet(c.writes == 1);
        // The notes are not the set's to empty: those loaded stay, the others are as before.
        for (size_t n = 0; c.writes == 2 && n < 4; ++n)
            EXPECT_TRUE(n < c.notesLoaded ? h.form.notePictures[n] != nullptr
                                          : h.form.notePictures[n].get() == earlier[n])
                << n;
        h.platform.display.onPresent = nullptr;
        WriteMenuPicture(dir.Path(), c.missing);
    }
}

// The highlights follow the pointer; the stop note shows only on the locked main menu.
TEST_F(MenuTest, HighlightsAndTheStopNote) {
    // clang-format off
    const struct {
        int16_t screen;
        platform::Point pointer;
        const char* picture;  // nullptr: the background shows there
        platform::Point drawnAt;
        int width, height;
        bool locked = false;
    } cases[] = {
        // The main menu's highlight splits at 390 x 285, not where clicks split.
        {0, {390, 285}, "Grafik\\Meny\\StartMeny0.jpg", {80, 0}, 310, 285},
        {0, {391, 285}, "Grafik\\Meny\\StartMeny1.jpg", {390, 0}, 310, 285},
        {0, {390, 286}, "Grafik\\Meny\\StartMeny2.jpg", {80, 285}, 310, 285},
        {0, {400, 300}, "Grafik\\Meny\\StartMeny3.jpg", {390, 285}, 310, 285},
        {2, {199, 260}, "Grafik\\Meny\\Knapp1_08.jpg", {10, 0}, 195, 260},
        {2, {200, 261}, "Grafik\\Meny\\Knapp1_13.jpg", {205, 260}, 195, 260},
        {1, {799, 0}, "Grafik\\Meny\\Knapp1_03.jpg", {595, 0}, 195, 260},
        {3, {599, 599}, "Grafik\\Meny\\Knapp1_22.jpg", {400, 260}, 195, 260},
        {0, {100, 100}, "Grafik\\Meny\\StoppLapp.jpg", {730, 530}, 70, 70, true},
        {0, {100, 100}, nullptr, {730, 530}, 70, 70, false},
        {1, {100, 100}, nullptr, {730, 530}, 70, 70, true},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << (c.picture ? c.picture : "nothing") << " on " << c.screen);
        h.form.settings.exitLocked = c.locked;
        ComposeAt(c.screen, c.pointer);
        const Rgb background = ColourOf(kBackgrounds[c.screen]);
        ExpectPicture(c.drawnAt, c.width, c.height, c.picture ? ColourOf(c.picture) : background,
                      background);
    }
}

TEST_F(MenuTest, DisabledItemsOfTheThemeShowTheirNoteCell) {
    LoadAll(3);
    h.form.settings.itemEnabled[18] = false;  // theme 3, position 2: under the pointer
    h.form.settings.itemEnabled[21] = false;  // theme 3, position 5
    h.form.settings.itemEnabled[6] = false;   // theme 1: another theme
    ComposeAt(3, {500, 100});
    const Rgb background = ColourOf(kBackgrounds[3]);
    // The button of item 18 was drawn, then covered by the same cell of note picture 2.
    ExpectPicture({400, 0}, 195, 260, NoteColour(2, 2), background);
    ExpectAt({300, 390}, NoteColour(2, 5), "note cell of item 21");
    ExpectAt({500, 390}, background, "item 6 of theme 1");
    // Outside the themes' contexts nothing is overlaid.
    h.form.menuContext = 0;
    GameUtil::backBuffer->BltColorFill({0, 0, 800, 600}, 0);
    h.form.DrawSubMenuSelection();
    EXPECT_EQ(GameUtil::backBuffer->PixelAt(300, 390), 0);
}

TEST_F(MenuTest, EmptySlotsDrawNothingAndScreensWithoutABackgroundFail) {
    LoadAll(0);
    h.form.ReleaseMainMenuPictures();
    h.form.settings.exitLocked = true;
    Surface& back = *GameUtil::backBuffer;
    back.BltColorFill({0, 0, 800, 600}, 0xFF00FF);
    h.platform.window.pointer = {100, 100};
    h.form.DrawMenuBackground(), h.form.DrawMainMenuSelection();
    h.form.currentScreen = h.form.menuContext = 2;
    h.form.settings.itemEnabled[9] = false;  // its note is still loaded
    h.form.DrawMenuBackground(), h.form.DrawSubMenuSelection();
    EXPECT_EQ(std::pair(back.PixelAt(100, 100), back.PixelAt(765, 565)),
              std::pair(ColorToPixel(0xFF00FF), ColorToPixel(0xFF00FF)));
    EXPECT_TRUE(Shows(back.PixelAt(300, 130), NoteColour(1, 1)));
    for (int16_t screen : {-1, 5, 6, 12}) {
        h.form.currentScreen = screen;
        EXPECT_THROW(h.form.DrawMenuBackground(), SystemFailure) << screen;
    }
}

}  // namespace
}  // namespace testing_support
