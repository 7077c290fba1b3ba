// Not built yet: sound stays off.
#include "sound/dsound.h"

namespace DSound {
std::unique_ptr<platform::SoundDevice> soundDevice;
bool soundEnabled = false;
std::vector<SoundSlot> soundSlots;
bool InitSound() { return false; }
int16_t LoadSound(const std::string&, bool, bool, bool, bool, bool, bool, bool) { return 0; }
void PlaySound(int16_t) {}
void StopAllSounds() {}
int16_t GetSoundStatus(int16_t) { return 0; }
void ReleaseSound(int16_t) {}
void ReleaseAllSounds() {}
void ResetModule() {}
}  // namespace DSound
