#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct FontSpec {
    std::string family;    // for example "Century Gothic"
    double points = 0;     // size in points at 96 dpi
    int32_t weight = 400;  // 700 = bold
    bool operator==(const FontSpec&) const = default;
};

// Coverage of a rendered text: one byte per pixel, 0 transparent to 255 opaque.
struct TextMask {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> coverage;
};

// Renders text into coverage masks. Implementations keep opened fonts and rendered masks, so
// drawing the same labels every frame reads no file.
class TextRenderer {
  public:
    virtual ~TextRenderer() = default;
    // The mask of `text` (Windows-1252 bytes) in `font`, its top-left corner at the text's origin.
    virtual const TextMask& Render(const FontSpec& font, const std::string& text) = 0;
};

}  // namespace platform
