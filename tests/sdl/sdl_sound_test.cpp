// Sounds on SDL_mixer with SDL's dummy audio driver (it plays in real time into nothing, so
// playing, looping and ending are all observable), and the wave file reading in front of it.
#include <SDL.h>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

#include "base/system_failure.h"
#include "platform/sdl/sdl_sound_system.h"
#include "platform/sdl/wave_file.h"
#include "support/child_process.h"
#include "support/test_files.h"
#include "writers/wav_writer.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing_support::TempDir;
using testing_support::WriteFile;
using writers::RiffWave;

constexpr int32_t kLooping = kSoundStatusPlaying | kSoundStatusLooping;

void WriteTone(const fs::path& path, int rate, int channels, int bits, int frames) {
    WriteFile(path, writers::ToneWav({1, channels, rate, bits}, frames));
}

class SdlSoundTest : public ::testing::Test {
  protected:
    void SetUp() override {
        WriteTone(dir_ / "long.wav", 22050, 1, 16, 22050 * 3);
        WriteTone(dir_ / "short.wav", 22050, 1, 16, 1100);
        device_ = sound_.CreateSoundDevice("");
        device_->SetCooperativeLevel(2);
    }
    void TearDown() override {
        sound_.Close();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    std::unique_ptr<SoundBuffer> Load(const fs::path& file) {
        return device_->CreateSoundBufferFromFile(
            (file.is_absolute() ? file : dir_ / file).string(), {}, {});
    }
    // "loaded" (and then plays once, loops and stops as a buffer promises) or "failed" with a
    // SystemFailure naming the file; anything else fails the test.
    std::string Replay(const fs::path& file) {
        std::unique_ptr<SoundBuffer> buffer;
        try {
            buffer = Load(file);
        } catch (const SystemFailure& failure) {
            EXPECT_NE(std::string(failure.what()).find(file.string()), std::string::npos)
                << failure.what();
            return "failed";
        } catch (const std::exception& other) {
            ADD_FAILURE() << file << ": " << other.what();
            return "other exception";
        }
        buffer->Play(kPlayOnce);
        const int32_t once = buffer->GetStatus();
        EXPECT_TRUE(once == 0 || once == kSoundStatusPlaying) << file << ": " << once;
        buffer->Play(kPlayLooping);
        EXPECT_EQ(buffer->GetStatus(), kLooping) << file;
        buffer->Stop();
        EXPECT_EQ(buffer->GetStatus(), 0) << file;
        return "loaded";
    }

    testing_support::ScopedEnv driver_{"SDL_AUDIODRIVER", "dummy"};
    TempDir dir_;
    SdlSoundSystem sound_;
    std::unique_ptr<SoundDevice> device_;
};

TEST_F(SdlSoundTest, PlayOnceLoopAndStopReportTheirStatus) {
    auto buffer = Load("long.wav");
    EXPECT_EQ(buffer->GetStatus(), 0);
    buffer->Play(kPlayOnce);
    EXPECT_EQ(buffer->GetStatus(), kSoundStatusPlaying);
    buffer->SetCurrentPosition(0);
    buffer->Play(kPlayLooping);
    EXPECT_EQ(buffer->GetStatus(), kLooping);
    buffer->Stop();
    EXPECT_EQ(buffer->GetStatus(), 0);
    buffer->Play(kPlayOnce);  // looping no longer reported after a one-shot play
    EXPECT_EQ(buffer->GetStatus(), kSoundStatusPlaying);

    auto shortSound = Load("short.wav");
    auto loop = Load("short.wav");
    shortSound->Play(kPlayOnce);
    loop->Play(kPlayLooping);
    EXPECT_TRUE(testing_support::WaitUntil([&] { return shortSound->GetStatus() == 0; }, 10s));
    EXPECT_EQ(loop->GetStatus(), kLooping);
}

// Far more sounds than SDL_mixer's default eight channels all sound at once; stopping or
// releasing one leaves the others alone, and the buffer loaded next does not inherit its sound.
TEST_F(SdlSoundTest, EveryBufferMixesOnItsOwnChannel) {
    std::vector<std::unique_ptr<SoundBuffer>> buffers;
    for (int i = 0; i < 20; ++i) {
        buffers.push_back(Load("long.wav"));
        buffers.back()->Play(kPlayLooping);
    }
    buffers[3]->Stop();
    buffers[5].reset();
    auto next = Load("long.wav");
    EXPECT_EQ(next->GetStatus(), 0);
    for (int i = 0; i < 20; ++i) {
        if (buffers[i]) {
            EXPECT_EQ(buffers[i]->GetStatus(), i == 3 ? 0 : kLooping) << i;
        }
    }
}

TEST_F(SdlSoundTest, UnloadableSoundsFailNamingTheFileAndAClosedDeviceFallsSilent) {
    WriteFile(dir_ / "text.wav", "this is not a wave file");
    WriteFile(dir_ / "empty.wav", "");
    for (const char* name : {"missing.wav", "text.wav", "empty.wav"}) {
        EXPECT_EQ(Replay(name), "failed") << name;
    }
    EXPECT_THROW(device_->CreateSoundBufferFromResource("", "CLICK", {}, {}), SystemFailure);

    auto buffer = Load("long.wav");
    buffer->Play(kPlayLooping);
    sound_.Close();
    EXPECT_EQ(buffer->GetStatus(), 0);
    buffer->Play(kPlayOnce);
    EXPECT_EQ(buffer->GetStatus(), 0);
    EXPECT_THROW(Load("long.wav"), SystemFailure);
    buffer.reset();  // after the device is gone: must not touch the mixer
}

TEST(SdlSoundDeviceTest, NoAudioDriverMeansNoDevice) {
    testing_support::ScopedEnv driver{"SDL_AUDIODRIVER", "no-such-driver"};
    SdlSoundSystem sound;
    EXPECT_THROW(sound.CreateSoundDevice(""), SystemFailure);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

// Every input of the wave loader's fuzz corpus (seeds and past findings), PCM waves of other
// shapes, and sounds near the length SDL_mixer can convert: each loads or fails cleanly.
TEST_F(SdlSoundTest, EveryWaveLoadsOrFailsCleanly) {
    const fs::path corpus = fs::path(QUILLOWBEE_FUZZ_CORPUS_DIR) / "wave_loader";
    ASSERT_TRUE(fs::is_directory(corpus)) << corpus;
    // At 100 Hz every byte may grow 4 * 4 * 221 times: 607 000 bytes pass 2^31, where SDL_mixer
    // would come out with a cut, wrapped length.
    WriteTone(dir_ / "too_long_to_convert.wav", 100, 1, 8, 620000);
    WriteTone(dir_ / "shorter.wav", 100, 1, 8, 6000);
    WriteTone(dir_ / "stereo8_44100.wav", 44100, 2, 8, 4410);
    WriteTone(dir_ / "rate176400.wav", 176400, 2, 16, 17640);
    WriteTone(dir_ / "rate192000.wav", 192000, 1, 16, 19200);
    const std::map<std::string, std::string> known = {
        {"pcm8_mono_11025.wav", "loaded"},
        {"pcm16_stereo_44100.wav", "loaded"},
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
        {"oom_data_chunk_claims_4gib.wav", "loaded"},  // found by the fuzzer
        {"too_long_to_convert.wav", "failed"},
        {"shorter.wav", "loaded"},
        {"stereo8_44100.wav", "loaded"},
        {"rate176400.wav", "loaded"},
        {"rate192000.wav", "loaded"},
    };
    size_t knownSeen = 0;
    for (const fs::path& folder : {corpus, dir_.Path()}) {
        for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
            const std::string outcome = Replay(entry.path());
            if (auto it = known.find(entry.path().filename().string()); it != known.end()) {
                ++knownSeen;
                EXPECT_EQ(outcome, it->second) << entry.path();
            }
        }
    }
    EXPECT_EQ(knownSeen, known.size()) << "seeds missing from " << corpus;
}

std::string LE32(uint32_t value) {
    std::string out;
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
    return out;
}

std::string Header(const std::string& id, uint32_t length) {
    return id + LE32(length);
}

// A format chunk whose sample rate is `rate`.
std::string Format(uint32_t rate) {
    return Header("fmt ", 16) + std::string(4, '\1') + LE32(rate) + std::string(8, '\1');
}

const std::string kFormat = Format(22050);

TEST(SdlWaveFileTest, RecognisesOnlyRiffWaveFiles) {
    struct Case {
        std::string bytes;
        bool wave;
    };
    const std::vector<Case> cases = {
        {RiffWave(""), true},
        {"RIFF" + LE32(0) + "WAVE", true},
        {"RIFF" + LE32(4) + "WAV", false},    // cut inside the form type
        {"RIFX" + LE32(4) + "WAVE", false},   // big-endian RIFF
        {"RIFF" + LE32(4) + "AVI ", false},   // another RIFF form
        {"WAVE" + Header("fmt ", 0), false},  // form type without RIFF
        {"FORM" + LE32(4) + "AIFF", false},   // what SDL_mixer would also take
        {"OggS" + std::string(20, '\0'), false},
        {"", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsRiffWave(c.bytes), c.wave) << c.bytes;
    }
}

TEST(SdlWaveFileTest, ClampsTheFirstDataChunkToTheBytesThatFollow) {
    const std::string samples(10, 'x');
    struct Case {
        const char* name;
        std::string before;
        std::string after;
    };
    const std::vector<Case> cases = {
        {"longer than the file", RiffWave(kFormat + Header("data", 0xFFFFFF00u) + samples),
         RiffWave(kFormat + Header("data", 10) + samples)},
        {"one byte too long", RiffWave(kFormat + Header("data", 11) + samples),
         RiffWave(kFormat + Header("data", 10) + samples)},
        {"exact", RiffWave(kFormat + Header("data", 10) + samples),
         RiffWave(kFormat + Header("data", 10) + samples)},
        {"shorter, bytes after it", RiffWave(kFormat + Header("data", 4) + samples),
         RiffWave(kFormat + Header("data", 4) + samples)},
        {"nothing after the header", RiffWave(kFormat + Header("data", 100)),
         RiffWave(kFormat + Header("data", 0))},
        {"after an odd chunk and its pad byte",
         RiffWave(Header("LIST", 3) + "abc" + '\0' + kFormat + Header("data", 50) + samples),
         RiffWave(Header("LIST", 3) + "abc" + '\0' + kFormat + Header("data", 10) + samples)},
        {"only the first data chunk",
         RiffWave(kFormat + Header("data", 2) + "xx" + Header("data", 99) + samples),
         RiffWave(kFormat + Header("data", 2) + "xx" + Header("data", 99) + samples)},
        // A chunk reaching past the end hides the data chunk from SDL too.
        {"behind an overlong chunk", RiffWave(Header("LIST", 20) + Header("data", 50) + samples),
         RiffWave(Header("LIST", 20) + Header("data", 50) + samples)},
        // Lengths near 4 GiB must not wrap the walk back into the file.
        {"behind huge chunks",
         RiffWave(Header("JUNK", 0xFFFFFFFFu) + Header("JUNK", 0xFFFFFFF7u) + Header("data", 50)),
         RiffWave(Header("JUNK", 0xFFFFFFFFu) + Header("JUNK", 0xFFFFFFF7u) + Header("data", 50))},
        {"header cut short", RiffWave(kFormat + "data" + std::string(3, '\xFF')),
         RiffWave(kFormat + "data" + std::string(3, '\xFF'))},
        {"no chunks", RiffWave(""), RiffWave("")},
    };
    for (const Case& c : cases) {
        std::string bytes = c.before;
        ClampDataChunkLength(bytes);
        EXPECT_EQ(bytes, c.after) << c.name;
    }
}

TEST(SdlWaveFileTest, ReportsTheRateAndLengthSdlWillUse) {
    const std::string samples(10, 'x');
    struct Case {
        const char* name;
        std::string bytes;
        uint32_t rate;
        uint32_t dataBytes;
    };
    const std::vector<Case> cases = {
        {"plain", RiffWave(Format(11025) + Header("data", 10) + samples), 11025, 10},
        {"clamped", RiffWave(Format(8000) + Header("data", 99) + samples), 8000, 10},
        {"the first format chunk",
         RiffWave(Format(1) + Format(22050) + Header("data", 4) + samples), 1, 4},
        {"a format chunk behind the data is not SDL's",
         RiffWave(Header("data", 2) + "xx" + Format(44100)), 0, 2},
        {"a format chunk too short for the rate",
         RiffWave(Header("fmt ", 6) + std::string(6, '\1') + Header("data", 2) + "xx"), 0, 2},
        {"a format chunk cut inside its rate", RiffWave(Header("fmt ", 16) + std::string(6, '\1')),
         0, 0},
        {"no data chunk", RiffWave(Format(22050)), 22050, 0},
    };
    for (const Case& c : cases) {
        std::string bytes = c.bytes;
        const WaveChunks chunks = ClampDataChunkLength(bytes);
        EXPECT_EQ(chunks.sampleRate, c.rate) << c.name;
        EXPECT_EQ(chunks.dataBytes, c.dataBytes) << c.name;
    }
}

TEST(SdlWaveFileTest, ReadingFailsNamingTheFileOrGivesTheClampedBytes) {
    TempDir dir;
    const auto path = [&](const std::string& name) { return (dir.Path() / name).string(); };
    WriteFile(path("cut.wav"), RiffWave(kFormat + Header("data", 1000) + "abcd"));
    WriteFile(path("text.wav"), "not a wave file at all");
    WriteFile(path("empty.wav"), "");
    // The rates a sound buffer takes, each side of both ends.
    for (const uint32_t rate : {99u, 100u, 176400u, 192000u, 384000u, 384001u}) {
        WriteFile(path("rate" + std::to_string(rate) + ".wav"),
                  RiffWave(Format(rate) + Header("data", 2) + "ab"));
    }

    const WaveFile cut = ReadWaveFile(path("cut.wav"));
    EXPECT_EQ(cut.bytes, RiffWave(kFormat + Header("data", 4) + "abcd"));
    EXPECT_EQ(cut.chunks.dataBytes, 4u);
    EXPECT_EQ(ReadWaveFile(path("rate100.wav")).chunks.sampleRate, 100u);
    for (const uint32_t rate : {176400u, 192000u, 384000u}) {
        EXPECT_EQ(ReadWaveFile(path("rate" + std::to_string(rate) + ".wav")).chunks.sampleRate,
                  rate);
    }
    for (const char* name :
         {"missing.wav", "text.wav", "empty.wav", "rate99.wav", "rate384001.wav"}) {
        try {
            ReadWaveFile(path(name));
            ADD_FAILURE() << name << " was read";
        } catch (const SystemFailure& failure) {
            EXPECT_EQ(std::string(failure.what()).rfind(path(name) + ": ", 0), 0u)
                << failure.what();
        }
    }
}

}  // namespace
}  // namespace platform
