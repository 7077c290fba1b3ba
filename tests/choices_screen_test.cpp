#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "display/display_objects.h"
#include "input/choice_places.h"
#include "navigation_fixture.h"
#include "platform/portable/ini_settings_store.h"

namespace {

using testing_support::NavigationTest;

constexpr uint32_t kMarkColor = 0xFFFFFF;
constexpr uint32_t kCrossColor = 0x0000FF;  // red, inside a black border
constexpr uint32_t kUndrawn = 0x102030;     // the back buffer before a frame
const platform::FontSpec kFormFont{"Century Gothic", 11.25, 700};

// Page backgrounds, one colour each and none of them black, white, red or magenta.
constexpr uint32_t kPageColors[5] = {0x404040, 0x008000, 0x800000, 0x008080, 0x808000};

struct MarkPos {
    int32_t x, y;
};

class ChoicesScreenTest : public NavigationTest {
  protected:
    ChoicesScreenTest() {
        for (int page = 0; page < 5; ++page) {
            form.choicePictures[page] = SolidSurface(800, 600, kPageColors[page]);
        }
        // The mark has a black centre and, to show that it is copied opaque, a black colour key.
        form.selectedMarkPicture = SolidSurface(23, 23, kMarkColor);
        form.selectedMarkPicture->BltColorFill({9, 9, 14, 14}, 0);
        form.selectedMarkPicture->SetColorKey(DisplayFlags::kColorKeySourceBlt, 0, 0);
        form.crossPicture = SolidSurface(51, 54, 0);
        form.crossPicture->BltColorFill({10, 10, 41, 44}, kCrossColor);
        form.crossPicture->SetColorKey(DisplayFlags::kColorKeySourceBlt, 0, 0);
    }

    Surface& Back() { return *GameUtil::backBuffer; }

    void Draw(int16_t page) {
        form.settings.page = page;
        Back().BltColorFill({0, 0, 800, 600}, kUndrawn);
        h.platform.text.calls.clear();
        form.DrawChoicesScreen();
    }

    int CountPixels(uint32_t color) {
        const uint16_t pixel = ColorToPixel(color);
        int count = 0;
        for (int32_t y = 0; y < 600; ++y) {
            for (int32_t x = 0; x < 800; ++x) {
                count += Back().PixelAt(x, y) == pixel ? 1 : 0;
            }
        }
        return count;
    }

    // A whole mark with its top-left corner at `at`, nothing of it beyond.
    void ExpectMarkAt(MarkPos at, uint32_t background) {
        SCOPED_TRACE(testing::Message() << "mark at " << at.x << ", " << at.y);
        const uint16_t mark = ColorToPixel(kMarkColor);
        EXPECT_EQ(Back().PixelAt(at.x, at.y), mark);
        EXPECT_EQ(Back().PixelAt(at.x + 22, at.y + 22), mark);
        EXPECT_EQ(Back().PixelAt(at.x + 11, at.y + 11), ColorToPixel(0));
        EXPECT_EQ(Back().PixelAt(at.x - 1, at.y), ColorToPixel(background));
        EXPECT_EQ(Back().PixelAt(at.x + 23, at.y + 22), ColorToPixel(background));
        EXPECT_EQ(Back().PixelAt(at.x + 22, at.y + 23), ColorToPixel(background));
    }

    void ExpectMarks(int16_t page, const std::vector<MarkPos>& marks) {
        for (const MarkPos& at : marks) {
            ExpectMarkAt(at, kPageColors[page]);
        }
        // The mark's white part is 23 x 23 less its 5 x 5 centre.
        EXPECT_EQ(CountPixels(kMarkColor), static_cast<int>(marks.size()) * (529 - 25));
    }

    // The colour of a label's first character (the headless text is a solid block per character).
    uint16_t LabelPixel(int32_t x, int32_t y) { return Back().PixelAt(x + 1, y + 2); }

    std::vector<std::string> DrawnTexts() {
        std::vector<std::string> texts;
        for (const auto& call : h.platform.text.calls) {
            EXPECT_EQ(call.font, kFormFont) << call.text;
            texts.push_back(call.text);
        }
        return texts;
    }
};

struct PageCase {
    const char* name;
    int16_t page;
    void (*change)(ChoiceSettings&);
    std::vector<MarkPos> marks;
};

void Defaults(ChoiceSettings&) {}

TEST_F(ChoicesScreenTest, MarksOfEveryPage) {
    const PageCase cases[] = {
        {"information", 0, Defaults, {}},
        {"page 1 defaults", 1, Defaults, {{596, 99}, {278, 469}}},
        {"page 1 changed",
         1,
         [](ChoiceSettings& s) {
             s.page1Choice = false;
             s.exitLocked = true;
             s.escapeLocks = {false, true, true, false};
         },
         {{703, 99}, {430, 469}, {389, 40}, {289, 252}}},
        {"page 1 every lock",
         1,
         [](ChoiceSettings& s) {
             s.escapeLocks = {true, true, true, true};
         },
         {{596, 99}, {278, 469}, {290, 40}, {389, 40}, {289, 252}, {389, 252}}},
        {"page 2 defaults", 2, Defaults, {{257, 101}, {596, 99}}},
        {"page 2 changed",
         2,
         [](ChoiceSettings& s) {
             s.page2SecondChoice = false;
             s.page2Choice = false;
         },
         {{365, 100}, {705, 99}}},
        {"page 3 defaults", 3, Defaults, {{278, 132}, {595, 100}, {307, 292}, {265, 452}}},
        {"page 3 changed",
         3,
         [](ChoiceSettings& s) {
             s.simpleContent = true;
             s.page3Choice = false;
             s.buildUpSteps = 4;
             s.reversePlay = true;
         },
         {{428, 132}, {703, 100}, {444, 292}, {404, 452}}},
        {"page 3 two steps",
         3,
         [](ChoiceSettings& s) { s.buildUpSteps = 2; },
         {{278, 132}, {595, 100}, {582, 292}, {265, 452}}},
        {"page 3 no steps",
         3,
         [](ChoiceSettings& s) { s.buildUpSteps = 0; },
         {{278, 132}, {595, 100}, {719, 292}, {265, 452}}},
        {"page 3 unknown steps",
         3,
         [](ChoiceSettings& s) { s.buildUpSteps = 5; },
         {{278, 132}, {595, 100}, {265, 452}}},
        {"page 4 defaults", 4, Defaults, {{595, 100}, {366, 301}}},
        {"page 4 slow",
         4,
         [](ChoiceSettings& s) {
             s.page4Choice = false;
             s.filmDelayFactor = 3.0;
         },
         {{703, 100}, {258, 301}}},
        {"page 4 fast",
         4,
         [](ChoiceSettings& s) { s.filmDelayFactor = 0.33; },
         {{595, 100}, {473, 301}}},
        {"page 4 near fast",
         4,
         [](ChoiceSettings& s) { s.filmDelayFactor = 0.330001; },
         {{595, 100}}},
    };
    for (const PageCase& c : cases) {
        SCOPED_TRACE(c.name);
        form.ResetSettings(0);
        c.change(form.settings);
        Draw(c.page);
        ExpectMarks(c.page, c.marks);
        EXPECT_EQ(CountPixels(kCrossColor), 0);
    }
}

TEST_F(ChoicesScreenTest, TheInformationPageIsItsBackgroundOnly) {
    Draw(0);
    EXPECT_EQ(CountPixels(kPageColors[0]), 800 * 600);
    EXPECT_TRUE(h.platform.text.calls.empty());
}

TEST_F(ChoicesScreenTest, KeyDelayLabelsWithTheCurrentOneInMagenta) {
    struct Label {
        int32_t x, y;
        const char* text;
    };
    const Label labels[] = {
        {570, 295, "0.5"}, {610, 295, "1.0"}, {651, 295, "1.5"},
        {691, 295, "2.0"}, {732, 295, "2.5"},
    };
    const struct {
        int16_t keyDelay;
        int current;  // index into labels, -1 for none
    } cases[] = {{500, 0}, {1000, 1}, {1500, 2}, {2000, 3}, {2500, 4}, {700, -1}, {0, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "key delay " << c.keyDelay);
        form.settings.keyDelay = c.keyDelay;
        Draw(1);
        std::vector<std::string> expected = {"0.5", "1.0", "1.5", "2.0", "2.5"};
        if (c.current >= 0) {
            expected.push_back(labels[c.current].text);
        }
        EXPECT_EQ(DrawnTexts(), expected);
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(LabelPixel(labels[i].x, labels[i].y),
                      ColorToPixel(i == c.current ? 0xFF00FF : 0))
                << labels[i].text;
        }
        EXPECT_EQ(Back().ForeColor(), 0u);
    }
}

TEST_F(ChoicesScreenTest, FilmRepeatLabelsWithTheCurrentOneInMagenta) {
    struct Label {
        int32_t x, y;
        const char* text;
    };
    const Label labels[] = {{225, 143, "2"}, {265, 143, "4"}, {306, 143, "8"}, {345, 140, "..."}};
    const struct {
        int16_t repeats;
        int current;
    } cases[] = {{16, 3}, {2, 0}, {4, 1}, {8, 2}, {3, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "repeats " << c.repeats);
        form.settings.filmRepeats = c.repeats;
        Draw(4);
        std::vector<std::string> expected = {"2", "4", "8", "..."};
        if (c.current >= 0) {
            expected.push_back(labels[c.current].text);
        }
        EXPECT_EQ(DrawnTexts(), expected);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(LabelPixel(labels[i].x, labels[i].y),
                      ColorToPixel(i == c.current ? 0xFF00FF : 0))
                << labels[i].text;
        }
        EXPECT_EQ(Back().ForeColor(), 0u);
    }
}

TEST_F(ChoicesScreenTest, PagesTwoAndThreeDrawNoText) {
    for (int16_t page : {2, 3}) {
        Draw(page);
        EXPECT_TRUE(h.platform.text.calls.empty()) << page;
    }
}

TEST_F(ChoicesScreenTest, CrossesOverDisabledItemsWithTheirBlackTransparent) {
    Draw(2);
    EXPECT_EQ(CountPixels(kCrossColor), 0);

    const int disabled[] = {0, 13, 31};
    for (int item : disabled) {
        form.settings.itemEnabled[item] = false;
    }
    Draw(2);
    EXPECT_EQ(CountPixels(kCrossColor), 3 * 31 * 34);
    for (int item : disabled) {
        SCOPED_TRACE(testing::Message() << "item " << item);
        const platform::Point at = form.settings.crossPositions[item];
        EXPECT_EQ(Back().PixelAt(at.x + 10, at.y + 10), ColorToPixel(kCrossColor));
        EXPECT_EQ(Back().PixelAt(at.x + 40, at.y + 43), ColorToPixel(kCrossColor));
        EXPECT_EQ(Back().PixelAt(at.x + 9, at.y + 10), ColorToPixel(kPageColors[2]));
        EXPECT_EQ(Back().PixelAt(at.x, at.y), ColorToPixel(kPageColors[2]));
        EXPECT_EQ(Back().PixelAt(at.x + 50, at.y + 53), ColorToPixel(kPageColors[2]));
    }
    ExpectMarks(2, {{257, 101}, {596, 99}});
}

TEST_F(ChoicesScreenTest, AFailedBackgroundCopyEndsTheFrame) {
    for (int16_t page : {1, 2, 4}) {
        SCOPED_TRACE(testing::Message() << "page " << page);
        form.settings.itemEnabled[5] = false;
        form.choicePictures[page].reset();
        Draw(page);
        EXPECT_EQ(CountPixels(kUndrawn), 800 * 600);
        EXPECT_TRUE(h.platform.text.calls.empty());

        // The next frame tries again.
        form.choicePictures[page] = SolidSurface(800, 600, kPageColors[page]);
        Draw(page);
        EXPECT_EQ(CountPixels(kUndrawn), 0);
    }
}

TEST_F(ChoicesScreenTest, ALostDisplayEndsTheFrameBeforeTheLabels) {
    h.platform.display.lost = true;
    Draw(1);
    Draw(4);
    EXPECT_TRUE(h.platform.text.calls.empty());
}

class ChoicesClickTest : public NavigationTest {
  protected:
    ChoicesClickTest() {
        Show(12, 12);
        form.savedSettings = form.settings;
    }
};

TEST_F(ChoicesClickTest, TabsAndTheInformationButtonChangeThePageSilently) {
    struct Case {
        int32_t x, y;
        int16_t page;  // -1: the click changes nothing
    };
    const Case cases[] = {
        {464, 533, 0},  {520, 589, 0},  {463, 560, -1}, {521, 560, -1}, {490, 532, -1},
        {490, 590, -1}, {22, 28, 1},    {166, 134, 1},  {21, 80, -1},   {167, 80, -1},
        {100, 27, -1},  {100, 135, -1}, {100, 150, -1}, {22, 168, 2},   {166, 274, 2},
        {100, 275, -1}, {22, 308, 3},   {166, 414, 3},  {100, 307, -1}, {22, 448, 4},
        {166, 554, 4},  {100, 555, -1}, {400, 300, -1}, {760, 560, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "click at " << c.x << ", " << c.y);
        const int16_t start = c.page == 3 ? 1 : 3;
        form.settings.page = start;
        h.Click(c.x, c.y);
        EXPECT_EQ(form.settings.page, c.page < 0 ? start : c.page);
        EXPECT_EQ(form.requestedScreen, 12);
        EXPECT_EQ(form.menuContext, 12);
    }
    EXPECT_EQ(Plays(), 0u);
}

TEST_F(ChoicesClickTest, TheLeaveButtonsBounds) {
    struct Case {
        int32_t x, y;
        bool leaves;
    };
    const Case cases[] = {{653, 533, true},  {708, 589, true},  {680, 560, true}, {652, 560, false},
                          {709, 560, false}, {680, 532, false}, {680, 590, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "click at " << c.x << ", " << c.y);
        h.platform.sound.plays.clear();
        Show(12, 12);
        form.settings.page = 4;
        h.Click(c.x, c.y);
        EXPECT_EQ(form.requestedScreen, c.leaves ? 0 : 12);
        EXPECT_EQ(form.menuContext, c.leaves ? 0 : 12);
        EXPECT_EQ(form.settings.page, c.leaves ? 0 : 4);
        EXPECT_EQ(Clicks(), c.leaves ? 1 : 0);
    }
}

TEST_F(ChoicesClickTest, TheEventPositionIsIgnored) {
    h.platform.window.pointer = {600, 300};
    form.Form_MouseDown(platform::kButtonLeft, 0, 100.0f, 80.0f);
    EXPECT_EQ(form.settings.page, 0);
}

class ChoicesVisitTest : public NavigationTest {
  protected:
    // Opens the choices screen from the main menu with F1.
    void Open() {
        Show(0, 0);
        h.Key(platform::kKeyF1);
        ASSERT_EQ(form.requestedScreen, 12);
        Switch();
    }
};

TEST_F(ChoicesVisitTest, TheLeaveButtonBringsBackThePageOfTheVisitBefore) {
    Open();
    h.Click(100, 350);  // tab 3
    ASSERT_EQ(form.settings.page, 3);
    h.Click(680, 560);  // leave
    EXPECT_EQ(form.requestedScreen, 0);
    EXPECT_EQ(form.menuContext, 0);
    EXPECT_EQ(Clicks(), 1);
    Switch();
    Open();
    EXPECT_EQ(form.settings.page, 0);
}

TEST_F(ChoicesVisitTest, EscapeKeepsThePageForTheNextVisit) {
    Open();
    h.Click(100, 350);
    h.Key(platform::kKeyEscape);
    EXPECT_EQ(form.requestedScreen, 0);
    EXPECT_EQ(form.menuContext, 0);
    EXPECT_EQ(Clicks(), 1);
    Switch();
    Open();
    EXPECT_EQ(form.settings.page, 3);
}

TEST_F(ChoicesVisitTest, TheLeaveButtonUndoesTheMarkerToggleAndEveryOtherChange) {
    form.settings.keyDelay = 1500;
    Open();
    const ChoiceSettings onEntry = form.settings;
    h.Click(300, 300, platform::kButtonRight);
    EXPECT_TRUE(form.settings.showPointerSprite);
    EXPECT_EQ(Plays(), 0u);
    form.settings.keyDelay = 2500;
    form.settings.itemEnabled[7] = false;
    form.settings.filmDelayFactor = 0.33;
    h.Click(100, 500);  // tab 4
    h.Click(680, 560);
    EXPECT_EQ(form.settings, onEntry);
    EXPECT_FALSE(form.settings.showPointerSprite);
}

TEST_F(ChoicesVisitTest, EscapeKeepsTheMarkerToggle) {
    Open();
    h.Click(300, 300, platform::kButtonRight);
    h.Key(platform::kKeyEscape);
    EXPECT_TRUE(form.settings.showPointerSprite);
}

}  // namespace

// The editing mode: a click on a value chooses it and saves the changed keys in the user's
// settings file at once.
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

struct EditCase {
    const char* name;
    int16_t page;
    std::vector<MarkPos> clicks;
    void (*change)(ChoiceSettings&);  // what the clicks change in the reset record
    std::string file;                 // the user's file afterwards; "" for none
    int clickSounds = 0;
};

TEST_F(EditingClickTest, AClickChoosesTheValueAndSavesIt) {
    const EditCase cases[] = {
        {"the exit lock, at a corner of its mark's margin",
         1,
         {{426, 465}},
         [](ChoiceSettings& s) {
             s.exitLocked = true;
             s.page1Choice = false;
         },
         "[Settings]\nexitLocked=True\npage1Choice=False\n"},
        {"just beside the margins",
         1,
         {{425, 469}, {430, 464}, {457, 469}, {430, 496}},
         Defaults,
         ""},
        {"an escape lock on and off; a key delay label",
         1,
         {{300, 50}, {311, 62}, {655, 300}},
         [](ChoiceSettings& s) {
             s.keyDelay = 1500;
             s.page1Choice = false;
         },
         "[Settings]\nescapeLocks=\npage1Choice=False\nkeyDelay=1500\n"},
        {"the defaults choice puts the page back",
         1,
         {{430, 469}, {735, 300}, {600, 105}},
         Defaults,
         "[Settings]\nexitLocked=False\npage1Choice=True\nkeyDelay=500\n"},
        {"the defaults choice's other value",
         1,
         {{706, 102}},
         [](ChoiceSettings& s) { s.page1Choice = false; },
         "[Settings]\npage1Choice=False\n"},
        {"a cross hides an item and a second click shows it",
         2,
         {{540, 370}, {577, 408}},
         [](ChoiceSettings& s) { s.page2Choice = false; },
         "[Settings]\ndisabledItems=\npage2Choice=False\n"},
        {"the last item of a theme stays, with a click",
         2,
         {{537, 365},
          {601, 365},
          {665, 365},
          {729, 365},
          {537, 444},
          {601, 444},
          {665, 444},
          {729, 444}},
         [](ChoiceSettings& s) {
             for (size_t i = 24; i < 31; ++i) s.itemEnabled[i] = false;
             s.page2Choice = false;
         },
         "[Settings]\ndisabledItems=Djur:1,Djur:2,Djur:3,Djur:4,Djur:5,Djur:6,Djur:7\n"
         "page2Choice=False\n",
         1},
        {"the build-up page",
         3,
         {{446, 294}, {406, 454}, {430, 134}},
         [](ChoiceSettings& s) {
             s.buildUpSteps = 4;
             s.reversePlay = s.simpleContent = true;
             s.page3Choice = false;
         },
         "[Settings]\nbuildUpSteps=4\npage3Choice=False\nreversePlay=True\nsimpleContent=True\n"},
        {"the film page",
         4,
         {{230, 150}, {260, 303}},
         [](ChoiceSettings& s) {
             s.filmRepeats = 2;
             s.filmDelayFactor = 3.0;
             s.page4Choice = false;
         },
         "[Settings]\nfilmRepeats=2\npage4Choice=False\nfilmDelayFactor=3.0\n"},
        {"the values already chosen, and a tab",
         4,
         {{350, 145}, {370, 305}, {598, 103}, {90, 360}},
         [](ChoiceSettings& s) { s.page = 3; },
         ""},
    };
    form.editingSettings = true;
    form.isRunning = true;
    for (const EditCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(config.Path() / "Quillowbee");
        h.platform.sound.plays.clear();
        form.ResetSettings(0);
        form.settings.page = c.page;
        ChoiceSettings expected = form.settings;
        c.change(expected);
        for (const MarkPos& at : c.clicks) h.Click(at.x, at.y);
        EXPECT_EQ(form.settings, expected);
        EXPECT_EQ(File(), c.file);
        EXPECT_EQ(Clicks(), c.clickSounds);
        EXPECT_TRUE(form.isRunning);
    }
}

TEST_F(EditingClickTest, TheChildsChoicesScreenStaysReadOnly) {
    form.ResetSettings(0);
    const ChoiceSettings before = form.settings;
    for (int16_t page = 1; page <= 4; ++page) {
        form.settings.page = page;
        for (const ChoicePlaces::Mark& mark : ChoicePlaces::Marks()) h.Click(mark.at.x, mark.at.y);
        for (const ChoicePlaces::Label& label : ChoicePlaces::KeyDelayLabels())
            h.Click(label.at.x + 5, label.at.y + 5);
        for (const platform::Point at : before.crossPositions) h.Click(at.x + 5, at.y + 5);
    }
    form.settings.page = before.page;
    EXPECT_EQ(form.settings, before);
    EXPECT_EQ(File(), "");
    EXPECT_EQ(Plays(), 0u);
}

TEST_F(EditingClickTest, TheLeaveButtonEscapeAndTheCloseButtonEndItKeepingTheChanges) {
    const std::function<void(testing_support::FormHarness&)> leaves[] = {
        [](testing_support::FormHarness& h) { h.Click(680, 560); },
        [](testing_support::FormHarness& h) { h.Key(platform::kKeyEscape); },
        [](testing_support::FormHarness& h) { h.form.OnCloseRequest(); },
    };
    form.editingSettings = true;
    for (const auto& leave : leaves) {
        form.ResetSettings(0);
        form.isRunning = true;
        form.settings.page = 1;
        h.Click(430, 469);  // the exit lock, which refuses the child's close request
        leave(h);
        EXPECT_FALSE(form.isRunning);
        EXPECT_TRUE(form.settings.exitLocked);
        EXPECT_EQ(form.requestedScreen, 12);
    }
    EXPECT_EQ(File(), "[Settings]\nexitLocked=True\npage1Choice=False\n");
}
