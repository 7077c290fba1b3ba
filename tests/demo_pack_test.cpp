// The generated demo content holds every file the program asks for, at the size it loads it.
#include <gtest/gtest.h>

#include "content/data_file_reader.h"
#include "sound/dsound.h"
#include "support/form_harness.h"
#include "support/mini_pack.h"
#include "support/recording_decoder.h"
#include "support/test_files.h"

namespace {

TEST(DemoPack, EveryFileLoadsWholeAtItsSize) {
    testing_support::FormHarness h;
    testing_support::ScopedCurrentDir cwd(QUILLOWBEE_DEMO_DIR);
    h.PrepareDisplay();
    testing_support::ScopedRecordingDecoder decoder;

    const char* const files[] = {"Yrke", "Musik", "Sport", "Djur"};
    for (int16_t n = 0; n < 4; ++n)
        DataFileReader::LoadItemFile(std::string("Data\\") + files[n] + ".dat", n * 8);
    EXPECT_EQ(DataFileReader::itemTable[8].folder, "Musik\\Fiol\\");
    EXPECT_EQ(DataFileReader::itemTable[24].folder, "Djur\\H\xF6na\\");

    h.form.LoadMainMenuPictures();
    h.form.LoadChoicePictures();
    EXPECT_EQ(decoder.Calls().size(), 53u);
    // The cross's background is pure black, its transparent colour.
    EXPECT_EQ(h.form.crossPicture->PixelAt(0, 0) | h.form.crossPicture->PixelAt(50, 53), 0);

    h.form.ResetSettings(0);
    size_t expected = 53;
    for (int16_t item = 0; item < 32; ++item) {
        const ItemInfo& info = DataFileReader::itemTable[item];
        EXPECT_EQ(info.folder.find(' '), std::string::npos) << info.folder;
        EXPECT_LT(info.simpleLast, info.complexLast) << info.folder;
        for (bool simple : {false, true}) {
            SCOPED_TRACE(info.folder + (simple ? " simple" : " complex"));
            h.form.selectedItem = item;
            h.form.settings.simpleContent = simple;
            h.form.LoadFilm();
            h.form.StartBuildUp();
            // The whole series the way a child walks it, one accepted step at a time.
            while (h.form.requestedScreen != 6) {
                h.platform.counter.AdvanceMs(1000);
                h.form.StepBuildUp();
            }
            h.form.requestedScreen = 0;
            expected += static_cast<size_t>(info.filmLast) + 1 +
                        static_cast<size_t>(simple ? info.simpleLast : info.complexLast) + 1;
        }
    }
    EXPECT_EQ(decoder.Calls().size(), expected);
    // Pictures made at their slot's size decode whole, at exactly that size.
    for (const auto& load : decoder.Calls())
        EXPECT_EQ(std::pair(load.decodedWidth, load.decodedHeight),
                  std::pair(load.wantWidth, load.wantHeight))
            << load.path;
    EXPECT_TRUE(h.platform.settings.writes.empty()) << "a picture failed to load";

    // The sound bank in the device's format: PCM, mono, 22 050 Hz, 16 bits.
    ASSERT_TRUE(DSound::InitSound());
    for (const DSound::SoundSlot& slot : DSound::soundSlots) {
        const auto path = testing_support::NativeName(slot.fileName);
        const std::string bytes = testing_support::ReadFile(QUILLOWBEE_DEMO_DIR / path);
        ASSERT_GE(bytes.size(), 44u) << path;
        EXPECT_EQ(bytes.substr(0, 4) + bytes.substr(20, 8) + bytes.substr(34, 2),
                  std::string("RIFF\x01\x00\x01\x00\x22\x56\x00\x00\x10\x00", 14))
            << path;
    }
}

}  // namespace
