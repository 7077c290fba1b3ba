#include "platform/portable/sdl_thread_data.h"

#include <SDL.h>

namespace platform {

void GiveBackSdlThreadDataAtThreadEnd() {
    struct GiveBack {
        ~GiveBack() { SDL_TLSCleanup(); }
    };
    thread_local GiveBack giveBack;
    static_cast<void>(giveBack);
}

}  // namespace platform
