#include "platform/sdl/sdl_sound_system.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <map>
#include <vector>

#include "platform/sdl/alsa_messages.h"
#include "shell/system_failure.h"

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

class MixerBuffer : public SoundBuffer {
  public:
    MixerBuffer(std::shared_ptr<MixerSession> session, Mix_Chunk* chunk)
        : session_(std::move(session)), channel_(session_->Add(chunk)) {}

    ~MixerBuffer() override { session_->Remove(channel_); }

    // Every play starts at the beginning, so rewinding needs nothing of its own.
    void SetCurrentPosition(int32_t) override {}

    void Play(int32_t flags) override {
        if (!session_->open) {
            return;
        }
        looping_ = (flags & kPlayLooping) != 0;
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

    void SetNotificationPositions(int32_t, int32_t, int32_t) override {}

  private:
    std::shared_ptr<MixerSession> session_;
    int channel_;
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
        Mix_Chunk* chunk = Mix_LoadWAV(nativePath.c_str());
        if (chunk == nullptr) {
            Fail(nativePath + ": " + Mix_GetError());
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
    if (!session_->open) {
        const bool started = SDL_WasInit(SDL_INIT_AUDIO) == 0;
        if (started) {
            SilenceAlsaMessages();
            if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
                Fail(std::string("no sound device: ") + SDL_GetError());
            }
        }
        constexpr int kChunkSamples = 512;  // about 23 ms at 22 050 Hz: clicks follow the click
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
