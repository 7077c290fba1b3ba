#include "support/sound_files.h"

#include <cstdint>

#include "support/test_files.h"

namespace testing_support {

const char* const kBankFiles[13] = {
    "Ljud/Musik/Fiol.wav", "Ljud/Djur/Hona.wav", "Ljud/Djur/Hona2.wav", "Ljud/Click.wav",
    "Ljud/Missed.wav",     "Ljud/Build0.wav",    "Ljud/Build1.wav",     "Ljud/Build2.wav",
    "Ljud/Build3.wav",     "Ljud/Build4.wav",    "Ljud/Build5.wav",     "Ljud/StartMeny.wav",
    "Ljud/SubMeny.wav"};

std::string TinyWave(int samples) {
    std::string bytes;
    auto put32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    auto put16 = [&](uint16_t v) {
        bytes.push_back(static_cast<char>(v & 0xFF));
        bytes.push_back(static_cast<char>(v >> 8));
    };
    const uint32_t dataSize = static_cast<uint32_t>(samples) * 2;
    bytes += "RIFF";
    put32(36 + dataSize);
    bytes += "WAVEfmt ";
    put32(16);
    put16(1);
    put16(1);
    put32(22050);
    put32(44100);
    put16(2);
    put16(16);
    bytes += "data";
    put32(dataSize);
    for (int i = 0; i < samples; ++i) {
        put16(static_cast<uint16_t>((i % 50) * 200));
    }
    return bytes;
}

void WriteSoundBank(const std::filesystem::path& root) {
    for (const char* file : kBankFiles) {
        WriteFile(root / file, TinyWave());
    }
}

}  // namespace testing_support
