#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "graphics/menu_picture_files.h"
#include "graphics_menu_fixture.h"
#include "shell/system_failure.h"

namespace fs = std::filesystem;

namespace testing_support {
namespace {

using Set = std::vector<std::string>;

Set NativeNames(const Set& systemNames) {
    Set names;
    for (const std::string& name : systemNames) {
        names.push_back(NativeName(name).string());
    }
    return names;
}

// The first `count` main-set files, as the decoder is asked for them.
Set FirstOfMainSet(size_t count) {
    Set all = NativeNames(MainSetFiles());
    all.resize(count);
    return all;
}

template <typename T>
std::vector<T> Concat(std::vector<T> a, const std::vector<T>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct SlotSize {
    const char* what;
    const SurfaceSlot* slot;
    int32_t width, height;
};

std::vector<SlotSize> MainSetSlots(const MainMenuForm& f) {
    std::vector<SlotSize> slots;
    for (const SurfaceSlot& s : f.menuPictures) slots.push_back({"menuPictures", &s, 800, 600});
    slots.push_back({"stopNotePicture", &f.stopNotePicture, 70, 70});
    for (const SurfaceSlot& s : f.quadrantPictures)
        slots.push_back({"quadrantPictures", &s, 310, 285});
    for (const SurfaceSlot& s : f.buttonPictures) slots.push_back({"buttonPictures", &s, 195, 260});
    for (const SurfaceSlot& s : f.notePictures) slots.push_back({"notePictures", &s, 800, 600});
    return slots;
}

std::vector<SlotSize> ChoiceSetSlots(const MainMenuForm& f) {
    std::vector<SlotSize> slots;
    for (const SurfaceSlot& s : f.choicePictures) slots.push_back({"choicePictures", &s, 800, 600});
    slots.push_back({"selectedMarkPicture", &f.selectedMarkPicture, 23, 23});
    slots.push_back({"crossPicture", &f.crossPicture, 51, 54});
    return slots;
}

void ExpectFilled(const std::vector<SlotSize>& slots) {
    for (const SlotSize& s : slots) {
        ASSERT_TRUE(*s.slot) << s.what;
        EXPECT_EQ((*s.slot)->Width(), s.width) << s.what;
        EXPECT_EQ((*s.slot)->Height(), s.height) << s.what;
        EXPECT_EQ((*s.slot)->Caps(), 0x840) << s.what;
    }
}

using MenuPictures = MenuFixture;

TEST_F(MenuPictures, StartUpLoadsBothSetsInOrderAtTheirSizes) {
    ScopedRecordingDecoder decoder;
    LoadAll(Screen::kMainMenu);

    const Set expected = Concat(NativeNames(MainSetFiles()), NativeNames(ChoiceSetFiles()));
    ASSERT_EQ(decoder.Paths(), expected);
    // A few names spelled out, so the list above is not only checked against itself.
    EXPECT_EQ(decoder.Paths()[2], "Grafik/Meny/YrkeMeny1.jpg");
    EXPECT_EQ(decoder.Paths()[6], "Grafik/Meny/StartMeny0.jpg");
    EXPECT_EQ(decoder.Paths()[10], "Grafik/Meny/Knapp1_00.jpg");
    EXPECT_EQ(decoder.Paths()[15], "Grafik/Meny/Knapp1_05.jpg");
    EXPECT_EQ(decoder.Paths()[41], "Grafik/Meny/Knapp1_31.jpg");
    EXPECT_EQ(decoder.Paths()[45], "Grafik/Meny/Lapp3.jpg");
    EXPECT_EQ(decoder.Paths()[52], "Grafik/Meny/Val/kryss.bmp");

    ExpectFilled(MainSetSlots(form()));
    ExpectFilled(ChoiceSetSlots(form()));
    // Each picture is asked for at the size of its slot, in load order.
    const struct {
        size_t count;
        int32_t width, height;
    } sizes[] = {{1, 800, 600}, {1, 70, 70},   {4, 800, 600}, {4, 310, 285}, {32, 195, 260},
                 {4, 800, 600}, {5, 800, 600}, {1, 23, 23},   {1, 51, 54}};
    const auto& calls = decoder.Calls();
    size_t i = 0;
    for (const auto& run : sizes) {
        for (size_t n = 0; n < run.count; ++n, ++i) {
            ASSERT_LT(i, calls.size());
            EXPECT_EQ(calls[i].wantWidth, run.width) << calls[i].path;
            EXPECT_EQ(calls[i].wantHeight, run.height) << calls[i].path;
        }
    }
    EXPECT_EQ(i, calls.size());
    // The content check's list names the same files at the same sizes.
    const std::vector<GameUtil::MenuPictureFile> listed =
        Concat(GameUtil::MainSetPictureFiles(), GameUtil::ChoiceSetPictureFiles());
    ASSERT_EQ(listed.size(), calls.size());
    for (size_t k = 0; k < listed.size(); ++k) {
        EXPECT_EQ(NativeName(listed[k].path).string(), calls[k].path);
        EXPECT_EQ(listed[k].width, calls[k].wantWidth) << listed[k].path;
        EXPECT_EQ(listed[k].height, calls[k].wantHeight) << listed[k].path;
    }
    EXPECT_EQ(form().crossPicture->ColorKey(), std::optional<uint16_t>(0));
    EXPECT_TRUE(platform().settings.writes.empty());
    EXPECT_EQ(platform().display.presents, 1);
}

TEST_F(MenuPictures, MainMenuBackgroundIsShownAfterTheStopNoteBeforeTheRest) {
    form().settings.exitLocked = true;
    struct Seen {
        bool background, stopNote, yrke, quadrant0;
        uint16_t centre, corner;
    };
    std::vector<Seen> seen;
    platform().display.onPresent = [&] {
        seen.push_back({form().menuPictures[0] != nullptr, form().stopNotePicture != nullptr,
                        form().menuPictures[1] != nullptr, form().quadrantPictures[0] != nullptr,
                        Frame(400, 300), Frame(765, 565)});
    };
    LoadAll(Screen::kMainMenu);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_TRUE(seen[0].background);
    EXPECT_TRUE(seen[0].stopNote);
    EXPECT_FALSE(seen[0].yrke);
    EXPECT_FALSE(seen[0].quadrant0);
    EXPECT_TRUE(Shows(seen[0].centre, ColourOf("Grafik\\Meny\\StartMeny.jpg")))
        << Describe(seen[0].centre);
    EXPECT_TRUE(Shows(seen[0].corner, ColourOf("Grafik\\Meny\\StoppLapp.jpg")))
        << Describe(seen[0].corner);
}

TEST_F(MenuPictures, NoEarlyFlipOffTheMainMenu) {
    for (int16_t screen : {1, 4, 5, 6, 12}) {
        platform().display.presents = 0;
        LoadAll(screen);
        EXPECT_EQ(platform().display.presents, 0) << screen;
        ExpectFilled(MainSetSlots(form()));
    }
}

struct RetryCase {
    const char* name;
    const char* missing;   // system name of the file removed before loading
    int restoreAtPresent;  // the file comes back at this flip (0: never)
    int16_t screen;
    bool notesLoadedBefore;  // a reload: the notes of an earlier load are in place
    size_t notesLoaded;      // notes this run loaded before its last failure
    Set expectedLoads;
    int expectedWrites;
    int expectedPresents;
    bool expectFilled;
};

class MenuPictureRetry : public MenuFixture, public ::testing::WithParamInterface<RetryCase> {};

TEST_P(MenuPictureRetry, RetriesOnceThenGivesUpSilently) {
    const RetryCase& c = GetParam();
    std::vector<const Surface*> earlierNotes;
    if (c.notesLoadedBefore) {
        LoadAll(c.screen);
        for (const SurfaceSlot& note : form().notePictures) earlierNotes.push_back(note.get());
    }
    fs::remove(dir.Path() / NativeName(c.missing));
    platform().display.presents = 0;
    platform().display.onPresent = [&] {
        if (platform().display.presents == c.restoreAtPresent) {
            WriteMenuPicture(dir.Path(), c.missing);
        }
    };
    form().settings.movieOnHd = true;
    form().currentScreen = c.screen;

    ScopedRecordingDecoder decoder;
    EXPECT_NO_THROW(form().LoadMainMenuPictures());

    EXPECT_EQ(decoder.Paths(), c.expectedLoads);
    EXPECT_EQ(platform().display.presents, c.expectedPresents);
    const auto& writes = platform().settings.writes;
    ASSERT_EQ(static_cast<int>(writes.size()), c.expectedWrites);
    for (const auto& w : writes) {
        EXPECT_EQ(w.application, "Quillowbee");
        EXPECT_EQ(w.section, "Settings");
        EXPECT_EQ(w.key, "movieOnHd");
        EXPECT_EQ(w.value, "False");
    }
    EXPECT_EQ(form().settings.movieOnHd, c.expectedWrites == 0);
    if (c.expectFilled) {
        ExpectFilled(MainSetSlots(form()));
    } else {
        for (const SlotSize& s : MainSetSlots(form())) {
            if (std::string(s.what) != "notePictures") {
                EXPECT_FALSE(*s.slot) << s.what;
            }
        }
        // The notes are not the set's to empty: those loaded stay, the others are as before.
        for (size_t n = 0; n < form().notePictures.size(); ++n) {
            if (n < c.notesLoaded) {
                EXPECT_TRUE(form().notePictures[n]) << n;
            } else {
                EXPECT_EQ(form().notePictures[n].get(),
                          c.notesLoadedBefore ? earlierNotes[n] : nullptr)
                    << n;
            }
        }
    }
    // The choices set loads as usual afterwards.
    EXPECT_NO_THROW(form().LoadChoicePictures());
}

const Set kUpToButton05 = FirstOfMainSet(16);

INSTANTIATE_TEST_SUITE_P(
    Cases, MenuPictureRetry,
    ::testing::Values(
        RetryCase{"ButtonMissingInBothPasses", "Grafik\\Meny\\Knapp1_05.jpg", 0, 0, false, 0,
                  Concat(kUpToButton05, kUpToButton05), 2, 2, false},
        RetryCase{"ButtonMissingOffTheMainMenu", "Grafik\\Meny\\Knapp1_05.jpg", 0, 3, false, 0,
                  Concat(kUpToButton05, kUpToButton05), 2, 0, false},
        RetryCase{"ReloadKeepsTheEarlierNotes", "Grafik\\Meny\\Knapp1_05.jpg", 0, 0, true, 0,
                  Concat(kUpToButton05, kUpToButton05), 2, 2, false},
        RetryCase{"LastNoteMissingInBothPasses", "Grafik\\Meny\\Lapp3.jpg", 0, 0, false, 3,
                  Concat(FirstOfMainSet(46), FirstOfMainSet(46)), 2, 2, false},
        RetryCase{"BackgroundMissingInBothPasses", "Grafik\\Meny\\StartMeny.jpg", 0, 0, false, 0,
                  Concat(FirstOfMainSet(1), FirstOfMainSet(1)), 2, 0, false},
        // The file appears at the second pass's early flip, after the first pass failed.
        RetryCase{"ButtonMissingInTheFirstPassOnly", "Grafik\\Meny\\Knapp1_05.jpg", 2, 0, false, 0,
                  Concat(kUpToButton05, FirstOfMainSet(46)), 1, 2, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MenuPictures, AFailedFlipCountsAsAFailureOfTheSet) {
    // The early display is part of the pass: a background step that fails restarts the set.
    form().currentScreen = 0;
    int flips = 0;
    platform().display.onPresent = [&] {
        if (++flips == 1) throw SystemFailure("the display went away");
    };
    EXPECT_NO_THROW(form().LoadMainMenuPictures());
    EXPECT_EQ(flips, 2);
    EXPECT_EQ(platform().settings.writes.size(), 1u);
    ExpectFilled(MainSetSlots(form()));
}

class MissingChoicePicture : public MenuFixture,
                             public ::testing::WithParamInterface<std::string> {};

TEST_P(MissingChoicePicture, FailureReachesTheCaller) {
    const std::string native = NativeName(GetParam()).string();
    fs::remove(dir.Path() / native);
    form().LoadMainMenuPictures();
    try {
        form().LoadChoicePictures();
        ADD_FAILURE() << "no failure for a missing " << native;
    } catch (const SystemFailure& failure) {
        EXPECT_NE(std::string(failure.what()).find(native), std::string::npos) << failure.what();
    }
    ExpectFilled(MainSetSlots(form()));
    EXPECT_TRUE(platform().settings.writes.empty());
}

INSTANTIATE_TEST_SUITE_P(EachFile, MissingChoicePicture, ::testing::ValuesIn(ChoiceSetFiles()),
                         [](const auto& info) {
                             std::string name = NativeName(info.param).filename().string();
                             for (char& ch : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             }
                             return name;
                         });

TEST_F(MenuPictures, ReleaseEmptiesItsOwnSlotsOnly) {
    LoadAll(1);
    form().ReleaseMainMenuPictures();
    for (const SlotSize& s : MainSetSlots(form())) {
        EXPECT_EQ(*s.slot != nullptr, std::string(s.what) == "notePictures") << s.what;
    }
    ExpectFilled(ChoiceSetSlots(form()));
    form().ReleaseChoicePictures();
    for (const SlotSize& s : ChoiceSetSlots(form())) {
        EXPECT_FALSE(*s.slot) << s.what;
    }
}

}  // namespace
}  // namespace testing_support
