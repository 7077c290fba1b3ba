#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// RIFF wave files: whole PCM files, and the chunks to build broken or unusual ones from.
namespace writers {

struct WaveFormat {
    int tag = 1;  // 1: PCM
    int channels = 1;
    int rate = 22050;
    int bits = 16;
};

// A chunk: its id, its length, `body`, and a pad byte after an odd body.
std::string WaveChunk(std::string_view id, std::string_view body);
// The "fmt " chunk of `format` (16 bytes of fields).
std::string WaveFormatChunk(const WaveFormat& format);
// "RIFF", the length, "WAVE", then `chunks`.
std::string RiffWave(std::string_view chunks);

// A whole PCM file of 16-bit samples (channels interleaved).
std::string EncodeWav(const std::vector<int16_t>& samples, int rate = 22050, int channels = 1);
// A whole PCM file of `frames` frames of a quiet 440 Hz tone at 8 or 16 bits.
std::string ToneWav(const WaveFormat& format, int frames);

}  // namespace writers
