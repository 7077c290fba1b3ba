#include "platform/sdl/frame_log.h"

#include <chrono>
#include <cstdlib>

namespace platform {

FrameLog::FrameLog() {
    const char* path = std::getenv(kVariable);
    if (path != nullptr && path[0] != '\0') {
        file_ = std::fopen(path, "ae");
    }
}

FrameLog::~FrameLog() {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
}

void FrameLog::Milestone(const char* event) {
    if (file_ == nullptr) {
        return;
    }
    const double ms = std::chrono::duration<double, std::milli>(
                          std::chrono::steady_clock::now().time_since_epoch())
                          .count();
    std::fprintf(file_, "%s %.3f\n", event, ms);
    std::fflush(file_);
}

void FrameLog::Frames(long handedOver, long presented) {
    if (file_ == nullptr) {
        return;
    }
    std::fprintf(file_, "frames %ld %ld\n", handedOver, presented);
    std::fflush(file_);
}

}  // namespace platform
