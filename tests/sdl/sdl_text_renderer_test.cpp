#include "platform/sdl/sdl_text_renderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace platform {
namespace {

struct Face {
    std::string family;
    std::string style;
};

Face FaceOf(const std::string& file) {
    EXPECT_EQ(TTF_Init(), 0);
    TTF_Font* font = TTF_OpenFont(file.c_str(), 15);
    EXPECT_NE(font, nullptr) << file;
    Face face;
    if (font != nullptr) {
        face = {TTF_FontFaceFamilyName(font), TTF_FontFaceStyleName(font)};
        TTF_CloseFont(font);
    }
    TTF_Quit();
    return face;
}

// fontconfig answers every question with some font; the family has to be checked, or the
// choices screen would silently show DejaVu Sans where the geometric face belongs.
TEST(SdlTextRendererTest, MissingFamiliesFallBackToTheirFreeTwinOrABoldSans) {
    struct Case {
        std::string family;
        int32_t weight;
        std::vector<std::string> families;  // acceptable families, the first if installed
        std::string style;                  // expected style of a fallback
    };
    const Case cases[] = {
        {"Century Gothic", 700, {"Century Gothic", "URW Gothic"}, "Demi"},
        {"Century Gothic", 400, {"Century Gothic", "URW Gothic"}, "Book"},
        {"URW Gothic", 700, {"URW Gothic"}, "Demi"},
        {"No Such Family Anywhere", 700, {"URW Gothic"}, "Demi"},
    };
    FcConfig* config = FcInitLoadConfigAndFonts();
    ASSERT_NE(config, nullptr);
    for (const Case& c : cases) {
        const std::string file = ResolveFontFile(config, c.family, c.weight);
        ASSERT_TRUE(std::filesystem::exists(file)) << c.family << ": " << file;
        const Face face = FaceOf(file);
        EXPECT_NE(std::find(c.families.begin(), c.families.end(), face.family), c.families.end())
            << c.family << " " << c.weight << " became " << face.family;
        if (face.family != c.family) {
            EXPECT_EQ(face.style, c.style) << c.family << " " << c.weight;
        }
    }
    EXPECT_EQ(ResolveFontFile(nullptr, "Century Gothic", 700), "");
    FcConfigDestroy(config);
}

TEST(SdlTextRendererTest, TextBecomesACoverageMaskOfTheFontsHeight) {
    SdlTextRenderer text;
    const FontSpec font{"Century Gothic", 11.25, 700};
    const TextMask& wide = text.Render(font, "Avsluta WWW");
    const TextMask& narrow = text.Render(font, "il");
    EXPECT_GE(wide.height, 15);  // 11.25 points at 96 dpi: a 15 pixel em
    EXPECT_LE(wide.height, 19);
    EXPECT_EQ(narrow.height, wide.height);
    EXPECT_GT(wide.width, narrow.width);
    ASSERT_EQ(wide.coverage.size(), static_cast<size_t>(wide.width) * wide.height);
    EXPECT_EQ(*std::max_element(wide.coverage.begin(), wide.coverage.end()), 255);
    EXPECT_EQ(*std::min_element(wide.coverage.begin(), wide.coverage.end()), 0);
    // Anti-aliased edges, not a bitmap font.
    EXPECT_TRUE(std::any_of(wide.coverage.begin(), wide.coverage.end(),
                            [](uint8_t c) { return c > 0 && c < 255; }));

    const TextMask& larger = text.Render({"Century Gothic", 22.5, 700}, "il");
    EXPECT_GT(larger.height, narrow.height);

    const TextMask& empty = text.Render(font, "");
    EXPECT_EQ(empty.width, 0);
    EXPECT_TRUE(empty.coverage.empty());
}

// The choices screen draws the same labels every frame: the second time costs no rendering.
TEST(SdlTextRendererTest, TheSameTextInTheSameFontIsRenderedOnce) {
    SdlTextRenderer text;
    const FontSpec font{"Century Gothic", 11.25, 700};
    const TextMask* first = &text.Render(font, "Musik");
    text.Render(font, "Sport");
    text.Render({"Century Gothic", 11.25, 400}, "Musik");
    EXPECT_EQ(&text.Render(font, "Musik"), first);
    EXPECT_NE(&text.Render({"Century Gothic", 11.25, 400}, "Musik"), first);
}

}  // namespace
}  // namespace platform
