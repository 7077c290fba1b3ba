#include "platform/sdl/sdl_sound_system.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "base/system_failure.h"
#include "platform/portable/sdl_thread_data.h"
#include "platform/sdl/alsa_messages.h"
#include "platform/sdl/wave_file.h"

namespace platform {

// The open audio device, its channels and the sounds loaded on it, shared by the device object
// and every buffer. Closing frees every sound before the device goes, so no buffer can touch a
// closed mixer.
struct MixerSession {
    bool open = false;
    int channels = 0;                  // channels handed out so far
    std::vector<int> freeChannels;     // channels of buffers that are gone
    std::map<int, Mix_Chunk*> sounds;  // by channel

    int Add(Mix_Chunk* chunk) {
        int channel = channels;
        if (!freeChannels.empty()) {
            channel = freeChannels.back();
            freeChannels.pop_back();
        } else {
            if (channel >= Mix_AllocateChannels(-1)) {
                Mix_AllocateChannels(channel < 8 ? 16 : channel * 2);
            }
            ++channels;
            // Reserved, so nothing that asks SDL_mixer for "any free channel" can take it.
            Mix_ReserveChannels(channels);
        }
        sounds[channel] = chunk;
        return channel;
    }

    void Remove(int channel) {
        if (!open) {
            return;
        }
        Mix_HaltChannel(channel);
        Mix_FreeChunk(sounds[channel]);
        sounds.erase(channel);
        freeChannels.push_back(channel);
    }

    void Close() {
        if (!open) {
            return;
        }
        Mix_HaltChannel(-1);
        for (auto& [channel, chunk] : sounds) {
            Mix_FreeChunk(chunk);
        }
        sounds.clear();
        Mix_CloseAudio();
        open = false;
    }
};

namespace {

// Sample frames the mixer fills at a time: about 23 ms at 22 050 Hz, so clicks follow the click.
constexpr int kChunkSamples = 512;

struct MixerSpec {
    int frequency = 0;
    int channels = 0;
    Uint16 format = 0;
};

MixerSpec OpenMixerSpec() {
    MixerSpec spec;
    Mix_QuerySpec(&spec.frequency, &spec.format, &spec.channels);
    return spec;
}

// The bytes of one sample frame in the open mixer's format.
Uint32 MixerFrameBytes() {
    const MixerSpec spec = OpenMixerSpec();
    return static_cast<Uint32>(SDL_AUDIO_BITSIZE(spec.format) / 8 * spec.channels);
}

// SDL_mixer sizes its conversion buffer as the int product of the decoded length and the
// growth of each byte; a long sound at a low rate overflows it, and the sound comes out cut.
// Decoding grows the data at most fourfold (4-bit ADPCM to 16 bits); converting grows each byte at
// most fourfold in depth (8-bit to 32-bit), by the mixer's channel count and by the rate ratio.
bool ConvertsWithinMixerLimits(const WaveChunks& chunks) {
    if (chunks.sampleRate == 0) {
        return true;  // SDL refuses the file itself
    }
    const MixerSpec spec = OpenMixerSpec();
    const uint64_t rateGrowth =
        (static_cast<uint64_t>(spec.frequency) + chunks.sampleRate - 1) / chunks.sampleRate;
    const uint64_t growth = 4 * 4 * static_cast<uint64_t>(spec.channels) * rateGrowth;
    return chunks.dataBytes * growth <= static_cast<uint64_t>(std::numeric_limits<int>::max());
}

// How long a sound plays, in the open mixer's format.
Uint64 PlayingMs(const Mix_Chunk& chunk) {
    const MixerSpec spec = OpenMixerSpec();
    const Uint64 bytesPerSecond = static_cast<Uint64>(MixerFrameBytes()) * spec.frequency;
    return bytesPerSecond == 0 ? 0 : chunk.alen * Uint64{1000} / bytesPerSecond;
}

// The mixer marks a channel done when it mixes the sound's last data: up to one chunk before
// the length has passed since the play (measured with SDL's dummy driver: from 17 ms before it to
// 6 ms after it with 23 ms chunks).
Uint64 MixerChunkMs() {
    const int frequency = OpenMixerSpec().frequency;
    return frequency <= 0 ? 0 : (Uint64{kChunkSamples} * 1000 + frequency - 1) / frequency;
}

class MixerBuffer : public SoundBuffer {
  public:
    MixerBuffer(std::shared_ptr<MixerSession> session, Mix_Chunk* chunk)
        : session_(std::move(session)),
          channel_(session_->Add(chunk)),
          lengthMs_(PlayingMs(*chunk)) {}

    ~MixerBuffer() override { session_->Remove(channel_); }

    // Every play starts at the beginning, so rewinding needs nothing of its own.
    void SetCurrentPosition(int32_t) override {}

    void Play(int32_t flags) override {
        if (!session_->open) {
            return;
        }
        looping_ = (flags & kPlayLooping) != 0;
        playedAt_ = SDL_GetTicks64();
        if (Mix_PlayChannel(channel_, session_->sounds[channel_], looping_ ? -1 : 0) < 0) {
            Fail(std::string("a sound cannot be played: ") + Mix_GetError());
        }
    }

    void Stop() override {
        if (session_->open) {
            Mix_HaltChannel(channel_);
        }
    }

    int32_t GetStatus() override {
        if (!session_->open || Mix_Playing(channel_) == 0) {
            return 0;
        }
        return kSoundStatusPlaying | (looping_ ? kSoundStatusLooping : 0);
    }

    int32_t GetRemainingMs() override {
        if (GetStatus() == 0) {
            return 0;
        }
        if (looping_) {
            return kSoundPlaysOn;
        }
        const Uint64 earliestEnd = playedAt_ + lengthMs_ - std::min(lengthMs_, MixerChunkMs());
        const Uint64 now = SDL_GetTicks64();
        return now >= earliestEnd
                   ? 0
                   : static_cast<int32_t>(std::min<Uint64>(earliestEnd - now, kSoundPlaysOn - 1));
    }

  private:
    std::shared_ptr<MixerSession> session_;
    int channel_;
    Uint64 lengthMs_;
    Uint64 playedAt_ = 0;
    bool looping_ = false;
};

class MixerDevice : public SoundDevice {
  public:
    explicit MixerDevice(std::shared_ptr<MixerSession> session) : session_(std::move(session)) {}

    void SetCooperativeLevel(int32_t flags) override {
        constexpr int32_t kNormal = 1;
        constexpr int32_t kWritePrimary = 4;
        if (flags < kNormal || flags > kWritePrimary) {
            Fail("the sound device refused the cooperative level " + std::to_string(flags));
        }
    }

    std::unique_ptr<SoundBuffer> CreateSoundBufferFromFile(const std::string& nativePath,
                                                           const SoundBufferDescription&,
                                                           const WaveFormat&) override {
        if (!session_->open) {
            Fail(nativePath + ": the sound device is closed");
        }
        // Loaded from our own copy of the file: checked to be a wave file and unable to make
        // SDL reserve more memory than the file holds (see ReadWaveFile).
        const WaveFile wave = ReadWaveFile(nativePath);
        if (wave.bytes.size() > static_cast<size_t>(std::numeric_limits<int>::max()) ||
            !ConvertsWithinMixerLimits(wave.chunks)) {
            Fail(nativePath + ": the sound is too long");
        }
        SDL_RWops* source =
            SDL_RWFromConstMem(wave.bytes.data(), static_cast<int>(wave.bytes.size()));
        if (source == nullptr) {
            Fail(nativePath + ": " + SDL_GetError());
        }
        Mix_Chunk* chunk = Mix_LoadWAV_RW(source, 1);
        if (chunk == nullptr) {
            Fail(nativePath + ": " + Mix_GetError());
        }
        // SDL_mixer loads a wave without one whole sample frame but refuses to play it, and
        // nothing traps a failure to play: such a sound fails here, where the bank expects it.
        if (chunk->alen < MixerFrameBytes()) {
            Mix_FreeChunk(chunk);
            Fail(nativePath + ": the sound holds no samples");
        }
        return std::make_unique<MixerBuffer>(session_, chunk);
    }

    std::unique_ptr<SoundBuffer> CreateSoundBufferFromResource(const std::string&,
                                                               const std::string& resourceName,
                                                               const SoundBufferDescription&,
                                                               const WaveFormat&) override {
        Fail("no sound resource named " + resourceName + " (the program has no resources)");
    }

  private:
    std::shared_ptr<MixerSession> session_;
};

}  // namespace

SdlSoundSystem::SdlSoundSystem() : session_(std::make_shared<MixerSession>()) {}

SdlSoundSystem::~SdlSoundSystem() {
    Close();
}

std::unique_ptr<SoundDevice> SdlSoundSystem::CreateSoundDevice(const std::string&) {
    GiveBackSdlThreadDataAtThreadEnd();  // the sound device may open beside the first pictures
    if (!session_->open) {
        const bool started = SDL_WasInit(SDL_INIT_AUDIO) == 0;
        if (started) {
            SilenceAlsaMessages();
            if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
                Fail(std::string("no sound device: ") + SDL_GetError());
            }
        }
        if (Mix_OpenAudioDevice(22050, AUDIO_S16SYS, 1, kChunkSamples, nullptr,
                                SDL_AUDIO_ALLOW_ANY_CHANGE) != 0) {
            const std::string why = Mix_GetError();
            if (started) {
                // A silent run keeps no sound system (nor its device watch) running.
                SDL_QuitSubSystem(SDL_INIT_AUDIO);
            }
            Fail("the sound device cannot be opened: " + why);
        }
        session_->open = true;
    }
    return std::make_unique<MixerDevice>(session_);
}

void SdlSoundSystem::Close() {
    session_->Close();
    // Buffers of the closed device keep the closed session; a later device starts afresh.
    session_ = std::make_shared<MixerSession>();
}

}  // namespace platform
