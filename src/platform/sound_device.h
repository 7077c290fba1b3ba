#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace platform {

// Buffer description and wave format as the sound bank passes them.
struct SoundBufferDescription {
    int32_t flags = 0;  // 256 notification, 32 frequency, 64 pan, 128 volume
};
struct WaveFormat {
    int16_t formatTag = 1;
    int16_t channels = 1;
    int32_t samplesPerSecond = 22050;
    int16_t bitsPerSample = 16;
    int16_t blockAlign = 2;
    int32_t averageBytesPerSecond = 44100;
};

inline constexpr int32_t kSoundStatusPlaying = 1;
inline constexpr int32_t kSoundStatusLooping = 4;
inline constexpr int32_t kPlayOnce = 0;
inline constexpr int32_t kPlayLooping = 1;
// The remaining time of a sound that nothing ends but a stop: a looping one.
inline constexpr int32_t kSoundPlaysOn = INT32_MAX;

// One static sound buffer holding a whole sound.
class SoundBuffer {
  public:
    virtual ~SoundBuffer() = default;
    virtual void SetCurrentPosition(int32_t position) = 0;
    virtual void Play(int32_t flags) = 0;
    virtual void Stop() = 0;
    virtual int32_t GetStatus() = 0;  // 1 playing, 4 looping, 0 silent
    // Milliseconds before which a sound playing once cannot fall silent by itself: 0 when it is
    // silent or may end any moment, kSoundPlaysOn while it loops. A device may report the end
    // somewhat after this.
    virtual int32_t GetRemainingMs() = 0;
};

// A sound device: every buffer it creates plays on its own, and all of them mix together.
// Every failure throws SystemFailure.
class SoundDevice {
  public:
    virtual ~SoundDevice() = default;
    virtual void SetCooperativeLevel(int32_t flags) = 0;  // 2: priority level
    virtual std::unique_ptr<SoundBuffer> CreateSoundBufferFromFile(
        const std::string& nativePath, const SoundBufferDescription& description,
        const WaveFormat& format) = 0;
    virtual std::unique_ptr<SoundBuffer> CreateSoundBufferFromResource(
        const std::string& moduleName, const std::string& resourceName,
        const SoundBufferDescription& description, const WaveFormat& format) = 0;
};

// The root object: creates the device and notification events.
class SoundSystem {
  public:
    virtual ~SoundSystem() = default;
    virtual std::unique_ptr<SoundDevice> CreateSoundDevice(const std::string& deviceId) = 0;
    virtual int32_t CreateEvent() = 0;
};

}  // namespace platform
