#pragma once

#include <SDL.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/sdl/instance_lock.h"
#include "platform/sdl/sdl_presentation.h"
#include "platform/window_system.h"

namespace platform {

// The window's input, pointer and single-instance lock on SDL. The window itself belongs to the
// presentation, which creates it when the program takes the screen; until then the pointer is
// only remembered. Positions are picture coordinates: events carry window coordinates, which the
// presentation's letterbox turns into picture pixels; a position on a black bar reads as the
// nearest picture pixel.
class SdlWindowSystem : public WindowSystem {
  public:
    explicit SdlWindowSystem(SdlPresentation& presentation);
    ~SdlWindowSystem() override;
    SdlWindowSystem(const SdlWindowSystem&) = delete;
    SdlWindowSystem& operator=(const SdlWindowSystem&) = delete;

    // Takes the per-user lock on the first call and keeps it for the whole run.
    bool IsPreviousInstance() override;
    void ShowWindow() override;
    void SetPointerShape(int16_t shape) override;
    Point GetCursorPos() override;
    void SetCursorPos(int32_t x, int32_t y) override;
    void Yield(EventSink& sink) override;

  private:
    Point Clamp(int32_t x, int32_t y) const;
    void Deliver(const SDL_Event& event, EventSink& sink);
    // The pointer in picture coordinates at a drop, which SDL's drop events do not carry.
    Point PointerAtDrop();

    SdlPresentation& presentation_;
    std::unique_ptr<InstanceLock> lock_;
    SDL_Cursor* arrow_ = nullptr;
    SDL_Cursor* hourglass_ = nullptr;
    Point pointer_{};
    bool readyLogged_ = false;
    std::vector<std::string> dropped_;  // the files of the drop in progress
};

}  // namespace platform
