// The sound bank: its slots, restarts, status bits, and a silent run when it cannot come up.
#include <gtest/gtest.h>

#include <filesystem>

#include "sound/dsound.h"
#include "support/form_harness.h"
#include "support/sound_files.h"
#include "support/test_files.h"

namespace testing_support {
namespace {

class SoundBankTest : public ::testing::Test {
  protected:
    SoundBankTest() { ResetModules(), WriteSoundBank(dir_.Path()); }
    ~SoundBankTest() override { ResetModules(); }

    headless::SoundBuffer& Buffer(int16_t slot) {
        return static_cast<headless::SoundBuffer&>(*DSound::soundSlots.at(slot).buffer);
    }

    TempDir dir_;
    ScopedCurrentDir cwd_{dir_.Path()};
    headless::Platform platform_;
};

TEST_F(SoundBankTest, PlaysRestartsStopsAndFreesItsSlots) {
    ASSERT_TRUE(DSound::InitSound());
    ASSERT_EQ(DSound::soundSlots.size(), 13u);
    for (int16_t slot = 0; slot < 13; ++slot)  // the violin, the hen and the two menu tunes loop
        EXPECT_EQ(DSound::soundSlots[slot].looping, slot <= 1 || slot >= 11) << slot;
    // Playing a sounding slot starts it again from the beginning.
    DSound::PlaySound(DSound::kClick);
    Buffer(DSound::kClick).position = 1234;
    DSound::PlaySound(DSound::kClick);
    EXPECT_EQ(std::pair(Buffer(DSound::kClick).position, Buffer(DSound::kClick).plays),
              std::pair(0, 2));
    // Status: 1 playing, 4 looping; a finished one-shot reads as stopped.
    DSound::PlaySound(DSound::kHen);
    DSound::PlaySound(DSound::kHenCall);
    EXPECT_EQ(DSound::GetSoundStatus(DSound::kHen), 5);
    EXPECT_EQ(DSound::GetSoundStatus(DSound::kHenCall), 1);
    platform_.sound.FinishOneShots();
    EXPECT_EQ(DSound::GetSoundStatus(DSound::kHenCall), 0);
    EXPECT_EQ(DSound::GetSoundStatus(DSound::kHen), 5);
    // Stopping rewinds.
    Buffer(DSound::kHen).position = 999;
    DSound::StopAllSounds();
    EXPECT_EQ(std::pair(DSound::GetSoundStatus(DSound::kHen), Buffer(DSound::kHen).position),
              std::pair(int16_t{0}, 0));
    EXPECT_EQ(DSound::soundSlots[DSound::kHen].state, "stopped");
    // A released slot is never played, and is the next one filled.
    DSound::ReleaseSound(5), DSound::ReleaseSound(9);
    DSound::PlaySound(5);
    EXPECT_EQ(DSound::GetSoundStatus(5), 0);
    EXPECT_EQ(DSound::soundSlots[5].state, "empty");
    for (int16_t expected : {5, 9, 13})
        EXPECT_EQ(
            DSound::LoadSound("Ljud\\Click.wav", true, false, false, false, false, false, false),
            expected);
    DSound::ReleaseAllSounds();
    EXPECT_TRUE(DSound::soundEnabled);
    EXPECT_EQ(DSound::soundSlots.size(), 14u);
    for (const DSound::SoundSlot& s : DSound::soundSlots) EXPECT_TRUE(s.isFree);
    EXPECT_TRUE(platform_.sound.buffers.empty());
}

TEST_F(SoundBankTest, AnyFailureWhileSettingUpLeavesTheRunSilent) {
    // No device, a refused level, the last file missing, a broken file.
    for (int failure = 0; failure < 4; ++failure) {
        SCOPED_TRACE(failure);
        ResetModules();
        WriteSoundBank(dir_.Path());
        platform_.sound.noDevice = failure == 0;
        platform_.sound.refuseCooperative = failure == 1;
        if (failure == 2) std::filesystem::remove(dir_.Path() / "Ljud/SubMeny.wav");
        if (failure == 3) WriteFile(dir_.Path() / "Ljud/Build3.wav", "not a wave");
        EXPECT_FALSE(DSound::InitSound());
        EXPECT_FALSE(DSound::soundEnabled);
        for (int16_t slot = 0; slot < 13; ++slot) {
            DSound::PlaySound(slot);
            EXPECT_EQ(DSound::GetSoundStatus(slot), 0);
            DSound::ReleaseSound(slot);
        }
        DSound::StopAllSounds(), DSound::ReleaseAllSounds();
        EXPECT_TRUE(platform_.sound.plays.empty());
    }
}

}  // namespace
}  // namespace testing_support
