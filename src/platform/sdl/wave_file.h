#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// The sample rates a sound buffer may take: every rate studio and consumer recordings use, up to
// 384 kHz. SDL would take any, and stretch a 1 Hz sound 22 050 times over when it converts it for
// the mixer.
inline constexpr uint32_t kLowestSampleRate = 100;
inline constexpr uint32_t kHighestSampleRate = 384000;

// What SDL reads of a wave file's chunks: the first "fmt " chunk and the first "data" chunk.
struct WaveChunks {
    uint32_t sampleRate = 0;  // 0: no format chunk ahead of the data, or one too short to say
    uint32_t dataBytes = 0;   // the data chunk's length, after ClampDataChunkLength
};

// Whether `bytes` open like a RIFF wave file: "RIFF", a length, "WAVE".
bool IsRiffWave(std::string_view bytes);

// SDL reserves as much memory as the first "data" chunk declares before it reads a byte, so a
// file of a few bytes claiming four gigabytes of samples takes four gigabytes. This shortens that
// declared length to the bytes that follow the chunk's header. It walks the chunks as SDL does:
// from byte 12, each one eight header bytes plus its length, padded to an even length. A file cut
// short keeps playing what it holds, as before.
WaveChunks ClampDataChunkLength(std::string& bytes);

struct WaveFile {
    std::string bytes;  // the whole file, with the data chunk's length clamped
    WaveChunks chunks;
};

// Fails with SystemFailure naming the file when it cannot be read, is not a RIFF wave file (only
// wave files are sounds, whatever else SDL_mixer could decode) or gives a sample rate outside
// kLowestSampleRate to kHighestSampleRate.
WaveFile ReadWaveFile(const std::string& path);

}  // namespace platform
