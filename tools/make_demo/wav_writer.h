#pragma once

#include <cstdint>
#include <vector>

namespace make_demo {

constexpr int kSampleRate = 22050;

// A 22 050 Hz mono 16-bit PCM WAV file.
std::vector<uint8_t> EncodeWav(const std::vector<int16_t>& samples);

}  // namespace make_demo
