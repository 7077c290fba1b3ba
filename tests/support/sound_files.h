#pragma once

#include <filesystem>
#include <string>

namespace testing_support {

// The wave files of the sound bank, in slot order.
extern const char* const kBankFiles[13];

// A short valid 22 050 Hz mono 16-bit PCM wave file.
std::string TinyWave(int samples = 2205);

// Writes every file of the sound bank under `root` (Ljud/...).
void WriteSoundBank(const std::filesystem::path& root);

}  // namespace testing_support
