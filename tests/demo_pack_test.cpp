// The generated demo content holds every file the program asks for, at the size it loads it.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "content/data_file_reader.h"
#include "sound/dsound.h"
#include "support/form_harness.h"
#include "support/recording_decoder.h"
#include "support/test_files.h"

namespace {

class DemoPackTest : public ::testing::Test {
  protected:
    DemoPackTest() : cwd_(testing_support::DemoDir()) { h_.PrepareDisplay(); }

    void ExpectEveryLoadAtItsOwnSize() {
        // Pictures made at their slot's size decode whole, at exactly that size.
        for (const auto& load : decoder_.Calls()) {
            EXPECT_EQ(load.decodedWidth, load.wantWidth) << load.path;
            EXPECT_EQ(load.decodedHeight, load.wantHeight) << load.path;
        }
        EXPECT_TRUE(h_.platform.settings.writes.empty()) << "a picture failed to load";
    }

    testing_support::FormHarness h_;
    testing_support::ScopedCurrentDir cwd_;
    testing_support::ScopedRecordingDecoder decoder_;
};

TEST_F(DemoPackTest, DataFilesLoadThroughTheProgramsReader) {
    DataFileReader::LoadItemFile("Data\\Yrke.dat", 0);
    DataFileReader::LoadItemFile("Data\\Musik.dat", 8);
    DataFileReader::LoadItemFile("Data\\Sport.dat", 16);
    DataFileReader::LoadItemFile("Data\\Djur.dat", 24);
    for (const ItemInfo& item : DataFileReader::itemTable) {
        EXPECT_TRUE(item.folder.ends_with("\\")) << item.folder;
        EXPECT_EQ(item.folder.find(' '), std::string::npos) << item.folder;
        EXPECT_LT(item.simpleLast, item.complexLast) << item.folder;
        EXPECT_GE(item.filmLast, 7) << item.folder;
        EXPECT_LE(item.filmLast, 23) << item.folder;
        for (int16_t delay : item.filmDelays) {
            EXPECT_GE(delay, 80) << item.folder;
            EXPECT_LE(delay, 400) << item.folder;
        }
    }
    EXPECT_EQ(DataFileReader::itemTable[8].folder, "Musik\\Fiol\\");
    EXPECT_EQ(DataFileReader::itemTable[24].folder, "Djur\\H\xF6na\\");
}

TEST_F(DemoPackTest, EveryMenuPictureLoadsAtItsSize) {
    h_.form.LoadMainMenuPictures();
    h_.form.LoadChoicePictures();
    EXPECT_EQ(decoder_.Calls().size(), 53u);
    ExpectEveryLoadAtItsOwnSize();
    // The cross's background is pure black, its transparent colour.
    const Surface& cross = *h_.form.crossPicture;
    EXPECT_EQ(cross.PixelAt(0, 0), 0);
    EXPECT_EQ(cross.PixelAt(50, 53), 0);
}

TEST_F(DemoPackTest, EveryActivityPictureLoadsAtItsSize) {
    DataFileReader::LoadItemFile("Data\\Yrke.dat", 0);
    DataFileReader::LoadItemFile("Data\\Musik.dat", 8);
    DataFileReader::LoadItemFile("Data\\Sport.dat", 16);
    DataFileReader::LoadItemFile("Data\\Djur.dat", 24);
    h_.form.ResetSettings(0);
    size_t expected = 0;
    for (int16_t item = 0; item < 32; ++item) {
        const ItemInfo& info = DataFileReader::itemTable[item];
        for (bool simple : {false, true}) {
            SCOPED_TRACE(info.folder + (simple ? " simple" : " complex"));
            h_.form.selectedItem = item;
            h_.form.settings.simpleContent = simple;
            h_.form.LoadFilm();
            h_.form.StartBuildUp();
            // Walk the whole series the way a child does, one accepted step at a time.
            while (h_.form.requestedScreen != 6) {
                h_.platform.counter.AdvanceMs(1000);
                h_.form.StepBuildUp();
            }
            h_.form.requestedScreen = 0;
            for (const SurfaceSlot& picture : h_.form.filmPictures) {
                EXPECT_TRUE(picture);
            }
            expected += static_cast<size_t>(info.filmLast) + 1 +
                        static_cast<size_t>(simple ? info.simpleLast : info.complexLast) + 1;
        }
    }
    EXPECT_EQ(decoder_.Calls().size(), expected);
    ExpectEveryLoadAtItsOwnSize();
}

TEST_F(DemoPackTest, TheSoundBankLoadsWholeInTheDevicesFormat) {
    EXPECT_TRUE(DSound::InitSound());
    EXPECT_EQ(DSound::soundSlots.size(), 13u);
    for (const DSound::SoundSlot& slot : DSound::soundSlots) {
        const std::string bytes = testing_support::ReadFile(testing_support::DemoDir() / [&] {
            std::string p = slot.fileName;
            for (char& c : p) c = c == '\\' ? '/' : c;
            return p;
        }());
        ASSERT_GE(bytes.size(), 44u) << slot.fileName;
        auto u16 = [&](size_t at) {
            return static_cast<uint8_t>(bytes[at]) | (static_cast<uint8_t>(bytes[at + 1]) << 8);
        };
        EXPECT_EQ(bytes.substr(0, 4), "RIFF") << slot.fileName;
        EXPECT_EQ(u16(20), 1) << slot.fileName;      // PCM
        EXPECT_EQ(u16(22), 1) << slot.fileName;      // mono
        EXPECT_EQ(u16(24), 22050) << slot.fileName;  // 22 050 Hz
        EXPECT_EQ(u16(34), 16) << slot.fileName;     // 16 bits
    }
}

}  // namespace
