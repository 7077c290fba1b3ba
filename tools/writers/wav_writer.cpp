#include "wav_writer.h"

#include <cmath>
#include <numbers>

#include "bytes.h"

namespace writers {

std::string WaveChunk(std::string_view id, std::string_view body) {
    std::string out(id);
    PutLittleEndian(out, static_cast<uint32_t>(body.size()), 4);
    out += body;
    if (body.size() % 2 != 0) out.push_back('\0');  // chunks start on even offsets
    return out;
}

std::string WaveFormatChunk(const WaveFormat& f) {
    const int block = f.channels * ((f.bits + 7) / 8);
    std::string body;
    PutLittleEndian(body, static_cast<uint32_t>(f.tag), 2);
    PutLittleEndian(body, static_cast<uint32_t>(f.channels), 2);
    PutLittleEndian(body, static_cast<uint32_t>(f.rate), 4);
    PutLittleEndian(body, static_cast<uint32_t>(f.rate * block), 4);
    PutLittleEndian(body, static_cast<uint32_t>(block), 2);
    PutLittleEndian(body, static_cast<uint32_t>(f.bits), 2);
    return WaveChunk("fmt ", body);
}

std::string RiffWave(std::string_view chunks) {
    std::string out = "RIFF";
    PutLittleEndian(out, static_cast<uint32_t>(4 + chunks.size()), 4);
    out += "WAVE";
    out += chunks;
    return out;
}

std::string EncodeWav(const std::vector<int16_t>& samples, int rate, int channels) {
    std::string data;
    data.reserve(samples.size() * 2);
    for (int16_t s : samples) PutLittleEndian(data, static_cast<uint16_t>(s), 2);
    return RiffWave(WaveFormatChunk({1, channels, rate, 16}) + WaveChunk("data", data));
}

std::string ToneWav(const WaveFormat& f, int frames) {
    std::string data;
    for (int i = 0; i < frames; ++i) {
        const double wave = 0.25 * std::sin(2 * std::numbers::pi * 440.0 * i / f.rate);
        for (int c = 0; c < f.channels; ++c) {
            if (f.bits == 8) {
                PutLittleEndian(data, static_cast<uint32_t>(128 + std::lround(wave * 127)), 1);
            } else {
                PutLittleEndian(data, static_cast<uint16_t>(std::lround(wave * 32767)), 2);
            }
        }
    }
    return RiffWave(WaveFormatChunk(f) + WaveChunk("data", data));
}

}  // namespace writers
