#pragma once

#include <functional>
#include <memory>

#include "platform/display_presentation.h"
#include "platform/performance_counter.h"
#include "platform/picture_decoder.h"
#include "platform/settings_store.h"
#include "platform/sound_device.h"
#include "platform/text_renderer.h"
#include "platform/window_system.h"

namespace platform {

// The platform pieces one run uses: the SDL ones in the program, the headless ones in tests.
struct Services {
    WindowSystem* window = nullptr;
    DisplayPresentation* display = nullptr;
    TextRenderer* text = nullptr;
    SoundSystem* sound = nullptr;
    PictureDecoder* pictures = nullptr;
    PerformanceCounter* counter = nullptr;
    SettingsStore* settings = nullptr;
    // Threads the run may use beside its own for start-up and picture loading, each helper with
    // a decoder of its own; 0 (the tests' default) does everything on the calling thread, in
    // order.
    unsigned helperThreads = 0;
    std::function<std::unique_ptr<PictureDecoder>()> newPictureDecoder;
};

// The services installed for this run; installing replaces the previous set.
void Install(const Services& services);
const Services& Current();

}  // namespace platform
