#include "platform/sdl/sdl_window_system.h"

#include <algorithm>

#include "platform/sdl/key_codes.h"

namespace platform {

SdlWindowSystem::SdlWindowSystem(SdlPresentation& presentation) : presentation_(presentation) {
    // Closing the window is a request the program answers itself (the exit lock may refuse it);
    // only SIGTERM and SIGINT become SDL_QUIT.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // Files dropped from a file manager arrive as one begin, a file each and one complete.
    SDL_EventState(SDL_DROPBEGIN, SDL_ENABLE);
    SDL_EventState(SDL_DROPFILE, SDL_ENABLE);
    SDL_EventState(SDL_DROPCOMPLETE, SDL_ENABLE);
}

SdlWindowSystem::~SdlWindowSystem() {
    if (arrow_ != nullptr) {
        SDL_FreeCursor(arrow_);
    }
    if (hourglass_ != nullptr) {
        SDL_FreeCursor(hourglass_);
    }
}

bool SdlWindowSystem::IsPreviousInstance() {
    if (!lock_) {
        lock_ = std::make_unique<InstanceLock>();
    }
    return lock_->HeldElsewhere();
}

void SdlWindowSystem::ShowWindow() {
    SDL_Window* window = presentation_.Window();
    if (window == nullptr) {
        return;
    }
    SDL_ShowWindow(window);
    SDL_RaiseWindow(window);
    // Without a window manager nobody else hands out the keyboard focus.
    SDL_SetWindowInputFocus(window);
}

void SdlWindowSystem::SetPointerShape(int16_t shape) {
    SDL_Cursor*& cursor = shape == kPointerHourglass ? hourglass_ : arrow_;
    if (cursor == nullptr) {
        cursor = SDL_CreateSystemCursor(shape == kPointerHourglass ? SDL_SYSTEM_CURSOR_WAIT
                                                                   : SDL_SYSTEM_CURSOR_ARROW);
    }
    if (cursor != nullptr) {
        SDL_SetCursor(cursor);
    }
}

Point SdlWindowSystem::GetCursorPos() {
    return pointer_;
}

void SdlWindowSystem::SetCursorPos(int32_t x, int32_t y) {
    pointer_ = Clamp(x, y);
    SDL_Window* window = presentation_.Window();
    if (window == nullptr) {
        return;
    }
    const Point target = presentation_.WindowFromPicture(pointer_.x, pointer_.y);
    SDL_WarpMouseInWindow(window, target.x, target.y);
}

Point SdlWindowSystem::Clamp(int32_t x, int32_t y) const {
    return {std::clamp(x, 0, presentation_.PictureWidth() - 1),
            std::clamp(y, 0, presentation_.PictureHeight() - 1)};
}

Point SdlWindowSystem::PointerAtDrop() {
    SDL_Window* window = presentation_.Window();
    if (window == nullptr) {
        return pointer_;
    }
    int x = 0, y = 0;
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver != nullptr && SDL_strcmp(driver, "x11") == 0) {
        // During a drag on X11 the window sees no motion: ask the desktop where the pointer is.
        int left = 0, top = 0;
        SDL_GetGlobalMouseState(&x, &y);
        SDL_GetWindowPosition(window, &left, &top);
        x -= left;
        y -= top;
    } else {
        // Elsewhere SDL knows no desktop position; the last one in the window is the best.
        SDL_GetMouseState(&x, &y);
    }
    return presentation_.PictureFromWindow(x, y);
}

void SdlWindowSystem::Yield(EventSink& sink) {
    if (!readyLogged_ && presentation_.Window() != nullptr) {
        readyLogged_ = true;
        presentation_.Log().Milestone("ready");
    }
    SDL_Event event;
    // While the window is minimised or hidden the frame loop only waits for it to come back:
    // sleep until an event arrives (or a moment passes) instead of spinning a core.
    if (presentation_.TestCooperativeLevel() != 0 && SDL_WaitEventTimeout(&event, 50) != 0) {
        Deliver(event, sink);
    }
    while (SDL_PollEvent(&event) != 0) {
        Deliver(event, sink);
    }
}

void SdlWindowSystem::Deliver(const SDL_Event& event, EventSink& sink) {
    switch (event.type) {
        case SDL_QUIT:
            sink.OnQuitRequest();
            break;
        case SDL_MOUSEMOTION: {
            pointer_ = presentation_.PictureFromWindow(event.motion.x, event.motion.y);
            sink.OnMouseMove(FormButtons(event.motion.state), ShiftBits(SDL_GetModState()),
                             static_cast<float>(pointer_.x), static_cast<float>(pointer_.y));
            break;
        }
        case SDL_MOUSEBUTTONDOWN: {
            pointer_ = presentation_.PictureFromWindow(event.button.x, event.button.y);
            const int16_t button = FormButton(event.button.button);
            if (button != 0) {
                sink.OnMouseDown(button, ShiftBits(SDL_GetModState()),
                                 static_cast<float>(pointer_.x), static_cast<float>(pointer_.y));
            }
            break;
        }
        case SDL_KEYUP: {
            sink.OnKeyUp(VirtualKeyCode(event.key.keysym.sym, event.key.keysym.scancode),
                         ShiftBits(event.key.keysym.mod));
            break;
        }
        case SDL_WINDOWEVENT:
            switch (event.window.event) {
                case SDL_WINDOWEVENT_EXPOSED:
                case SDL_WINDOWEVENT_SHOWN:
                case SDL_WINDOWEVENT_RESTORED:
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                    presentation_.Invalidate();
                    break;
                case SDL_WINDOWEVENT_CLOSE:
                    sink.OnCloseRequest();
                    break;
                default:
                    break;
            }
            break;
        case SDL_DROPBEGIN:
            dropped_.clear();
            break;
        case SDL_DROPFILE:
        case SDL_DROPTEXT:
            if (event.drop.file != nullptr) {
                if (event.type == SDL_DROPFILE) {
                    dropped_.emplace_back(event.drop.file);
                }
                SDL_free(event.drop.file);
            }
            break;
        case SDL_DROPCOMPLETE:
            if (!dropped_.empty()) {
                pointer_ = PointerAtDrop();
                const std::vector<std::string> files = std::move(dropped_);
                dropped_.clear();
                sink.OnDropFiles(files, static_cast<float>(pointer_.x),
                                 static_cast<float>(pointer_.y));
            }
            break;
        case SDL_RENDER_TARGETS_RESET:
            presentation_.Invalidate();
            break;
        case SDL_RENDER_DEVICE_RESET:
            presentation_.OnRenderReset();
            break;
        default:
            break;
    }
}

}  // namespace platform
