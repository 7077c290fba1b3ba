#pragma once

#include <memory>

#include "platform/sound_device.h"

namespace platform {

struct MixerSession;

// The sound device on SDL_mixer. Every buffer plays on a mixer channel of its own, so a buffer
// restarts itself when played again and all buffers mix. The audio device stays open until
// Close (or the system goes); buffers that outlive it fall silent.
class SdlSoundSystem : public SoundSystem {
  public:
    SdlSoundSystem();
    ~SdlSoundSystem() override;
    SdlSoundSystem(const SdlSoundSystem&) = delete;
    SdlSoundSystem& operator=(const SdlSoundSystem&) = delete;

    // Opens the audio device (22 050 Hz, 16-bit mono, or what the device prefers; SDL_mixer
    // converts). A device that cannot be opened throws SystemFailure.
    std::unique_ptr<SoundDevice> CreateSoundDevice(const std::string& deviceId) override;
    int32_t CreateEvent() override { return nextEvent_++; }

    // Stops every sound and closes the audio device.
    void Close();

  private:
    std::shared_ptr<MixerSession> session_;
    int32_t nextEvent_ = 1;
};

}  // namespace platform
