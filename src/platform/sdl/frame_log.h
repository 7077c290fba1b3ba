#pragma once

#include <cstdio>
#include <string>

namespace platform {

// An outside observer's view of the presentation, for the smoke test and the benchmarks. When
// QUILLOWBEE_FRAME_LOG names a file, the program appends one line per milestone to it:
//
//   window <ms>         the window exists
//   first-frame <ms>    the first picture is on screen
//   ready <ms>          start-up is over and the frame loop waits for input
//   frames <n> <shown>  at the end: frames handed over, and of those actually presented
//
// <ms> is the steady clock (CLOCK_MONOTONIC) in milliseconds, so an observer that started the
// process can subtract its own reading. Each line is flushed at once; nothing is written per
// frame.
class FrameLog {
  public:
    FrameLog();
    ~FrameLog();
    FrameLog(const FrameLog&) = delete;
    FrameLog& operator=(const FrameLog&) = delete;

    // Writes "<event> <now in ms>".
    void Milestone(const char* event);
    void Frames(long handedOver, long presented);

    static constexpr const char* kVariable = "QUILLOWBEE_FRAME_LOG";

  private:
    std::FILE* file_ = nullptr;
};

}  // namespace platform
