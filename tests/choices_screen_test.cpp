// The choices screen: what each page draws, its buttons, and its editing mode.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "navigation_fixture.h"
#include "platform/portable/file_picture_decoder.h"
#include "platform/portable/ini_settings_store.h"
#include "shell/kit_program.h"
#include "support/mini_pack.h"

namespace {

using testing_support::NavigationTest;

constexpr uint32_t kMarkColor = 0xFFFFFF;
constexpr uint32_t kCrossColor = 0x0000FF;  // red, inside a black border
constexpr uint32_t kUndrawn = 0x102030;     // the back buffer before a frame
constexpr uint32_t kMagenta = 0xFF00FF;
// Page backgrounds, none of them black, white, red or magenta.
constexpr uint32_t kPageColors[5] = {0x404040, 0x008000, 0x800000, 0x008080, 0x808000};

class ChoicesScreenTest : public NavigationTest {
  protected:
    ChoicesScreenTest() {
        for (int page = 0; page < 5; ++page)
            form.choicePictures[page] = SolidSurface(800, 600, kPageColors[page]);
        // The mark has a black centre and, to show that it is copied opaque, a black colour key.
        form.selectedMarkPicture = SolidSurface(23, 23, kMarkColor);
        form.selectedMarkPicture->BltColorFill({9, 9, 14, 14}, 0);
        form.selectedMarkPicture->SetColorKey(DisplayFlags::kColorKeySourceBlt, 0, 0);
        form.crossPicture = SolidSurface(51, 54, 0);
        form.crossPicture->BltColorFill({10, 10, 41, 44}, kCrossColor);
        form.crossPicture->SetColorKey(DisplayFlags::kColorKeySourceBlt, 0, 0);
    }

    Surface& Back() { return *GameUtil::backBuffer; }
    uint16_t At(int32_t x, int32_t y) { return Back().PixelAt(x, y); }

    void Draw(int16_t page) {
        form.settings.page = page;
        Back().BltColorFill({0, 0, 800, 600}, kUndrawn);
        h.platform.text.calls.clear();
        form.DrawChoicesScreen();
    }

    int CountPixels(uint32_t color) {
        int count = 0;
        for (int32_t i = 0; i < 800 * 600; ++i)
            count += At(i % 800, i / 800) == ColorToPixel(color);
        return count;
    }

    // Whole marks with their top-left corners at `marks`, and no other.
    void ExpectMarks(const std::vector<platform::Point>& marks) {
        for (const auto [x, y] : marks) {
            EXPECT_EQ(
                std::tuple(At(x, y), At(x + 22, y + 22), At(x + 11, y + 11)),
                std::tuple(ColorToPixel(kMarkColor), ColorToPixel(kMarkColor), ColorToPixel(0)))
                << "mark at " << x << ", " << y;
        }
        // The mark's white part is 23 x 23 less its 5 x 5 centre.
        EXPECT_EQ(CountPixels(kMarkColor), static_cast<int>(marks.size()) * (529 - 25));
    }
};

// The marks of every page, and the labels of pages 1 and 4 with the current one again in magenta.
TEST_F(ChoicesScreenTest, MarksAndLabelsOfEveryPage) {
    const std::vector<std::pair<platform::Point, std::string>> labels[5] = {
        // clang-format off
        {}, {{{570, 295}, "0.5"}, {{610, 295}, "1.0"}, {{651, 295}, "1.5"}, {{691, 295}, "2.0"}, {{732, 295}, "2.5"}},
        {}, {}, {{{225, 143}, "2"}, {{265, 143}, "4"}, {{306, 143}, "8"}, {{345, 140}, "..."}}};
    const struct {
        const char* name;
        int16_t page;
        void (*change)(ChoiceSettings&);
        std::vector<platform::Point> marks;
        int current = -1;  // the label drawn again in magenta
        std::vector<int> crossed = {};  // disabled: crossed, the cross's black transparent
    } cases[] = {
        {"information", 0, [](ChoiceSettings&) {}, {}},
        {"page 1 defaults", 1, [](ChoiceSettings&) {}, {{596, 99}, {278, 469}}, 0},
        {"page 1 changed", 1, [](ChoiceSettings& s) { s.page1Choice = false; s.exitLocked = true; s.escapeLocks = {true, true, true, true}; }, {{703, 99}, {430, 469}, {290, 40}, {389, 40}, {289, 252}, {389, 252}}, 0},
        {"page 1 key delay 1.5", 1, [](ChoiceSettings& s) { s.keyDelay = 1500; }, {{596, 99}, {278, 469}}, 2},
        {"page 1 unknown key delay", 1, [](ChoiceSettings& s) { s.keyDelay = 700; }, {{596, 99}, {278, 469}}},
        {"page 2 defaults", 2, [](ChoiceSettings&) {}, {{257, 101}, {596, 99}}},
        {"page 2 changed", 2, [](ChoiceSettings& s) { s.page2SecondChoice = false; s.page2Choice = false; }, {{365, 100}, {705, 99}}},
        {"page 2 crosses", 2, [](ChoiceSettings& s) { for (int i : {0, 13, 31}) s.itemEnabled[i] = false; }, {{257, 101}, {596, 99}}, -1, {0, 13, 31}},
        {"page 3 defaults", 3, [](ChoiceSettings&) {}, {{278, 132}, {595, 100}, {307, 292}, {265, 452}}},
        {"page 3 changed", 3, [](ChoiceSettings& s) { s.simpleContent = true; s.page3Choice = false; s.buildUpSteps = 4; s.reversePlay = true; }, {{428, 132}, {703, 100}, {444, 292}, {404, 452}}},
        {"page 3 no steps", 3, [](ChoiceSettings& s) { s.buildUpSteps = 0; }, {{278, 132}, {595, 100}, {719, 292}, {265, 452}}},
        {"page 3 unknown steps", 3, [](ChoiceSettings& s) { s.buildUpSteps = 5; }, {{278, 132}, {595, 100}, {265, 452}}},
        {"page 4 defaults", 4, [](ChoiceSettings&) {}, {{595, 100}, {366, 301}}, 3},
        {"page 4 two repeats", 4, [](ChoiceSettings& s) { s.filmRepeats = 2; }, {{595, 100}, {366, 301}}, 0},
        {"page 4 unknown repeats", 4, [](ChoiceSettings& s) { s.filmRepeats = 3; }, {{595, 100}, {366, 301}}},
        {"page 4 slow", 4, [](ChoiceSettings& s) { s.page4Choice = false; s.filmDelayFactor = 3.0; }, {{703, 100}, {258, 301}}, 3},
        {"page 4 fast", 4, [](ChoiceSettings& s) { s.filmDelayFactor = 0.33; }, {{595, 100}, {473, 301}}, 3},
        {"page 4 near fast", 4, [](ChoiceSettings& s) { s.filmDelayFactor = 0.330001; }, {{595, 100}}, 3},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        form.ResetSettings(0);
        c.change(form.settings);
        Draw(c.page);
        ExpectMarks(c.marks);
        EXPECT_EQ(CountPixels(kCrossColor), static_cast<int>(c.crossed.size()) * 31 * 34);
        for (int item : c.crossed) {
            const auto [x, y] = form.settings.crossPositions[item];
            for (const auto& [dx, dy] : {std::pair{10, 10}, {40, 43}})
                EXPECT_EQ(At(x + dx, y + dy), ColorToPixel(kCrossColor)) << item;
            for (const auto& [dx, dy] : {std::pair{9, 10}, {0, 0}, {50, 53}})
                EXPECT_EQ(At(x + dx, y + dy), ColorToPixel(kPageColors[2])) << item;
        }
        EXPECT_TRUE(c.page != 0 || CountPixels(kPageColors[0]) == 800 * 600);
        std::vector<std::string> texts, expected;
        for (const auto& call : h.platform.text.calls) {
            EXPECT_EQ(call.font, (platform::FontSpec{"Century Gothic", 11.25, 700})) << call.text;
            texts.push_back(call.text);
        }
        for (size_t i = 0; i < labels[c.page].size(); ++i) {
            const auto& [at, text] = labels[c.page][i];
            expected.push_back(text);  // the headless text is a solid block per character
            EXPECT_EQ(At(at.x + 1, at.y + 2),
                      ColorToPixel(static_cast<int>(i) == c.current ? kMagenta : 0));
        }
        if (c.current >= 0)
            expected.push_back(labels[c.page][static_cast<size_t>(c.current)].second);
        EXPECT_EQ(texts, expected);
        EXPECT_EQ(Back().ForeColor(), 0u);
    }
}

TEST_F(ChoicesScreenTest, AFailedBackgroundOrALostDisplayEndsTheFrame) {
    form.settings.itemEnabled[5] = false;
    for (int16_t page : {1, 2, 4}) {
        SCOPED_TRACE(testing::Message() << "page " << page);
        form.choicePictures[page].reset();
        Draw(page);
        EXPECT_EQ(CountPixels(kUndrawn), 800 * 600);
        EXPECT_TRUE(h.platform.text.calls.empty());
        form.choicePictures[page] = SolidSurface(800, 600, kPageColors[page]);
        Draw(page);  // the next frame tries again
        EXPECT_EQ(CountPixels(kUndrawn), 0);
        h.platform.display.lost = true;
        Draw(page);
        EXPECT_TRUE(h.platform.text.calls.empty());
        h.platform.display.lost = false;
    }
}

TEST_F(NavigationTest, ChoicesScreenButtonsAndTheirBounds) {
    // clang-format off
    const struct {
        int32_t x, y;
        int16_t page;  // -1: the click changes nothing
        bool leaves = false;
    } cases[] = {
        // The information button 464-520 x 533-589.
        {464, 533, 0}, {520, 589, 0}, {463, 560, -1}, {521, 560, -1}, {490, 532, -1}, {490, 590, -1},
        // Tabs 22-166 wide: 28-134, 168-274, 308-414, 448-554.
        {22, 28, 1}, {166, 134, 1}, {21, 80, -1}, {167, 80, -1}, {100, 27, -1}, {100, 135, -1},
        {22, 168, 2}, {166, 274, 2}, {100, 275, -1}, {22, 308, 3}, {166, 414, 3}, {100, 307, -1},
        {22, 448, 4}, {166, 554, 4}, {100, 555, -1}, {400, 300, -1}, {760, 560, -1},
        // The leave button 653-708 x 533-589.
        {653, 533, 0, true}, {708, 589, 0, true}, {652, 560, -1}, {709, 560, -1}, {680, 532, -1}, {680, 590, -1},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "click at " << c.x << ", " << c.y);
        h.platform.sound.plays.clear();
        Show(12, 12);
        form.ResetSettings(0);
        form.savedSettings = form.settings;  // on entry, on the information page
        const int16_t start = c.page == 3 ? 1 : 3;
        form.settings.page = start;
        form.settings.showPointerSprite = form.settings.exitLocked = true;
        h.Click(c.x, c.y);
        // Only the leave button undoes the visit.
        EXPECT_EQ(form.settings == form.savedSettings, c.leaves);
        EXPECT_EQ(form.settings.page, c.page < 0 ? start : c.page);
        const int16_t screen = c.leaves ? 0 : 12;
        EXPECT_EQ(std::pair(form.requestedScreen, form.menuContext), std::pair(screen, screen));
        EXPECT_EQ(std::pair(Clicks(), Plays()), std::pair(c.leaves ? 1 : 0, c.leaves ? 1ul : 0ul));
    }
}

}  // namespace

// The editing mode: a click chooses a value and saves the changed keys in the user's file.
class EditingClickTest : public NavigationTest {
  protected:
    EditingClickTest() {
        Show(12, 12);
        platform::Services services = platform::Current();
        services.settings = &store;
        platform::Install(services);
    }
    std::string File() const {
        const std::filesystem::path file = store.FileFor("Quillowbee");
        return std::filesystem::exists(file) ? testing_support::ReadFile(file) : "";
    }

    testing_support::TempDir config;
    platform::IniSettingsStore store{config.Path()};
};

TEST_F(EditingClickTest, AClickChoosesTheValueAndSavesIt) {
    const struct {
        const char* name;
        int16_t page;
        std::vector<platform::Point> clicks;
        void (*change)(ChoiceSettings&);  // what the clicks change in the reset record
        std::string file;                 // the user's file afterwards; "" for none
        int clickSounds = 0;
        bool editing = true;
    } cases[] = {
        // clang-format off
        {"the exit lock, at a corner of its mark's margin", 1, {{426, 465}}, [](ChoiceSettings& s) { s.exitLocked = true; s.page1Choice = false; }, "[Settings]\nexitLocked=True\npage1Choice=False\n"},
        {"just beside the margins", 1, {{425, 469}, {430, 464}, {457, 469}, {430, 496}}, [](ChoiceSettings&) {}, ""},
        {"an escape lock on and off; a key delay label", 1, {{300, 50}, {311, 62}, {655, 300}}, [](ChoiceSettings& s) { s.keyDelay = 1500; s.page1Choice = false; }, "[Settings]\nescapeLocks=\npage1Choice=False\nkeyDelay=1500\n"},
        {"the defaults choice puts the page back", 1, {{430, 469}, {735, 300}, {600, 105}}, [](ChoiceSettings&) {}, "[Settings]\nexitLocked=False\npage1Choice=True\nkeyDelay=500\n"},
        {"the defaults choice's other value", 1, {{706, 102}}, [](ChoiceSettings& s) { s.page1Choice = false; }, "[Settings]\npage1Choice=False\n"},
        {"a cross hides an item and a second click shows it", 2, {{540, 370}, {577, 408}}, [](ChoiceSettings& s) { s.page2Choice = false; }, "[Settings]\ndisabledItems=\npage2Choice=False\n"},
        {"the last item of a theme stays, with a click", 2, {{537, 365}, {601, 365}, {665, 365}, {729, 365}, {537, 444}, {601, 444}, {665, 444}, {729, 444}}, [](ChoiceSettings& s) { for (size_t i = 24; i < 31; ++i) s.itemEnabled[i] = false; s.page2Choice = false; }, "[Settings]\ndisabledItems=Djur:1,Djur:2,Djur:3,Djur:4,Djur:5,Djur:6,Djur:7\npage2Choice=False\n", 1},
        {"the build-up page", 3, {{446, 294}, {406, 454}, {430, 134}}, [](ChoiceSettings& s) { s.buildUpSteps = 4; s.reversePlay = s.simpleContent = true; s.page3Choice = false; }, "[Settings]\nbuildUpSteps=4\npage3Choice=False\nreversePlay=True\nsimpleContent=True\n"},
        {"the film page", 4, {{230, 150}, {260, 303}}, [](ChoiceSettings& s) { s.filmRepeats = 2; s.filmDelayFactor = 3.0; s.page4Choice = false; }, "[Settings]\nfilmRepeats=2\npage4Choice=False\nfilmDelayFactor=3.0\n"},
        {"the values already chosen, and a tab", 4, {{350, 145}, {370, 305}, {598, 103}, {90, 360}}, [](ChoiceSettings& s) { s.page = 3; }, ""},
        {"the child's screen is read-only", 1, {{426, 465}, {300, 50}, {655, 300}, {706, 102}}, [](ChoiceSettings&) {}, "", 0, false},
        // clang-format on
    };
    form.isRunning = true;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        form.editingSettings = c.editing;
        std::filesystem::remove_all(config.Path() / "Quillowbee");
        h.platform.sound.plays.clear();
        form.ResetSettings(0);
        form.settings.page = c.page;
        ChoiceSettings expected = form.settings;
        c.change(expected);
        for (const platform::Point& at : c.clicks) h.Click(at.x, at.y);
        EXPECT_EQ(form.settings, expected);
        EXPECT_EQ(File(), c.file);
        EXPECT_EQ(Clicks(), c.clickSounds);
        EXPECT_TRUE(form.isRunning);
    }
}

TEST_F(EditingClickTest, TheLeaveButtonEscapeAndTheCloseButtonEndItKeepingTheChanges) {
    form.editingSettings = true;
    for (const int leave : {0, 1, 2}) {  // the leave button, Escape, the close button
        form.ResetSettings(0);
        form.isRunning = true;
        form.settings.page = 1;
        h.Click(430, 469);  // the exit lock, which refuses the child's close request
        leave == 0   ? h.Click(680, 560)
        : leave == 1 ? h.Key(platform::kKeyEscape)
                     : form.OnCloseRequest();
        EXPECT_EQ(std::tuple(form.isRunning, form.settings.exitLocked, form.requestedScreen),
                  std::tuple(false, true, int16_t{12}));
    }
    EXPECT_EQ(File(), "[Settings]\nexitLocked=True\npage1Choice=False\n");
}

// Photos dropped on an item of the editing mode's item page make it (quillowbee-kit, run as a
// program of its own off the frame loop).
TEST_F(EditingClickTest, PhotosDroppedOnAnItemMakeIt) {
    const std::filesystem::path content = dir / "content";
    testing_support::WriteMiniPack(content);
    testing_support::WriteJpegPixels(dir / "cat.jpg", 80, 60,
                                     std::vector<uint8_t>(80 * 60 * 3, 200));
    dir.Write("notes.jpg", "a shopping list");
    const std::string kits[] = {QUILLOWBEE_KIT_PROGRAM, (dir / "no-such-kit").string()};
    enum Kit { kReal, kMissing };
    form.choicePictures[2] = SolidSurface(800, 600, 0x008000);
    const platform::Point djur3 = form.settings.crossPositions[26];
    const struct {
        const char* name;
        bool editing;
        int16_t page;
        platform::Point at;
        const char* photo;
        int16_t made;         // the item whose picture is new, -1 for none
        const char* message;  // a part of the refusal shown, "" for none
        int drops = 1;        // the same drop again at once: refused with a click
        Kit kit = kReal;
        const char* broken = "";  // a content file broken before the drop
    } cases[] = {
        // clang-format off
        {"outside the editing mode", false, 2, {djur3.x + 5, djur3.y + 5}, "cat.jpg", -1, ""},
        {"on another page", true, 1, {djur3.x + 5, djur3.y + 5}, "cat.jpg", -1, ""},
        {"off every item", true, 2, {djur3.x - 8, djur3.y + 5}, "cat.jpg", -1, ""},
        {"not a picture", true, 2, {djur3.x + 5, djur3.y + 5}, "notes.jpg", -1, "notes.jpg: not a"},
        {"the kit not beside the program", true, 2, {djur3.x + 5, djur3.y + 5}, "cat.jpg", -1, "no-such-kit is not there", 1, kMissing},
        {"on an item, keeping its name", true, 2, {djur3.x + 50, djur3.y + 53}, "cat.jpg", 26, ""},
        {"twice while it is made", true, 2, {djur3.x, djur3.y}, "cat.jpg", 26, "", 2},
        {"a fault elsewhere in the content", true, 2, {djur3.x, djur3.y}, "cat.jpg", 26, "", 1, kReal, "Grafik/Meny/StoppLapp.jpg"},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        form.itemMaker = KitProgram::CreateMaker(kits[c.kit], content.string());
        if (*c.broken != '\0') testing_support::WriteFile(content / c.broken, "not a picture");
        form.editingSettings = c.editing;
        form.settings.page = c.page;
        form.dropMessage.clear();
        h.platform.sound.plays.clear();
        h.platform.window.pointer = c.at;
        for (int drop = 0; drop < c.drops; ++drop) {
            h.platform.window.pending.push_back({headless::InputEvent::Kind::Drop, 0, 0});
            h.platform.window.pendingDrops.push_back({(dir / c.photo).string()});
        }
        h.platform.window.Yield(form);
        // The frame loop goes on drawing while the kit works; a guard ends a run that hangs.
        for (int pass = 0; form.itemInMaking >= 0 && pass < 6000; ++pass) {
            EXPECT_EQ(form.itemInMaking, 26);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            form.DrawChoicesScreen();
        }
        ASSERT_EQ(form.itemInMaking, -1);
        EXPECT_NE(form.dropMessage.find(c.message), std::string::npos) << form.dropMessage;
        EXPECT_EQ(form.dropMessage.empty(), *c.message == '\0');
        EXPECT_EQ(Clicks(), c.drops - 1 + (*c.message != '\0'));
        h.platform.text.calls.clear();
        form.DrawChoicesScreen();  // the refusal is shown on the page
        const auto shown = [&](const auto& call) { return call.text == form.dropMessage; };
        EXPECT_EQ(std::ranges::any_of(h.platform.text.calls, shown), *c.message != '\0');
        for (int16_t item = 0; item < 32; ++item)
            EXPECT_EQ(form.madeItemPictures[item] != nullptr, item == c.made) << item;
        const std::string djur = testing_support::ReadFile(content / "Data/Djur.dat");
        const std::string record = c.made < 0 ? "Tema4\\Sak2\\" : "Djur\\Egen3_Sak2\\";
        EXPECT_NE(djur.find("\n" + record + "\r\n"), std::string::npos) << record;
    }
    // The new picture is drawn in the item's place on the page, its cross still over it.
    form.settings.page = 2;
    form.DrawChoicesScreen();
    const Surface& made = *form.madeItemPictures[26];
    EXPECT_EQ(GameUtil::backBuffer->PixelAt(djur3.x + 1, djur3.y + 25), made.PixelAt(1, 25));
    EXPECT_NE(made.PixelAt(1, 25), ColorToPixel(0x008000));
    // It is the item's box on the new item page, pixel for pixel.
    const auto decoder = platform::CreateFilePictureDecoder();  // owns the decoded picture
    const platform::DecodedPicture& page =
        decoder->Decode((content / "Grafik/Meny/Val/8Meny.jpg").string(), 0, 0);
    ASSERT_EQ(page.width, 800);
    for (const platform::Point p : {platform::Point{1, 25}, {25, 2}, {50, 53}}) {
        const uint8_t* rgb = &page.pixels[((djur3.y + p.y) * 800 + djur3.x + p.x) * 3];
        EXPECT_TRUE(testing_support::Shows(made.PixelAt(p.x, p.y), {rgb[0], rgb[1], rgb[2]}))
            << p.x << "," << p.y << " " << testing_support::Describe(made.PixelAt(p.x, p.y));
    }
}

// What the adult is told of a run of the kit that did not make the item.
TEST(KitProgramRefusal, IsTheKitsOwnLineElseWhatEndedIt) {
    using Kind = platform::ProgramEnd::Kind;
    const char* kit = "/opt/q/quillowbee-kit";
    const struct {
        platform::ProgramEnd end;
        std::string shown;  // "" for an item made
    } cases[] = {
        // clang-format off
        {{Kind::Exited, 0, "quillowbee-kit: a warning only\n"}, ""},
        {{Kind::Exited, 1, "quillowbee-kit: /p/notes.jpg: not a picture\n"}, "/p/notes.jpg: not a picture"},
        // A usage refusal adds a line pointing at --help; a content check prints before its line.
        {{Kind::Exited, 2, "quillowbee-kit: unknown theme\nTry 'quillowbee-kit --help' for more.\n"}, "unknown theme"},
        {{Kind::Exited, 1, "a problem\r\nquillowbee-kit: the check found a fault\n\n  \n"}, "the check found a fault"},
        {{Kind::Exited, 1, "first\nlibfoo: out of memory"}, "libfoo: out of memory"},
        {{Kind::Exited, 3, ""}, "quillowbee-kit ended with status 3 without saying why"},
        {{Kind::Exited, 1, "\n \n"}, "quillowbee-kit ended with status 1 without saying why"},
        {{Kind::Signalled, 9, "quillowbee-kit: half a line"}, "quillowbee-kit ended on signal 9 (Killed) while making the item"},
        {{Kind::NotStarted, ENOENT, ""}, "cannot make the item: /opt/q/quillowbee-kit is not there; install quillowbee-kit beside the program"},
        {{Kind::NotStarted, EACCES, ""}, "cannot make the item: running /opt/q/quillowbee-kit failed: Permission denied"},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.end.errorOutput + " " + std::to_string(c.end.code));
        EXPECT_EQ(KitProgram::RefusalOf(c.end, kit), c.shown);
    }
}
