// Sounds on SDL_mixer with SDL's dummy audio driver (it plays in real time into nothing, so
// playing, looping and ending are all observable), and the wave file reading in front of it.
#include <SDL.h>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "base/system_failure.h"
#include "platform/sdl/sdl_sound_system.h"
#include "platform/sdl/wave_file.h"
#include "support/child_process.h"
#include "support/test_files.h"
#include "writers/bytes.h"
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
    // "loaded" (and then loops as a buffer promises) or "failed" with a SystemFailure naming the
    // file; any other exception fails the test.
    std::string Replay(const fs::path& file) {
        try {
            const auto buffer = Load(file);
            buffer->Play(kPlayLooping);
            EXPECT_EQ(buffer->GetStatus(), kLooping) << file;
            return "loaded";
        } catch (const SystemFailure& failure) {
            EXPECT_NE(std::string(failure.what()).find(file.string()), std::string::npos)
                << failure.what();
            return "failed";
        }
    }

    testing_support::ScopedEnv driver_{"SDL_AUDIODRIVER", "dummy"};
    TempDir dir_;
    SdlSoundSystem sound_;
    std::unique_ptr<SoundDevice> device_;
};

// A closed device falls silent, and resources (none are built in) fail.
TEST_F(SdlSoundTest, PlayOnceLoopStopAndCloseReportTheirStatus) {
    auto buffer = Load("long.wav");
    EXPECT_EQ(buffer->GetStatus(), 0);
    EXPECT_EQ(buffer->GetRemainingMs(), 0);
    buffer->Play(kPlayOnce);
    EXPECT_EQ(buffer->GetStatus(), kSoundStatusPlaying);
    // Three seconds, less the mixer's 23 ms chunk by which the end may be reported early.
    EXPECT_LE(buffer->GetRemainingMs(), 3000 - 23);
    buffer->SetCurrentPosition(0);
    buffer->Play(kPlayLooping);
    EXPECT_EQ(buffer->GetStatus(), kLooping);
    EXPECT_EQ(buffer->GetRemainingMs(), kSoundPlaysOn);
    buffer->Stop();
    EXPECT_EQ(buffer->GetStatus(), 0);
    EXPECT_EQ(buffer->GetRemainingMs(), 0);
    buffer->Play(kPlayOnce);  // looping no longer reported after a one-shot play
    EXPECT_EQ(buffer->GetStatus(), kSoundStatusPlaying);
    EXPECT_LE(buffer->GetRemainingMs(), 3000 - 23);

    auto shortSound = Load("short.wav");
    auto loop = Load("short.wav");
    shortSound->Play(kPlayOnce);
    loop->Play(kPlayLooping);
    EXPECT_TRUE(testing_support::WaitUntil([&] { return shortSound->GetStatus() == 0; }, 10s));
    EXPECT_EQ(shortSound->GetRemainingMs(), 0);
    EXPECT_EQ(loop->GetStatus(), kLooping);

    EXPECT_THROW(device_->CreateSoundBufferFromResource("", "CLICK", {}, {}), SystemFailure);
    sound_.Close();
    EXPECT_EQ(loop->GetStatus(), 0);
    EXPECT_EQ(loop->GetRemainingMs(), 0);
    loop->Play(kPlayOnce);
    EXPECT_EQ(loop->GetStatus(), 0);
    EXPECT_THROW(Load("long.wav"), SystemFailure);
    loop.reset();  // after the device is gone: must not touch the mixer
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
    for (int i = 0; i < 20; ++i)
        EXPECT_TRUE(!buffers[i] || buffers[i]->GetStatus() == (i == 3 ? 0 : kLooping)) << i;
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
    std::map<std::string, std::string> outcomes;
    for (const fs::path& folder : {corpus, dir_.Path()})
        for (const fs::directory_entry& entry : fs::directory_iterator(folder))
            outcomes[entry.path().filename().string()] = Replay(entry.path());
    // clang-format off
    const std::pair<const char*, std::vector<std::string>> known[] = {
        {"loaded", {"pcm24_mono_22050.wav", "float32_mono_22050.wav", "mulaw_mono_8000.wav", "ms_adpcm_mono_22050.wav",
                    "rate_100hz.wav", "truncated_data.wav", "oom_data_chunk_claims_4gib.wav", "shorter.wav", "stereo8_44100.wav"}},
        {"failed", {"rate_1hz.wav", "truncated_header.wav", "less_than_a_frame.wav", "wrong_fmt_no_channels.wav", "no_fmt.wav", "too_long_to_convert.wav"}}};
    // clang-format on
    for (const auto& [outcome, names] : known)
        for (const std::string& name : names) EXPECT_EQ(outcomes[name], outcome) << name;
}

// A chunk header that may claim any length.
std::string Header(std::string id, uint32_t length) {
    writers::PutLittleEndian(id, length, 4);
    return id;
}

std::string Format(int rate) {
    return writers::WaveFormatChunk({.rate = rate});
}

const std::string kFormat = Format(22050);

TEST(SdlWaveFileTest, RecognisesOnlyRiffWaveFiles) {
    // Cut inside the form type, big-endian RIFF, another RIFF form, what SDL_mixer would also take.
    // clang-format off
    const std::pair<std::string, bool> cases[] = {{RiffWave(""), true}, {Header("RIFF", 0) + "WAVE", true},
        {Header("RIFF", 4) + "WAV", false}, {Header("RIFX", 4) + "WAVE", false}, {Header("RIFF", 4) + "AVI ", false},
        {Header("FORM", 4) + "AIFF", false}, {"", false}};
    // clang-format on
    for (const auto& [bytes, wave] : cases) EXPECT_EQ(IsRiffWave(bytes), wave) << bytes;
}

// The first data chunk is clamped to the bytes that follow it, as SDL would read it; the rate is
// that of the first format chunk before it.
TEST(SdlWaveFileTest, ClampsTheFirstDataChunkAndReportsWhatSdlWillUse) {
    const std::string s(10, 'x');
    const std::string data10 = Header("data", 10) + s;
    struct Case {
        const char* name;
        std::string before;
        std::string after;  // "" when unchanged
        uint32_t rate;
        uint32_t dataBytes;
    } const cases[] = {
        // clang-format off
        {"longer than the file", RiffWave(kFormat + Header("data", 0xFFFFFF00u) + s), RiffWave(kFormat + data10), 22050, 10},
        {"one byte too long", RiffWave(kFormat + Header("data", 11) + s), RiffWave(kFormat + data10), 22050, 10},
        {"exact", RiffWave(kFormat + data10), "", 22050, 10},
        {"shorter, bytes after it", RiffWave(kFormat + Header("data", 4) + s), "", 22050, 4},
        {"nothing after the header", RiffWave(kFormat + Header("data", 100)), RiffWave(kFormat + Header("data", 0)), 22050, 0},
        {"after an odd chunk and its pad byte", RiffWave(Header("LIST", 3) + "abc" + '\0' + Format(8000) + Header("data", 50) + s),
         RiffWave(Header("LIST", 3) + "abc" + '\0' + Format(8000) + data10), 8000, 10},
        {"only the first data chunk", RiffWave(kFormat + Header("data", 2) + "xx" + Header("data", 99) + s), "", 22050, 2},
        // A chunk reaching past the end hides the data chunk from SDL too.
        {"behind an overlong chunk", RiffWave(Header("LIST", 20) + data10), "", 0, 0},
        // Lengths near 4 GiB must not wrap the walk back into the file.
        {"behind huge chunks", RiffWave(Header("JUNK", 0xFFFFFFFFu) + Header("JUNK", 0xFFFFFFF7u) + Header("data", 50)), "", 0, 0},
        {"header cut short", RiffWave(kFormat + "data" + std::string(3, '\xFF')), "", 22050, 0},
        {"no chunks", RiffWave(""), "", 0, 0},
        {"the first format chunk", RiffWave(Format(1) + kFormat + Header("data", 4) + s), "", 1, 4},
        {"a format chunk behind the data is not SDL's", RiffWave(Header("data", 2) + "xx" + Format(44100)), "", 0, 2},
        {"a format chunk too short for the rate", RiffWave(Header("fmt ", 6) + std::string(6, '\1') + Header("data", 2) + "xx"), "", 0, 2},
        {"a format chunk cut inside its rate", RiffWave(Header("fmt ", 16) + std::string(6, '\1')), "", 0, 0},
        // clang-format on
    };
    for (const Case& c : cases) {
        std::string bytes = c.before;
        const WaveChunks chunks = ClampDataChunkLength(bytes);
        EXPECT_EQ(bytes, c.after.empty() ? c.before : c.after) << c.name;
        EXPECT_EQ(chunks.sampleRate, c.rate) << c.name;
        EXPECT_EQ(chunks.dataBytes, c.dataBytes) << c.name;
    }
}

TEST(SdlWaveFileTest, ReadingFailsNamingTheFileOrGivesTheClampedBytes) {
    TempDir dir;
    WriteFile(dir / "cut.wav", RiffWave(kFormat + Header("data", 1000) + "abcd"));
    const WaveFile cut = ReadWaveFile((dir / "cut.wav").string());
    EXPECT_EQ(cut.bytes, RiffWave(kFormat + Header("data", 4) + "abcd"));
    EXPECT_EQ(cut.chunks.dataBytes, 4u);
    // Files not read (rate 0): missing, not a wave, and the rates a sound buffer does not take.
    const auto rated = [](int rate) { return RiffWave(Format(rate) + Header("data", 2) + "ab"); };
    const std::pair<std::optional<std::string>, uint32_t> files[] = {
        {std::nullopt, 0},       {"not a wave file", 0}, {"", 0},
        {rated(99), 0},          {rated(100), 100},      {rated(192000), 192000},
        {rated(384000), 384000}, {rated(384001), 0}};
    for (size_t i = 0; i < std::size(files); ++i) {
        const std::string file = (dir / ("file" + std::to_string(i) + ".wav")).string();
        if (files[i].first) WriteFile(file, *files[i].first);
        try {
            EXPECT_EQ(ReadWaveFile(file).chunks.sampleRate, files[i].second) << file;
            EXPECT_NE(files[i].second, 0u) << file << " was read";
        } catch (const SystemFailure& failure) {
            EXPECT_EQ(files[i].second, 0u) << failure.what();
            EXPECT_EQ(std::string(failure.what()).rfind(file + ": ", 0), 0u) << failure.what();
        }
    }
}
}  // namespace
}  // namespace platform
