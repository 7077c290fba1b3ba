// Feeds arbitrary bytes, as a wave file, to the real sound device: SDL_mixer on SDL's dummy audio
// driver, which mixes in real time into nothing. Every input must load or fail with SystemFailure;
// a loaded sound must play once, loop and stop without failing, with the status each of those
// promises, and the buffer must give back everything it took.
#include <SDL.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/sdl/sdl_sound_system.h"
#include "platform/sound_device.h"
#include "base/system_failure.h"

namespace {

struct Harness {
    std::string file = (std::filesystem::temp_directory_path() /
                        ("quillowbee-wave-fuzz-" + std::to_string(::getpid()) + ".wav"))
                           .string();
    platform::SdlSoundSystem sound;
    std::unique_ptr<platform::SoundDevice> device;

    ~Harness() {
        device.reset();
        sound.Close();
        std::remove(file.c_str());
    }
};

Harness* harness = nullptr;

void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "wave loader fuzzer: %s\n", what);
        std::abort();
    }
}

void PlayStopAndCheck(platform::SoundBuffer& buffer) {
    buffer.SetCurrentPosition(0);
    buffer.Play(platform::kPlayOnce);
    // A short sound may already have ended on the mixing thread, but it never reports a loop.
    const int32_t once = buffer.GetStatus();
    Require(once == 0 || once == platform::kSoundStatusPlaying, "a one-shot play reports a loop");

    buffer.SetCurrentPosition(0);
    buffer.Play(platform::kPlayLooping);
    Require(buffer.GetStatus() == (platform::kSoundStatusPlaying | platform::kSoundStatusLooping),
            "a looping sound is not reported playing and looping");

    buffer.Stop();
    Require(buffer.GetStatus() == 0, "a stopped sound still plays");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (SDL_Init(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "wave loader fuzzer: SDL_Init: %s\n", SDL_GetError());
        std::abort();
    }
    harness = new Harness;
    try {
        harness->device = harness->sound.CreateSoundDevice("");
        harness->device->SetCooperativeLevel(2);
    } catch (const SystemFailure& failure) {
        std::fprintf(stderr, "wave loader fuzzer: %s\n", failure.what());
        std::abort();
    }
    // The device goes before SDL, so no mixing thread outlives the sounds it plays.
    std::atexit([] {
        delete harness;
        harness = nullptr;
        SDL_Quit();
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::FILE* out = std::fopen(harness->file.c_str(), "wb");
    Require(out != nullptr, "the input file cannot be written");
    std::fwrite(data, 1, size, out);
    std::fclose(out);

    std::unique_ptr<platform::SoundBuffer> buffer;
    try {
        buffer = harness->device->CreateSoundBufferFromFile(harness->file, {}, {});
    } catch (const SystemFailure&) {
        return 0;
    }
    Require(buffer != nullptr, "a sound loaded without a buffer");
    // Nothing traps failures around playing a loaded sound: one would end the program, so a sound
    // that cannot play must already fail to load.
    try {
        PlayStopAndCheck(*buffer);
    } catch (const SystemFailure& failure) {
        std::fprintf(stderr, "wave loader fuzzer: a loaded sound failed: %s\n", failure.what());
        std::abort();
    }
    buffer.reset();
    return 0;
}
