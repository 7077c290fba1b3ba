#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct Point {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const Point&) const = default;
};

// Pointer shapes of the form's mouse-pointer property.
inline constexpr int16_t kPointerArrow = 0;
inline constexpr int16_t kPointerHourglass = 11;

// Mouse buttons and shift bits as the form's events deliver them.
inline constexpr int16_t kButtonLeft = 1;
inline constexpr int16_t kButtonRight = 2;
inline constexpr int16_t kButtonMiddle = 4;
inline constexpr int16_t kShiftShift = 1;
inline constexpr int16_t kShiftCtrl = 2;
inline constexpr int16_t kShiftAlt = 4;

// Virtual-key codes the system acts on.
inline constexpr int16_t kKeyEnter = 13;
inline constexpr int16_t kKeyEscape = 27;
inline constexpr int16_t kKeySpace = 32;
inline constexpr int16_t kKeyDelete = 46;
inline constexpr int16_t kKeyF1 = 112;
// A key without a virtual-key code of its own; like every key the system does not act on, it
// clicks.
inline constexpr int16_t kKeyOther = 255;

// Receives the window's input events while the window system yields.
class EventSink {
  public:
    virtual ~EventSink() = default;
    virtual void OnMouseDown(int16_t button, int16_t shift, float x, float y) = 0;
    virtual void OnKeyUp(int16_t keyCode, int16_t shift) = 0;
    virtual void OnMouseMove(int16_t button, int16_t shift, float x, float y) = 0;
    // A termination request from the system: SIGTERM, SIGINT.
    virtual void OnQuitRequest() = 0;
    // The user asks the window to close (its close button, Alt+F4): a request the exit lock
    // may refuse, like Escape.
    virtual void OnCloseRequest() = 0;
    // Files dropped on the window (from a file manager), as native paths, with the pointer's
    // position at the drop.
    virtual void OnDropFiles(const std::vector<std::string>& paths, float x, float y) {
        (void)paths, (void)x, (void)y;
    }
};

// The one full-screen window and its pointer. Pointer positions are in 800 x 600 picture
// coordinates whatever the window's real size.
class WindowSystem {
  public:
    virtual ~WindowSystem() = default;

    // True when another copy of the program already runs for this user.
    virtual bool IsPreviousInstance() = 0;
    // Shows the window and gives it the keyboard focus.
    virtual void ShowWindow() = 0;
    virtual void SetPointerShape(int16_t shape) = 0;
    virtual Point GetCursorPos() = 0;
    virtual void SetCursorPos(int32_t x, int32_t y) = 0;
    // Delivers every pending event to the sink, then returns.
    virtual void Yield(EventSink& sink) = 0;
};

}  // namespace platform
