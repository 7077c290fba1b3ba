#pragma once

namespace platform {

// ALSA writes a line to stderr for every step of a device search that fails: eight lines at the
// start of every run on a machine without a sound card, where the run is simply silent. This
// hands ALSA a handler that drops those lines, before SDL's sound system first uses the library
// (SDL loads the same shared library, so the handler is the one it sees). Failures still reach
// the program through the calls that failed. Does nothing where ALSA is not installed; calling
// it again does nothing more.
void SilenceAlsaMessages();

}  // namespace platform
