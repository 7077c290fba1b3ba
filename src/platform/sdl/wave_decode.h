#pragma once

#include <string>

namespace platform {

// Decodes the whole wave file at `nativePath` the way the sound system loads it (the checks of
// ReadWaveFile, then SDL's wave reader) without opening a sound device; safe to call from
// several threads at once. Fails with SystemFailure naming the file when the program could not
// play it: unreadable, not a wave file, a sample rate out of range, undecodable, or not one whole
// sample frame of sound.
void DecodeWaveFile(const std::string& nativePath);

}  // namespace platform
