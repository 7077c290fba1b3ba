#include "platform/sdl/sdl_text_renderer.h"

#include <fontconfig/fontconfig.h>
#include <strings.h>

#include <cmath>
#include <cstring>
#include <memory>

#include "platform/portable/path_resolution.h"
#include "base/system_failure.h"

namespace platform {

namespace {

struct PatternDeleter {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;

// The best match for `query` (a fontconfig name), with the file and whether its family is one
// of `families`.
struct Match {
    std::string file;
    bool familyMatches = false;
};

Match FindFont(FcConfig* config, const std::string& query, const std::string& family) {
    Pattern pattern(FcNameParse(reinterpret_cast<const FcChar8*>(query.c_str())));
    if (!pattern) {
        return {};
    }
    FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    Pattern found(FcFontMatch(config, pattern.get(), &result));
    if (!found) {
        return {};
    }
    Match match;
    FcChar8* file = nullptr;
    if (FcPatternGetString(found.get(), FC_FILE, 0, &file) == FcResultMatch) {
        match.file = reinterpret_cast<const char*>(file);
    }
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(found.get(), FC_FAMILY, i, &name) == FcResultMatch; ++i) {
        if (strcasecmp(reinterpret_cast<const char*>(name), family.c_str()) == 0) {
            match.familyMatches = true;
        }
    }
    return match;
}

std::string WeightQuery(int32_t weight) {
    const int fcWeight = FcWeightFromOpenType(weight);
    return ":weight=" + std::to_string(fcWeight);
}

}  // namespace

std::string ResolveFontFile(FcConfig* config, const std::string& family, int32_t weight) {
    if (config == nullptr) {
        return {};
    }
    const bool bold = weight >= 600;
    Match match = FindFont(config, family + WeightQuery(weight), family);
    if (match.familyMatches && !match.file.empty()) {
        return match.file;
    }
    // "URW Gothic:demi" falls to the Book face; the style has to be named.
    const Match gothic =
        FindFont(config, std::string("URW Gothic:style=") + (bold ? "Demi" : "Book"), "URW Gothic");
    if (gothic.familyMatches && !gothic.file.empty()) {
        return gothic.file;
    }
    const Match sans = FindFont(config, "sans-serif" + WeightQuery(weight), "sans-serif");
    return sans.file.empty() ? match.file : sans.file;
}

SdlTextRenderer::SdlTextRenderer() = default;

SdlTextRenderer::~SdlTextRenderer() {
    for (auto& [key, font] : fonts_) {
        TTF_CloseFont(font);
    }
    if (initialised_) {
        TTF_Quit();
    }
    if (fontConfig_ != nullptr) {
        FcConfigDestroy(fontConfig_);
    }
}

TTF_Font* SdlTextRenderer::OpenFont(const FontSpec& font) {
    const FontKey key{font.family, font.points, font.weight};
    if (auto it = fonts_.find(key); it != fonts_.end()) {
        return it->second;
    }
    if (!initialised_) {
        if (TTF_Init() != 0) {
            Fail(std::string("the text renderer cannot start: ") + TTF_GetError());
        }
        initialised_ = true;
    }
    if (fontConfig_ == nullptr) {
        fontConfig_ = FcInitLoadConfigAndFonts();
    }
    const std::string file = ResolveFontFile(fontConfig_, font.family, font.weight);
    if (file.empty()) {
        Fail("no font for " + font.family);
    }
    // Points at 96 dots per inch; SDL_ttf's size is pixels per em at its 72.
    const int pixels = static_cast<int>(std::lround(font.points * 96.0 / 72.0));
    TTF_Font* opened = TTF_OpenFont(file.c_str(), pixels > 0 ? pixels : 1);
    if (opened == nullptr) {
        Fail(file + ": " + TTF_GetError());
    }
    fonts_.emplace(key, opened);
    return opened;
}

const TextMask& SdlTextRenderer::Render(const FontSpec& font, const std::string& text) {
    const FontKey fontKey{font.family, font.points, font.weight};
    auto [it, inserted] = masks_.try_emplace({fontKey, text});
    if (!inserted) {
        return it->second;
    }
    try {
        TTF_Font* ttf = OpenFont(font);
        TextMask& mask = it->second;
        mask.height = TTF_FontHeight(ttf);
        const std::string utf8 = Windows1252ToUtf8(text);
        SDL_Surface* rendered =
            utf8.empty() ? nullptr
                         : TTF_RenderUTF8_Blended(ttf, utf8.c_str(), {255, 255, 255, 255});
        if (rendered == nullptr) {
            if (!utf8.empty()) {
                Fail("the text \"" + utf8 + "\" cannot be rendered: " + TTF_GetError());
            }
            return mask;
        }
        SDL_Surface* argb = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
        SDL_FreeSurface(rendered);
        if (argb == nullptr) {
            Fail(std::string("the rendered text cannot be converted: ") + SDL_GetError());
        }
        mask.width = argb->w;
        mask.height = argb->h;
        mask.coverage.resize(static_cast<size_t>(argb->w) * argb->h);
        SDL_LockSurface(argb);
        for (int y = 0; y < argb->h; ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(
                static_cast<const uint8_t*>(argb->pixels) + static_cast<size_t>(y) * argb->pitch);
            for (int x = 0; x < argb->w; ++x) {
                mask.coverage[static_cast<size_t>(y) * argb->w + x] =
                    static_cast<uint8_t>(row[x] >> 24);
            }
        }
        SDL_UnlockSurface(argb);
        SDL_FreeSurface(argb);
        return mask;
    } catch (...) {
        masks_.erase(it);
        throw;
    }
}

}  // namespace platform
