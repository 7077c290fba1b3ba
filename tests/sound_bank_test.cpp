#include <gtest/gtest.h>

#include <filesystem>

#include "sound/dsound.h"
#include "support/form_harness.h"
#include "support/sound_files.h"
#include "support/test_files.h"

namespace {

using testing_support::kBankFiles;

class SoundBankTest : public ::testing::Test {
  protected:
    SoundBankTest() : cwd_(dir_.Path()) {
        testing_support::ResetModules();
        testing_support::WriteSoundBank(dir_.Path());
    }
    ~SoundBankTest() override { testing_support::ResetModules(); }

    headless::SoundBuffer& Buffer(int16_t slot) {
        return static_cast<headless::SoundBuffer&>(*DSound::soundSlots.at(slot).buffer);
    }

    testing_support::TempDir dir_;
    testing_support::ScopedCurrentDir cwd_;
    headless::Platform platform_;
};

TEST_F(SoundBankTest, LoadsTheThirteenSoundsInOrderWithTheFourLoops) {
    ASSERT_TRUE(DSound::InitSound());
    ASSERT_EQ(DSound::soundSlots.size(), 13u);
    for (int16_t slot = 0; slot < 13; ++slot) {
        const DSound::SoundSlot& s = DSound::soundSlots[slot];
        EXPECT_EQ(std::filesystem::path(Buffer(slot).path), std::filesystem::path(kBankFiles[slot]))
            << slot;
        EXPECT_EQ(s.looping, slot == 0 || slot == 1 || slot == 11 || slot == 12) << slot;
        EXPECT_EQ(s.state, "stopped");
        EXPECT_FALSE(s.isFree);
    }
}

TEST_F(SoundBankTest, PlayingASoundingSlotRestartsItFromTheBeginning) {
    ASSERT_TRUE(DSound::InitSound());
    for (int16_t slot : {DSound::kClick, DSound::kStartMenuMusic}) {
        DSound::PlaySound(slot);
        Buffer(slot).position = 1234;  // part-way through
        DSound::PlaySound(slot);
        EXPECT_EQ(Buffer(slot).position, 0) << slot;
        EXPECT_EQ(Buffer(slot).plays, 2) << slot;
        EXPECT_EQ(DSound::soundSlots[slot].state, "playing");
    }
}

TEST_F(SoundBankTest, StatusBitsWhilePlayingAndAfterAOneShotEnds) {
    ASSERT_TRUE(DSound::InitSound());
    EXPECT_EQ(DSound::GetSoundStatus(DSound::kHen), 0);
    DSound::PlaySound(DSound::kHen);
    DSound::PlaySound(DSound::kHenCall);
    EXPECT_EQ(DSound::GetSoundStatus(DSound::kHen), 5);
    EXPECT_EQ(DSound::GetSoundStatus(DSound::kHenCall), 1);
    platform_.sound.FinishOneShots();
    EXPECT_EQ(DSound::GetSoundStatus(DSound::kHenCall), 0);
    EXPECT_EQ(DSound::soundSlots[DSound::kHenCall].state, "playing");  // bookkeeping only
    EXPECT_EQ(DSound::GetSoundStatus(DSound::kHen), 5);
}

TEST_F(SoundBankTest, StopAllSoundsStopsAndRewinds) {
    ASSERT_TRUE(DSound::InitSound());
    DSound::PlaySound(DSound::kSubMenuMusic);
    Buffer(DSound::kSubMenuMusic).position = 999;
    DSound::StopAllSounds();
    EXPECT_EQ(DSound::GetSoundStatus(DSound::kSubMenuMusic), 0);
    EXPECT_EQ(Buffer(DSound::kSubMenuMusic).position, 0);
    EXPECT_EQ(DSound::soundSlots[DSound::kSubMenuMusic].state, "stopped");
}

TEST_F(SoundBankTest, AReleasedSlotIsTheNextOneFilled) {
    ASSERT_TRUE(DSound::InitSound());
    DSound::ReleaseSound(5);
    DSound::ReleaseSound(9);
    EXPECT_TRUE(DSound::soundSlots[5].isFree);
    EXPECT_EQ(DSound::soundSlots[5].state, "empty");
    EXPECT_EQ(DSound::soundSlots[5].fileName, "");
    EXPECT_EQ(DSound::LoadSound("Ljud\\Click.wav", true, false, false, false, false, false, false),
              5);
    EXPECT_EQ(DSound::LoadSound("Ljud\\Click.wav", true, false, false, false, false, false, false),
              9);
    EXPECT_EQ(DSound::LoadSound("Ljud\\Click.wav", true, false, false, false, false, false, false),
              13);
    EXPECT_EQ(DSound::soundSlots.size(), 14u);
    // A released slot is never played.
    DSound::ReleaseSound(4);
    DSound::PlaySound(4);
    EXPECT_EQ(DSound::GetSoundStatus(4), 0);
}

TEST_F(SoundBankTest, ReleaseAllKeepsTheArrayAndStaysEnabled) {
    ASSERT_TRUE(DSound::InitSound());
    DSound::PlaySound(DSound::kClick);
    DSound::ReleaseAllSounds();
    EXPECT_TRUE(DSound::soundEnabled);
    EXPECT_EQ(DSound::soundSlots.size(), 13u);
    for (const DSound::SoundSlot& s : DSound::soundSlots) {
        EXPECT_TRUE(s.isFree);
        EXPECT_FALSE(s.buffer);
    }
    EXPECT_TRUE(platform_.sound.buffers.empty());
}

// Every way the bank can fail to come up leaves the whole run silent.
TEST_F(SoundBankTest, AnyFailureWhileSettingUpLeavesTheRunSilent) {
    const struct {
        const char* name;
        std::function<void(headless::Platform&, const std::filesystem::path&)> breakIt;
    } cases[] = {
        {"no device", [](headless::Platform& p, const auto&) { p.sound.noDevice = true; }},
        {"refused level",
         [](headless::Platform& p, const auto&) { p.sound.refuseCooperative = true; }},
        {"sound folder missing",
         [](headless::Platform&, const std::filesystem::path& root) {
             std::filesystem::remove_all(root / "Ljud");
         }},
        {"last file missing",
         [](headless::Platform&, const std::filesystem::path& root) {
             std::filesystem::remove(root / "Ljud/SubMeny.wav");
         }},
        {"broken file",
         [](headless::Platform&, const std::filesystem::path& root) {
             testing_support::WriteFile(root / "Ljud/Build3.wav", "not a wave");
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testing_support::ResetModules();
        platform_.sound.noDevice = false;
        platform_.sound.refuseCooperative = false;
        testing_support::WriteSoundBank(dir_.Path());
        c.breakIt(platform_, dir_.Path());
        EXPECT_FALSE(DSound::InitSound());
        EXPECT_FALSE(DSound::soundEnabled);
        const size_t playsBefore = platform_.sound.plays.size();
        for (int16_t slot = 0; slot < 13; ++slot) {
            DSound::PlaySound(slot);
            EXPECT_EQ(DSound::GetSoundStatus(slot), 0);
            DSound::ReleaseSound(slot);
        }
        DSound::StopAllSounds();
        DSound::ReleaseAllSounds();
        EXPECT_EQ(platform_.sound.plays.size(), playsBefore);
    }
}

}  // namespace
