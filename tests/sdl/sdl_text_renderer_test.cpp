#include "platform/sdl/sdl_text_renderer.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace platform {
namespace {
// fontconfig answers every question with some font; the family has to be checked, or the
// choices screen would silently show DejaVu Sans where the geometric face belongs.
TEST(SdlTextRendererTest, MissingFamiliesFallBackToTheirFreeTwinOrABoldSans) {
    struct Case {
        std::string family;
        int32_t weight;
        std::vector<std::string> families;  // acceptable families, the first if installed
        std::string style;                  // expected style of a fallback
    } const cases[] = {{"Century Gothic", 700, {"Century Gothic", "URW Gothic"}, "Demi"},
                       {"Century Gothic", 400, {"Century Gothic", "URW Gothic"}, "Book"},
                       {"No Such Family Anywhere", 700, {"URW Gothic"}, "Demi"}};
    FcConfig* config = FcInitLoadConfigAndFonts();
    ASSERT_NE(config, nullptr);
    ASSERT_EQ(TTF_Init(), 0);
    for (const Case& c : cases) {
        const std::string file = ResolveFontFile(config, c.family, c.weight);
        TTF_Font* font = TTF_OpenFont(file.c_str(), 15);
        ASSERT_NE(font, nullptr) << c.family << ": " << file;
        const std::string family = TTF_FontFaceFamilyName(font);
        EXPECT_NE(std::ranges::find(c.families, family), c.families.end())
            << c.family << " " << c.weight << " became " << family;
        EXPECT_TRUE(family == c.family || TTF_FontFaceStyleName(font) == c.style) << family;
        TTF_CloseFont(font);
    }
    TTF_Quit();
    EXPECT_EQ(ResolveFontFile(nullptr, "Century Gothic", 700), "");
    FcConfigDestroy(config);
}

// Text becomes an anti-aliased coverage mask of the font's height; the same text in the same
// font is rendered once, since the choices screen draws the same labels every frame.
TEST(SdlTextRendererTest, TextBecomesACoverageMaskOfTheFontsHeight) {
    SdlTextRenderer text;
    const FontSpec font{"Century Gothic", 11.25, 700};
    const TextMask& wide = text.Render(font, "Avsluta WWW");
    const TextMask& narrow = text.Render(font, "il");
    EXPECT_TRUE(wide.height >= 15 && wide.height <= 19) << wide.height;  // a 15 pixel em at 96 dpi
    EXPECT_EQ(narrow.height, wide.height);
    EXPECT_GT(wide.width, narrow.width);
    ASSERT_EQ(wide.coverage.size(), static_cast<size_t>(wide.width) * wide.height);
    EXPECT_EQ(*std::ranges::min_element(wide.coverage), 0);
    EXPECT_EQ(*std::ranges::max_element(wide.coverage), 255);
    EXPECT_TRUE(std::ranges::any_of(wide.coverage, [](uint8_t c) { return c > 0 && c < 255; }));
    EXPECT_GT(text.Render({"Century Gothic", 22.5, 700}, "il").height, narrow.height);
    EXPECT_TRUE(text.Render(font, "").coverage.empty());
    EXPECT_EQ(&text.Render(font, "il"), &narrow);
    EXPECT_NE(&text.Render({"Century Gothic", 11.25, 400}, "il"), &narrow);
}
}  // namespace
}  // namespace platform
