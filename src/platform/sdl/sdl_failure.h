#pragma once

#include <SDL.h>

#include <string>

#include "base/system_failure.h"

namespace platform {

// Fails with what could not be done and SDL's own reason.
[[noreturn]] inline void FailSdl(const std::string& what) {
    Fail(what + ": " + SDL_GetError());
}

}  // namespace platform
