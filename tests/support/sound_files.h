#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "support/test_files.h"
#include "writers/wav_writer.h"

namespace testing_support {
// The wave files of the sound bank, in slot order.
inline constexpr const char* kBankFiles[13] = {
    "Ljud/Musik/Fiol.wav", "Ljud/Djur/Hona.wav", "Ljud/Djur/Hona2.wav", "Ljud/Click.wav",
    "Ljud/Missed.wav",     "Ljud/Build0.wav",    "Ljud/Build1.wav",     "Ljud/Build2.wav",
    "Ljud/Build3.wav",     "Ljud/Build4.wav",    "Ljud/Build5.wav",     "Ljud/StartMeny.wav",
    "Ljud/SubMeny.wav"};

// A short valid 22 050 Hz mono 16-bit PCM wave file.
inline std::string TinyWave(int samples = 2205) {
    std::vector<int16_t> pcm(static_cast<size_t>(samples));
    for (int i = 0; i < samples; ++i) pcm[i] = static_cast<int16_t>((i % 50) * 200);
    return writers::EncodeWav(pcm);
}

// Writes every file of the sound bank under `root` (Ljud/...).
inline void WriteSoundBank(const std::filesystem::path& root) {
    for (const char* file : kBankFiles) WriteFile(root / file, TinyWave());
}
}  // namespace testing_support
