#include "support/sound_files.h"

#include <cstdint>
#include <vector>

#include "support/test_files.h"
#include "writers/wav_writer.h"

namespace testing_support {

const char* const kBankFiles[13] = {
    "Ljud/Musik/Fiol.wav", "Ljud/Djur/Hona.wav", "Ljud/Djur/Hona2.wav", "Ljud/Click.wav",
    "Ljud/Missed.wav",     "Ljud/Build0.wav",    "Ljud/Build1.wav",     "Ljud/Build2.wav",
    "Ljud/Build3.wav",     "Ljud/Build4.wav",    "Ljud/Build5.wav",     "Ljud/StartMeny.wav",
    "Ljud/SubMeny.wav"};

std::string TinyWave(int samples) {
    std::vector<int16_t> pcm(static_cast<size_t>(samples));
    for (int i = 0; i < samples; ++i) pcm[i] = static_cast<int16_t>((i % 50) * 200);
    return writers::EncodeWav(pcm);
}

void WriteSoundBank(const std::filesystem::path& root) {
    for (const char* file : kBankFiles) {
        WriteFile(root / file, TinyWave());
    }
}

}  // namespace testing_support
