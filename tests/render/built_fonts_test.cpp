// The three fonts as the build makes them, read back through the program's own parser: every
// printable ASCII character is there, with the sizes the screens lay their text out by.
#include "render/font.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

BitmapFont builtFont(const std::string& name) {
    std::ifstream file(std::string(FONT_DIR) + "/" + name + ".fnt", std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    BitmapFont font;
    parseFontDescription(text.str(), font);
    return font;
}

int32_t lineWidth(const BitmapFont& font, const char* text) {
    int32_t width = 0;
    for (const char* c = text; *c != '\0'; ++c) {
        width += font.glyphs[static_cast<uint8_t>(*c)].xadvance;
    }
    return width;
}

TEST(BuiltFonts, CoverPrintableAsciiWithTheirSizes) {
    struct Case {
        const char* name;
        int32_t minHeight, maxHeight; // of every glyph rectangle
        int32_t maxWidth, maxAdvance;
        bool fixedPitch; // every glyph maxWidth wide, advancing maxAdvance
    };
    const Case cases[] = {
        {"c64font", 8, 8, 8, 8, true},
        {"silkywonderland", 7, 9, 6, 7, false},
        {"sfintermosaic", 8, 9, 8, 8, false},
    };
    for (const Case& c : cases) {
        const BitmapFont font = builtFont(c.name);
        for (int32_t ch = 32; ch <= 126; ++ch) {
            const Glyph& g = font.glyphs[ch];
            SCOPED_TRACE(std::string(c.name) + ", character " + std::to_string(ch));
            EXPECT_GT(g.xadvance, 0);
            EXPECT_LE(g.xadvance, c.maxAdvance);
            EXPECT_LE(g.width, c.maxWidth);
            EXPECT_GE(g.height, c.minHeight);
            EXPECT_LE(g.height, c.maxHeight);
            // The cracktro's enlarged letters ignore the offsets, so every glyph of a font
            // stands on the same rows.
            EXPECT_EQ(g.xoffset, 0);
            EXPECT_EQ(g.yoffset, 0);
            if (c.fixedPitch) {
                EXPECT_EQ(g.width, c.maxWidth);
                EXPECT_EQ(g.xadvance, c.maxAdvance);
            }
        }
    }
}

TEST(BuiltFonts, TheLongestTrackTitleFitsThePlayerPanel) {
    EXPECT_LE(lineWidth(builtFont("silkywonderland"), "Wandering Past Tomorrow"), 120);
}

} // namespace
