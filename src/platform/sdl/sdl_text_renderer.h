#pragma once

#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <map>
#include <string>
#include <tuple>

#include "platform/text_renderer.h"

namespace platform {

// The font file that stands for a requested family and weight. fontconfig substitutes without
// saying so, so the family it matched is checked: a missing family becomes URW Gothic (the free
// twin of Century Gothic, the family the program's screens name), Demi for bold, and without
// that the nearest sans of the weight. Empty when no font is found at all.
std::string ResolveFontFile(FcConfig* config, const std::string& family, int32_t weight);

// Text through SDL_ttf: fonts are opened once per file and size, and each text's mask is kept,
// so the labels drawn every frame cost a map look-up.
class SdlTextRenderer : public TextRenderer {
  public:
    SdlTextRenderer();
    ~SdlTextRenderer() override;
    SdlTextRenderer(const SdlTextRenderer&) = delete;
    SdlTextRenderer& operator=(const SdlTextRenderer&) = delete;

    const TextMask& Render(const FontSpec& font, const std::string& text) override;

  private:
    TTF_Font* OpenFont(const FontSpec& font);

    using FontKey = std::tuple<std::string, double, int32_t>;
    std::map<FontKey, TTF_Font*> fonts_;
    std::map<std::pair<FontKey, std::string>, TextMask> masks_;
    bool initialised_ = false;
    FcConfig* fontConfig_ = nullptr;  // fontconfig's own state, freed with the renderer
};

}  // namespace platform
