#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/window_system.h"

// Making an item from photos dropped on the choices screen's item page. The work (reading the
// photos, drawing and writing the item) runs away from the frame loop; the form starts it and
// collects its outcome between frames.
namespace ItemMaking {

// The item's small picture on the item page, in RGB565 pixels, row after row.
inline constexpr int32_t kThumbnailWidth = 51;
inline constexpr int32_t kThumbnailHeight = 54;

struct Outcome {
    int16_t item = 0;  // 0..31
    bool made = false;
    // Made: the item's new small picture (kThumbnailWidth x kThumbnailHeight). Refused: one line
    // saying why, for the adult.
    std::vector<uint16_t> thumbnail;
    std::string message;
};

class Maker {
  public:
    virtual ~Maker() = default;
    // Starts making `item` (0..31) from the photos at the native paths given; `box` is the
    // top-left corner of the item's small picture on the 800 x 600 item page. False (and nothing
    // started) while an earlier one is still being made.
    virtual bool Start(int16_t item, platform::Point box,
                       const std::vector<std::string>& photos) = 0;
    // The outcome of the item started last, once, when it has ended.
    virtual std::optional<Outcome> TakeOutcome() = 0;
};

}  // namespace ItemMaking
