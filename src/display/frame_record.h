#pragma once

#include <cstddef>
#include <vector>

#include "display/draw_op.h"

// The back buffer's memory of how its picture was drawn, so that a frame drawn exactly like the
// one before costs no pixel work and no comparison.
//
// Every pass of the frame loop draws the whole frame again, and most frames repeat the last one.
// The record keeps the operations of the last frame that began with an operation covering the
// whole buffer; such a frame's picture depends on nothing but its operations. While the new
// frame repeats those operations one by one, on sources whose content has not changed, they are
// held back unperformed: the buffer already holds their result. The first operation that differs,
// a read or write of the pixels, a change to a source that a held-back operation reads, or a
// frame that ends early performs the held-back operations in order, and the frame goes on as
// usual. A frame that repeats the last one completely leaves the buffer as it is.
class FrameRecord {
  public:
    explicit FrameRecord(DrawTarget& target) : target_(target) {}

    // An operation on the back buffer: held back, or performed (after any held back).
    void Draw(const DrawOp& op);
    // The pixels are about to be read.
    void BeforeRead();
    // The pixels are about to be written other than through Draw.
    void BeforeWrite();
    // `source` is about to change or go.
    void BeforeSourceChanges(const Surface* source);
    // The frame is complete. True when the buffer holds exactly the picture last presented.
    bool EndFrame();
    // The frame went to the display (or failed to); the next frame begins.
    void Presented(bool succeeded);
    // Something else was presented: the next frame is new to the display.
    void ScreenChanged() { changed_ = true; }

    // Operations held back in the frame so far.
    size_t HeldBack() const { return holding_ ? matched_ : 0; }

    // A frame with more operations than this is not remembered.
    static constexpr size_t kMaxOps = 256;

  private:
    void PerformHeldBack();

    DrawTarget& target_;
    // The last frame's operations; while held back, the new frame's so far are the first
    // `matched_`. After a frame diverges, the new frame's operations.
    std::vector<DrawOp> ops_;
    size_t matched_ = 0;
    bool holding_ = false;   // the frame so far repeats the first `matched_` of `ops_`
    bool changed_ = true;    // the pixels may differ from the picture last presented
    bool described_ = true;  // the pixels are the result of `ops_` alone
};
