#include "platform/sdl/wave_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "sdl_test_support.h"
#include "base/system_failure.h"

namespace platform {
namespace {

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

std::string Riff(const std::string& chunks) {
    return "RIFF" + LE32(static_cast<uint32_t>(4 + chunks.size())) + "WAVE" + chunks;
}

// A format chunk whose sample rate is `rate`.
std::string Format(uint32_t rate) {
    return Header("fmt ", 16) + std::string(4, '\1') + LE32(rate) + std::string(8, '\1');
}

const std::string kFormat = Format(22050);

TEST(WaveFileTest, RecognisesOnlyRiffWaveFiles) {
    struct Case {
        std::string bytes;
        bool wave;
    };
    const std::vector<Case> cases = {
        {Riff(""), true},
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

TEST(WaveFileTest, ClampsTheFirstDataChunkToTheBytesThatFollow) {
    const std::string samples(10, 'x');
    struct Case {
        const char* name;
        std::string before;
        std::string after;
    };
    const std::vector<Case> cases = {
        {"longer than the file", Riff(kFormat + Header("data", 0xFFFFFF00u) + samples),
         Riff(kFormat + Header("data", 10) + samples)},
        {"one byte too long", Riff(kFormat + Header("data", 11) + samples),
         Riff(kFormat + Header("data", 10) + samples)},
        {"exact", Riff(kFormat + Header("data", 10) + samples),
         Riff(kFormat + Header("data", 10) + samples)},
        {"shorter, bytes after it", Riff(kFormat + Header("data", 4) + samples),
         Riff(kFormat + Header("data", 4) + samples)},
        {"nothing after the header", Riff(kFormat + Header("data", 100)),
         Riff(kFormat + Header("data", 0))},
        {"after an odd chunk and its pad byte",
         Riff(Header("LIST", 3) + "abc" + '\0' + kFormat + Header("data", 50) + samples),
         Riff(Header("LIST", 3) + "abc" + '\0' + kFormat + Header("data", 10) + samples)},
        {"only the first data chunk",
         Riff(kFormat + Header("data", 2) + "xx" + Header("data", 99) + samples),
         Riff(kFormat + Header("data", 2) + "xx" + Header("data", 99) + samples)},
        // A chunk reaching past the end hides the data chunk from SDL too.
        {"behind an overlong chunk", Riff(Header("LIST", 20) + Header("data", 50) + samples),
         Riff(Header("LIST", 20) + Header("data", 50) + samples)},
        // Lengths near 4 GiB must not wrap the walk back into the file.
        {"behind huge chunks",
         Riff(Header("JUNK", 0xFFFFFFFFu) + Header("JUNK", 0xFFFFFFF7u) + Header("data", 50)),
         Riff(Header("JUNK", 0xFFFFFFFFu) + Header("JUNK", 0xFFFFFFF7u) + Header("data", 50))},
        {"header cut short", Riff(kFormat + "data" + std::string(3, '\xFF')),
         Riff(kFormat + "data" + std::string(3, '\xFF'))},
        {"no chunks", Riff(""), Riff("")},
    };
    for (const Case& c : cases) {
        std::string bytes = c.before;
        ClampDataChunkLength(bytes);
        EXPECT_EQ(bytes, c.after) << c.name;
    }
}

TEST(WaveFileTest, ReportsTheRateAndLengthSdlWillUse) {
    const std::string samples(10, 'x');
    struct Case {
        const char* name;
        std::string bytes;
        uint32_t rate;
        uint32_t dataBytes;
    };
    const std::vector<Case> cases = {
        {"plain", Riff(Format(11025) + Header("data", 10) + samples), 11025, 10},
        {"clamped", Riff(Format(8000) + Header("data", 99) + samples), 8000, 10},
        {"the first format chunk", Riff(Format(1) + Format(22050) + Header("data", 4) + samples), 1,
         4},
        {"a format chunk behind the data is not SDL's",
         Riff(Header("data", 2) + "xx" + Format(44100)), 0, 2},
        {"a format chunk too short for the rate",
         Riff(Header("fmt ", 6) + std::string(6, '\1') + Header("data", 2) + "xx"), 0, 2},
        {"a format chunk cut inside its rate", Riff(Header("fmt ", 16) + std::string(6, '\1')), 0,
         0},
        {"no data chunk", Riff(Format(22050)), 22050, 0},
    };
    for (const Case& c : cases) {
        std::string bytes = c.bytes;
        const WaveChunks chunks = ClampDataChunkLength(bytes);
        EXPECT_EQ(chunks.sampleRate, c.rate) << c.name;
        EXPECT_EQ(chunks.dataBytes, c.dataBytes) << c.name;
    }
}

TEST(WaveFileTest, ReadingFailsNamingTheFileOrGivesTheClampedBytes) {
    sdl_testing::TempDir dir;
    const auto path = [&](const std::string& name) { return (dir.Path() / name).string(); };
    std::ofstream(path("cut.wav"), std::ios::binary)
        << Riff(kFormat + Header("data", 1000) + "abcd");
    std::ofstream(path("text.wav"), std::ios::binary) << "not a wave file at all";
    std::ofstream(path("empty.wav"), std::ios::binary);
    // The rates a sound buffer takes, each side of both ends.
    for (const uint32_t rate : {99u, 100u, 176400u, 192000u, 384000u, 384001u}) {
        std::ofstream(path("rate" + std::to_string(rate) + ".wav"), std::ios::binary)
            << Riff(Format(rate) + Header("data", 2) + "ab");
    }

    const WaveFile cut = ReadWaveFile(path("cut.wav"));
    EXPECT_EQ(cut.bytes, Riff(kFormat + Header("data", 4) + "abcd"));
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
