#include "platform/sdl/wave_decode.h"

#include <SDL.h>

#include <limits>

#include "base/system_failure.h"
#include "platform/sdl/wave_file.h"

namespace platform {

void DecodeWaveFile(const std::string& nativePath) {
    const WaveFile wave = ReadWaveFile(nativePath);
    if (wave.bytes.size() > static_cast<size_t>(std::numeric_limits<int>::max())) {
        Fail(nativePath + ": the sound is too long");
    }
    SDL_RWops* source = SDL_RWFromConstMem(wave.bytes.data(), static_cast<int>(wave.bytes.size()));
    if (source == nullptr) {
        Fail(nativePath + ": " + SDL_GetError());
    }
    SDL_AudioSpec spec{};
    Uint8* samples = nullptr;
    Uint32 length = 0;
    if (SDL_LoadWAV_RW(source, 1, &spec, &samples, &length) == nullptr) {
        Fail(nativePath + ": not a playable wave file (" + SDL_GetError() + ")");
    }
    SDL_FreeWAV(samples);
    const Uint32 frameBytes = SDL_AUDIO_BITSIZE(spec.format) / 8 * spec.channels;
    if (frameBytes == 0 || length < frameBytes) {
        Fail(nativePath + ": the sound holds no samples");
    }
}

}  // namespace platform
