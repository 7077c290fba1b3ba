#include "platform/sdl/sdl_sound_system.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <vector>

#include "base/system_failure.h"
#include "sdl_test_support.h"

namespace platform {
namespace {

using namespace std::chrono_literals;
using sdl_testing::TempDir;
using sdl_testing::WaitUntil;
using sdl_testing::WriteWave;

// SDL_mixer on SDL's dummy audio driver: it plays in real time into nothing, so playing, looping
// and ending are all observable.
class SdlSoundTest : public ::testing::Test {
  protected:
    void SetUp() override {
        WriteWave(dir_.Path() / "long.wav", 22050, 1, 16, 22050 * 3);
        WriteWave(dir_.Path() / "short.wav", 22050, 1, 16, 1100);
        device_ = sound_.CreateSoundDevice("");
        device_->SetCooperativeLevel(2);
    }
    void TearDown() override {
        sound_.Close();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    std::unique_ptr<SoundBuffer> Load(const std::string& name) {
        return device_->CreateSoundBufferFromFile((dir_.Path() / name).string(), {}, {});
    }

    sdl_testing::ScopedEnv driver_{"SDL_AUDIODRIVER", "dummy"};
    TempDir dir_;
    SdlSoundSystem sound_;
    std::unique_ptr<SoundDevice> device_;
};

TEST_F(SdlSoundTest, PlayOnceLoopAndStopReportTheirStatus) {
    auto buffer = Load("long.wav");
    EXPECT_EQ(buffer->GetStatus(), 0);
    buffer->SetCurrentPosition(0);
    buffer->Play(kPlayOnce);
    EXPECT_EQ(buffer->GetStatus(), kSoundStatusPlaying);
    buffer->SetCurrentPosition(0);
    buffer->Play(kPlayLooping);
    EXPECT_EQ(buffer->GetStatus(), kSoundStatusPlaying | kSoundStatusLooping);
    buffer->Stop();
    EXPECT_EQ(buffer->GetStatus(), 0);
    buffer->Play(kPlayOnce);  // looping no longer reported after a one-shot play
    EXPECT_EQ(buffer->GetStatus(), kSoundStatusPlaying);
}

TEST_F(SdlSoundTest, OneShotFallsSilentAtItsEndWhileALoopKeepsGoing) {
    auto shortSound = Load("short.wav");
    auto loop = Load("short.wav");
    shortSound->Play(kPlayOnce);
    loop->Play(kPlayLooping);
    EXPECT_TRUE(WaitUntil([&] { return shortSound->GetStatus() == 0; }, 10s));
    EXPECT_EQ(loop->GetStatus(), kSoundStatusPlaying | kSoundStatusLooping);
}

// Each buffer has its own channel: far more sounds than SDL_mixer's default eight channels all
// sound at once, and stopping one leaves the others alone.
TEST_F(SdlSoundTest, EveryBufferMixesOnItsOwnChannel) {
    std::vector<std::unique_ptr<SoundBuffer>> buffers;
    for (int i = 0; i < 20; ++i) {
        buffers.push_back(Load("long.wav"));
        buffers.back()->Play(kPlayOnce);
    }
    for (auto& buffer : buffers) {
        EXPECT_EQ(buffer->GetStatus(), kSoundStatusPlaying);
    }
    buffers[3]->Stop();
    EXPECT_EQ(buffers[3]->GetStatus(), 0);
    EXPECT_EQ(buffers[2]->GetStatus(), kSoundStatusPlaying);
    EXPECT_EQ(buffers[4]->GetStatus(), kSoundStatusPlaying);
}

// A released buffer gives its channel back silent; the buffer loaded next does not inherit the
// old sound, and the ones still alive keep theirs.
TEST_F(SdlSoundTest, AReleasedBuffersChannelIsReusedSilent) {
    auto first = Load("long.wav");
    auto second = Load("long.wav");
    first->Play(kPlayLooping);
    second->Play(kPlayLooping);
    first.reset();
    auto third = Load("long.wav");
    EXPECT_EQ(third->GetStatus(), 0);
    EXPECT_EQ(second->GetStatus(), kSoundStatusPlaying | kSoundStatusLooping);
    third->Play(kPlayOnce);
    EXPECT_EQ(third->GetStatus(), kSoundStatusPlaying);
    EXPECT_EQ(second->GetStatus(), kSoundStatusPlaying | kSoundStatusLooping);
}

TEST_F(SdlSoundTest, WavesInOtherPcmFormatsLoad) {
    WriteWave(dir_.Path() / "stereo8.wav", 44100, 2, 8, 44100);
    WriteWave(dir_.Path() / "rate11k.wav", 11025, 1, 16, 11025);
    WriteWave(dir_.Path() / "rate176k.wav", 176400, 2, 16, 17640);
    WriteWave(dir_.Path() / "rate192k.wav", 192000, 1, 16, 19200);
    for (const char* name : {"stereo8.wav", "rate11k.wav", "rate176k.wav", "rate192k.wav"}) {
        auto buffer = Load(name);
        buffer->Play(kPlayOnce);
        EXPECT_EQ(buffer->GetStatus(), kSoundStatusPlaying) << name;
    }
}

TEST_F(SdlSoundTest, UnloadableSoundsFailNamingTheFile) {
    std::ofstream(dir_.Path() / "text.wav") << "this is not a wave file";
    std::ofstream(dir_.Path() / "empty.wav");
    for (const char* name : {"missing.wav", "text.wav", "empty.wav"}) {
        try {
            Load(name);
            ADD_FAILURE() << name << " loaded";
        } catch (const SystemFailure& failure) {
            EXPECT_NE(std::string(failure.what()).find(name), std::string::npos) << failure.what();
        }
    }
    EXPECT_THROW(device_->CreateSoundBufferFromResource("", "CLICK", {}, {}), SystemFailure);
}

TEST_F(SdlSoundTest, BuffersOutlivingTheClosedDeviceFallSilent) {
    auto buffer = Load("long.wav");
    buffer->Play(kPlayLooping);
    sound_.Close();
    EXPECT_EQ(buffer->GetStatus(), 0);
    buffer->Play(kPlayOnce);
    EXPECT_EQ(buffer->GetStatus(), 0);
    EXPECT_THROW(device_->CreateSoundBufferFromFile((dir_.Path() / "long.wav").string(), {}, {}),
                 SystemFailure);
    buffer.reset();  // after the device is gone: must not touch the mixer
}

TEST(SdlSoundDeviceTest, NoAudioDriverMeansNoDevice) {
    sdl_testing::ScopedEnv driver{"SDL_AUDIODRIVER", "no-such-driver"};
    SdlSoundSystem sound;
    EXPECT_THROW(sound.CreateSoundDevice(""), SystemFailure);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace
}  // namespace platform
