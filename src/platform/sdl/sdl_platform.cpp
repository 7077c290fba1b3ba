#include "platform/sdl/sdl_platform.h"

#include <SDL.h>

#include <string>

#include "platform/sdl/sdl_presentation.h"
#include "platform/sdl/sdl_sound_system.h"
#include "platform/sdl/sdl_text_renderer.h"
#include "platform/sdl/sdl_window_system.h"
#include "base/system_failure.h"

namespace platform {

namespace {
// Owns SDL's initialisation, so it is undone after every part has gone. Sound starts later, when
// the sound bank asks for its device, so a second copy never touches the audio system.
struct SdlInit {
    SdlInit() {
        if (SDL_Init(SDL_INIT_VIDEO) != 0) {
            Fail(std::string("the video system cannot start: ") + SDL_GetError());
        }
    }
    ~SdlInit() { SDL_Quit(); }
};
}  // namespace

struct SdlPlatform::Parts {
    explicit Parts(const PresentationOptions& options)
        : presentation(options), window(presentation) {}
    // Declared in the order of start-up; they go in reverse.
    SdlInit init;
    SdlPresentation presentation;
    SdlWindowSystem window;
    SdlTextRenderer text;
    SdlSoundSystem sound;
};

SdlPlatform::SdlPlatform(const PresentationOptions& options)
    : parts_(std::make_unique<Parts>(options)) {}

SdlPlatform::~SdlPlatform() = default;

WindowSystem& SdlPlatform::Window() {
    return parts_->window;
}
DisplayPresentation& SdlPlatform::Display() {
    return parts_->presentation;
}
TextRenderer& SdlPlatform::Text() {
    return parts_->text;
}
SoundSystem& SdlPlatform::Sound() {
    return parts_->sound;
}

}  // namespace platform
