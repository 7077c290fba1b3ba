// Replays every input of the wave loader's fuzz corpus (seeds and past findings) through the real
// sound device on SDL's dummy audio driver: each one must load or fail with SystemFailure naming
// the file, and a loaded one must play once, loop and stop as the buffer promises.
#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "platform/sdl/sdl_sound_system.h"
#include "sdl_test_support.h"
#include "base/system_failure.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

class WaveLoaderCorpusTest : public ::testing::Test {
  protected:
    void SetUp() override {
        device_ = sound_.CreateSoundDevice("");
        device_->SetCooperativeLevel(2);
    }
    void TearDown() override {
        sound_.Close();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    // "loaded" or "failed"; anything but SystemFailure fails the test.
    std::string Replay(const fs::path& file) {
        std::unique_ptr<SoundBuffer> buffer;
        try {
            buffer = device_->CreateSoundBufferFromFile(file.string(), {}, {});
        } catch (const SystemFailure& failure) {
            EXPECT_NE(std::string(failure.what()).find(file.string()), std::string::npos)
                << failure.what();
            return "failed";
        } catch (const std::exception& other) {
            ADD_FAILURE() << file << ": " << other.what();
            return "other exception";
        }
        EXPECT_NE(buffer, nullptr) << file;
        if (buffer == nullptr) {
            return "no buffer";
        }
        buffer->Play(kPlayOnce);
        const int32_t once = buffer->GetStatus();
        EXPECT_TRUE(once == 0 || once == kSoundStatusPlaying) << file << ": " << once;
        buffer->Play(kPlayLooping);
        EXPECT_EQ(buffer->GetStatus(), kSoundStatusPlaying | kSoundStatusLooping) << file;
        buffer->Stop();
        EXPECT_EQ(buffer->GetStatus(), 0) << file;
        return "loaded";
    }

    sdl_testing::ScopedEnv driver_{"SDL_AUDIODRIVER", "dummy"};
    SdlSoundSystem sound_;
    std::unique_ptr<SoundDevice> device_;
};

TEST_F(WaveLoaderCorpusTest, EveryInputLoadsOrFailsCleanly) {
    const fs::path corpus = fs::path(QUILLOWBEE_FUZZ_CORPUS_DIR) / "wave_loader";
    ASSERT_TRUE(fs::is_directory(corpus)) << corpus;

    // The seeds whose outcome is known.
    const std::map<std::string, std::string> known = {
        {"pcm8_mono_11025.wav", "loaded"},
        {"pcm16_mono_22050.wav", "loaded"},
        {"pcm16_stereo_44100.wav", "loaded"},
        {"pcm8_stereo_22050.wav", "loaded"},
        {"pcm16_mono_22050_list_chunk.wav", "loaded"},
        {"pcm24_mono_22050.wav", "loaded"},
        {"float32_mono_22050.wav", "loaded"},
        {"alaw_mono_8000.wav", "loaded"},
        {"mulaw_mono_8000.wav", "loaded"},
        {"ima_adpcm_mono_22050.wav", "loaded"},
        {"ms_adpcm_mono_22050.wav", "loaded"},
        {"rate_100hz.wav", "loaded"},
        {"rate_1hz.wav", "failed"},
        {"truncated_data.wav", "loaded"},  // plays what it holds
        {"truncated_header.wav", "failed"},
        {"empty_data.wav", "failed"},
        {"less_than_a_frame.wav", "failed"},
        {"wrong_fmt_tag.wav", "failed"},
        {"wrong_fmt_bits.wav", "failed"},
        {"wrong_fmt_no_channels.wav", "failed"},
        {"no_fmt.wav", "failed"},
        // Found by the fuzzer: a data chunk claiming 4 GiB in a file of 102 bytes.
        {"oom_data_chunk_claims_4gib.wav", "loaded"},
    };
    size_t replayed = 0;
    size_t knownSeen = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(corpus)) {
        if (!entry.is_regular_file()) continue;
        ++replayed;
        const std::string outcome = Replay(entry.path());
        if (auto it = known.find(entry.path().filename().string()); it != known.end()) {
            ++knownSeen;
            EXPECT_EQ(outcome, it->second) << entry.path();
        }
    }
    EXPECT_EQ(knownSeen, known.size()) << "seeds missing from " << corpus;
    EXPECT_GE(replayed, known.size());
}

// SDL_mixer would size the converted sound as an int and come out with a cut, wrapped length;
// the device refuses such a sound before converting it, and takes one a little shorter.
TEST_F(WaveLoaderCorpusTest, SoundsTooLongToConvertFailNamingTheFile) {
    sdl_testing::TempDir dir;
    // At 100 Hz every byte may grow 4 * 4 * 221 times: 607 000 bytes pass 2^31.
    sdl_testing::WriteWave(dir.Path() / "long.wav", 100, 1, 8, 620000);
    sdl_testing::WriteWave(dir.Path() / "shorter.wav", 100, 1, 8, 6000);
    const std::string path = (dir.Path() / "long.wav").string();
    try {
        device_->CreateSoundBufferFromFile(path, {}, {});
        ADD_FAILURE() << "a sound too long to convert loaded";
    } catch (const SystemFailure& failure) {
        EXPECT_EQ(std::string(failure.what()), path + ": the sound is too long");
    }
    EXPECT_EQ(Replay(dir.Path() / "shorter.wav"), "loaded");
}

}  // namespace
}  // namespace platform
