#include "platform/sdl/alsa_messages.h"

#include <SDL.h>

namespace platform {

namespace {

// The shape of ALSA's snd_lib_error_handler_t.
void DropAlsaMessage(const char* /*file*/, int /*line*/, const char* /*function*/, int /*error*/,
                     const char* /*format*/, ...) {}

}  // namespace

void SilenceAlsaMessages() {
    // Looked up at run time, so the program needs no ALSA headers or library to build; the
    // library stays loaded for the rest of the run so that the handler does too.
    static const bool done = [] {
        void* library = SDL_LoadObject("libasound.so.2");
        if (library == nullptr) {
            SDL_ClearError();
            return true;
        }
        using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
        using SetHandler = int (*)(Handler);
        auto setHandler =
            reinterpret_cast<SetHandler>(SDL_LoadFunction(library, "snd_lib_error_set_handler"));
        if (setHandler != nullptr) {
            setHandler(&DropAlsaMessage);
        }
        SDL_ClearError();
        return true;
    }();
    (void)done;
}

}  // namespace platform
