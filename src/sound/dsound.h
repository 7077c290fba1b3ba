#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/sound_device.h"

// The sound bank: one sound device and a growable array of slots, each loaded whole from one wave
// file. If anything goes wrong while it is set up, sound stays off for the run and every
// operation does nothing.
namespace DSound {

struct SoundSlot {
    std::unique_ptr<platform::SoundBuffer> buffer;
    std::string state = "empty";  // "empty", "stopped", "playing" ("paused" is recognised)
    int32_t notifyEvent = 0;
    bool useVolume = false;
    bool useFrequency = false;
    bool usePan = false;
    bool looping = false;
    bool useNotify = false;
    std::string fileName;
    bool fromFile = false;
    bool fromResource = false;
    bool isFree = true;
};

// Sound numbers of the fixed bank.
inline constexpr int16_t kViolin = 0;
inline constexpr int16_t kHen = 1;
inline constexpr int16_t kHenCall = 2;
inline constexpr int16_t kClick = 3;
inline constexpr int16_t kMissed = 4;
inline constexpr int16_t kFirstBuildSound = 5;
inline constexpr int16_t kLastBuildSound = 10;
inline constexpr int16_t kStartMenuMusic = 11;
inline constexpr int16_t kSubMenuMusic = 12;

// The fixed bank, in slot order: each sound's wave file and whether it loops.
struct BankEntry {
    const char* fileName;
    bool looping;
};
inline constexpr std::array<BankEntry, 13> kBank{{
    {"Ljud\\Musik\\Fiol.wav", true},
    {"Ljud\\Djur\\Hona.wav", true},
    {"Ljud\\Djur\\Hona2.wav", false},
    {"Ljud\\Click.wav", false},
    {"Ljud\\Missed.wav", false},
    {"Ljud\\Build0.wav", false},
    {"Ljud\\Build1.wav", false},
    {"Ljud\\Build2.wav", false},
    {"Ljud\\Build3.wav", false},
    {"Ljud\\Build4.wav", false},
    {"Ljud\\Build5.wav", false},
    {"Ljud\\StartMeny.wav", true},
    {"Ljud\\SubMeny.wav", true},
}};

extern std::unique_ptr<platform::SoundDevice> soundDevice;
extern bool soundEnabled;
extern std::vector<SoundSlot> soundSlots;

// Sets up the device and loads the fixed bank of 13 sounds; False when anything failed.
bool InitSound();
int16_t LoadSound(const std::string& fileName, bool fromFile, bool fromResource, bool useNotify,
                  bool useFrequency, bool usePan, bool useVolume, bool looping);
void PlaySound(int16_t slot);
void StopAllSounds();
int16_t GetSoundStatus(int16_t slot);
// For a caller that plays the sound in `slot` again once it is silent: milliseconds until it may
// have fallen silent by itself. 0 when it is silent now and a play would start it;
// platform::kSoundPlaysOn when nothing ends it (it loops, or the bank plays nothing); otherwise
// the time it has left, and a short step while a device still reports it after that.
int32_t SilentInMs(int16_t slot);
void ReleaseSound(int16_t slot);
void ReleaseAllSounds();

// Back to the state of a new process (tests start every run from here).
void ResetModule();

}  // namespace DSound
