#include "platform/sdl/wave_file.h"

#include <fstream>
#include <iterator>

#include "base/system_failure.h"

namespace platform {

namespace {

constexpr size_t kFirstChunk = 12;
constexpr size_t kChunkHeader = 8;
constexpr size_t kRateInFormat = 4;  // after the format tag and the channel count

uint32_t ReadLE32(std::string_view bytes, size_t at) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) {
        value |= uint32_t{static_cast<unsigned char>(bytes[at + i])} << (8 * i);
    }
    return value;
}

void WriteLE32(std::string& bytes, size_t at, uint32_t value) {
    for (size_t i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

}  // namespace

bool IsRiffWave(std::string_view bytes) {
    return bytes.size() >= kFirstChunk && bytes.substr(0, 4) == "RIFF" &&
           bytes.substr(8, 4) == "WAVE";
}

WaveChunks ClampDataChunkLength(std::string& bytes) {
    WaveChunks chunks;
    bool format = false;
    // 64-bit positions: a chain of chunks of nearly 4 GiB each cannot wrap around.
    uint64_t at = kFirstChunk;
    while (at + kChunkHeader <= bytes.size()) {
        const auto header = static_cast<size_t>(at);
        const std::string_view id = std::string_view(bytes).substr(header, 4);
        const uint32_t length = ReadLE32(bytes, header + 4);
        const uint64_t held = bytes.size() - (at + kChunkHeader);
        if (id == "fmt " && !format) {
            format = true;
            if (length >= kRateInFormat + 4 && held >= kRateInFormat + 4) {
                chunks.sampleRate = ReadLE32(bytes, header + kChunkHeader + kRateInFormat);
            }
        } else if (id == "data") {
            chunks.dataBytes = length;
            if (length > held) {
                chunks.dataBytes = static_cast<uint32_t>(held);
                WriteLE32(bytes, header + 4, chunks.dataBytes);
            }
            return chunks;
        }
        at += kChunkHeader + length + (length & 1);
    }
    return chunks;
}

WaveFile ReadWaveFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        Fail(path + ": the sound file cannot be opened");
    }
    WaveFile wave;
    wave.bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (file.bad()) {
        Fail(path + ": the sound file cannot be read");
    }
    if (!IsRiffWave(wave.bytes)) {
        Fail(path + ": not a wave file (no RIFF WAVE header)");
    }
    wave.chunks = ClampDataChunkLength(wave.bytes);
    // A missing rate is left to SDL, which names what is wrong with the format chunk.
    const uint32_t rate = wave.chunks.sampleRate;
    if (rate != 0 && (rate < kLowestSampleRate || rate > kHighestSampleRate)) {
        Fail(path + ": the sample rate " + std::to_string(rate) + " Hz is out of range");
    }
    return wave;
}

}  // namespace platform
