#include "platform/sdl/sdl_platform.h"

#include <SDL.h>

#include <cstdlib>
#include <string>

#include "base/system_failure.h"
#include "platform/sdl/sdl_presentation.h"
#include "platform/sdl/sdl_sound_system.h"
#include "platform/sdl/sdl_text_renderer.h"
#include "platform/sdl/sdl_window_system.h"

namespace platform {

namespace {
// Owns SDL's initialisation, so it is undone after every part has gone. Sound starts later, when
// the sound bank asks for its device, so a second copy never touches the audio system.
struct SdlInit {
    explicit SdlInit(const PresentationOptions& options) {
        if (options.windowClass != nullptr) {
            // Read by SDL's X11 and Wayland drivers when they create the window.
            setenv("SDL_VIDEO_X11_WMCLASS", options.windowClass, 1);
            setenv("SDL_VIDEO_WAYLAND_WMCLASS", options.windowClass, 1);
        }
        if (SDL_Init(SDL_INIT_VIDEO) != 0) {
            Fail(std::string("the video system cannot start: ") + SDL_GetError());
        }
    }
    ~SdlInit() { SDL_Quit(); }
};
}  // namespace

struct SdlPlatform::Parts {
    explicit Parts(const PresentationOptions& options)
        : init(options), presentation(options), window(presentation) {}
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
