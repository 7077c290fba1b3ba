#pragma once

#include <memory>

#include "platform/sdl/presentation_options.h"
#include "platform/services.h"

namespace platform {

// The program's SDL platform: starts SDL (video; sound only if it can, else the run is silent),
// owns the window system, presentation, text renderer and sound system, and shuts SDL down
// again when it goes. Free of SDL headers so the program's entry needs none.
class SdlPlatform {
  public:
    // A video system that cannot start throws SystemFailure.
    explicit SdlPlatform(const PresentationOptions& options);
    ~SdlPlatform();
    SdlPlatform(const SdlPlatform&) = delete;
    SdlPlatform& operator=(const SdlPlatform&) = delete;

    WindowSystem& Window();
    DisplayPresentation& Display();
    TextRenderer& Text();
    SoundSystem& Sound();

  private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

}  // namespace platform
