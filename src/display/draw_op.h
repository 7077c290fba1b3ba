#pragma once

#include <cstdint>

#include "base/rect.h"

class Surface;

// One drawing operation as a surface performs it: enough to perform it again, and to tell
// whether two are the same operation on the same picture content.
struct DrawOp {
    enum class Kind : uint8_t { Copy, Stretch, Fill, Circle };
    Kind kind = Kind::Copy;
    const Surface* source = nullptr;  // the surface read (Copy, Stretch)
    uint64_t sourceStamp = 0;         // the source's content stamp when the operation was asked
    Rect from;                        // Copy, Stretch: the source rectangle
    // Copy: left, top = the destination position; Stretch, Fill: the destination rectangle;
    // Circle: left, top = the centre, right = the radius.
    Rect to;
    int32_t flags = 0;   // Copy: the BltFast flags
    uint32_t color = 0;  // Fill, Circle: the 0xBBGGRR colour
    // Writes every pixel of the destination whatever it held: the result does not depend on
    // anything drawn before.
    bool coversAll = false;
    bool operator==(const DrawOp&) const = default;
};

// What a frame record draws on.
class DrawTarget {
  public:
    virtual void Execute(const DrawOp& op) = 0;

  protected:
    ~DrawTarget() = default;
};
