#include "sound/dsound.h"

#include <exception>

#include "base/system_failure.h"
#include "platform/portable/path_resolution.h"
#include "platform/services.h"

namespace DSound {

std::unique_ptr<platform::SoundDevice> soundDevice;
bool soundEnabled = false;
std::vector<SoundSlot> soundSlots;

namespace {

// How often a sound past its length is looked at again until the device reports its end.
constexpr int32_t kEndCheckStepMs = 5;

platform::SoundSystem& Root() {
    platform::SoundSystem* root = platform::Current().sound;
    if (root == nullptr) {
        Fail("there is no sound system");
    }
    return *root;
}

// The slot `slot`, which must be one that exists.
SoundSlot& Slot(int16_t slot) {
    if (slot < 0 || static_cast<size_t>(slot) >= soundSlots.size()) {
        Fail("sound slot " + std::to_string(slot) + " does not exist");
    }
    return soundSlots[static_cast<size_t>(slot)];
}

}  // namespace

bool InitSound() {
    try {
        soundDevice = Root().CreateSoundDevice("");
        soundDevice->SetCooperativeLevel(2);
        soundSlots.clear();
        soundSlots.resize(1);
        for (const BankEntry& entry : kBank) {
            LoadSound(entry.fileName, true, false, false, false, false, false, entry.looping);
        }
        soundEnabled = true;
        return true;
    } catch (const std::exception&) {
        // Sound stays off for the whole run; the rest of the program works unchanged.
        return false;
    }
}

int16_t LoadSound(const std::string& fileName, bool fromFile, bool fromResource, bool useNotify,
                  bool useFrequency, bool usePan, bool useVolume, bool looping) {
    size_t number = 0;
    while (number < soundSlots.size() && !soundSlots[number].isFree) {
        ++number;
    }
    if (number == soundSlots.size()) {
        if (number > 32767) {
            Fail("the sound bank is full");
        }
        soundSlots.emplace_back();
    }
    SoundSlot& slot = soundSlots[number];
    slot.isFree = false;
    slot.fromFile = fromFile;
    slot.fromResource = fromResource;
    slot.fileName = fileName;
    slot.state = "stopped";
    slot.useNotify = useNotify;
    slot.useFrequency = useFrequency;
    slot.looping = looping;
    slot.usePan = usePan;
    slot.useVolume = useVolume;

    platform::SoundBufferDescription description;
    description.flags =
        (useNotify ? 256 : 0) + (useFrequency ? 32 : 0) + (usePan ? 64 : 0) + (useVolume ? 128 : 0);
    const platform::WaveFormat format;  // PCM, mono, 22 050 Hz, 16 bits
    if (fromFile) {
        slot.buffer = soundDevice->CreateSoundBufferFromFile(platform::NativePath(fileName),
                                                             description, format);
    } else if (fromResource) {
        slot.buffer = soundDevice->CreateSoundBufferFromResource("", fileName, description, format);
    }
    if (useNotify) {
        // Nothing in this system listens for a sound's end; the slot keeps its event handle.
        slot.notifyEvent = Root().CreateEvent();
    }
    return static_cast<int16_t>(number);
}

void PlaySound(int16_t slot) {
    if (!soundEnabled) {
        return;
    }
    SoundSlot& s = Slot(slot);
    if (s.isFree || !s.buffer) {
        return;
    }
    if (s.state != "paused") {
        s.buffer->SetCurrentPosition(0);
    }
    s.buffer->Play(s.looping ? platform::kPlayLooping : platform::kPlayOnce);
    s.state = "playing";
}

void StopAllSounds() {
    if (!soundEnabled || soundSlots.empty() || soundSlots[0].isFree) {
        return;
    }
    for (SoundSlot& s : soundSlots) {
        if (s.isFree || !s.buffer) {
            continue;
        }
        s.buffer->Stop();
        s.buffer->SetCurrentPosition(0);
        s.state = "stopped";
    }
}

int16_t GetSoundStatus(int16_t slot) {
    if (!soundEnabled) {
        return 0;
    }
    SoundSlot& s = Slot(slot);
    return s.buffer ? static_cast<int16_t>(s.buffer->GetStatus()) : 0;
}

int32_t SilentInMs(int16_t slot) {
    if (!soundEnabled) {
        return platform::kSoundPlaysOn;
    }
    SoundSlot& s = Slot(slot);
    if (s.isFree || !s.buffer) {
        return platform::kSoundPlaysOn;
    }
    if (s.buffer->GetStatus() == 0) {
        return 0;
    }
    const int32_t left = s.buffer->GetRemainingMs();
    return left > 0 ? left : kEndCheckStepMs;
}

void ReleaseSound(int16_t slot) {
    if (!soundEnabled) {
        return;
    }
    SoundSlot& s = Slot(slot);
    s.buffer.reset();
    s.useVolume = s.useFrequency = s.usePan = s.looping = s.useNotify = false;
    s.fromFile = s.fromResource = false;
    s.notifyEvent = 0;
    s.isFree = true;
    s.fileName.clear();
    s.state = "empty";
}

void ReleaseAllSounds() {
    if (!soundEnabled) {
        return;
    }
    for (size_t i = 0; i < soundSlots.size(); ++i) {
        ReleaseSound(static_cast<int16_t>(i));
    }
}

void ResetModule() {
    soundSlots.clear();
    soundDevice.reset();
    soundEnabled = false;
}

}  // namespace DSound
