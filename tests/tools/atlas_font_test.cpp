// Built fonts read back by the asset tools: the description's glyph lines, and text drawn as
// the program draws it, each glyph at its pen plus its offsets.
#include "atlas_font.h"

#include <gtest/gtest.h>

namespace {

// An atlas of two glyphs: 'A' a 2x2 block at (0, 0), 'B' one pixel at (3, 0).
Canvas twoGlyphAtlas() {
    Canvas atlas(4, 2);
    atlas.fillRect(0, 0, 2, 2, 0xFFFFFFFF);
    atlas.set(3, 0, 0x80FFFFFF);
    return atlas;
}

const char* description = "info face=\"test\" size=2\n"
                          "chars count=2\n"
                          "char id=65 x=0 y=0 width=2 height=2 xoffset=0 yoffset=1 xadvance=3 "
                          "page=0 chnl=15\n"
                          "char id=66   x=3  y=0  width=1 height=1 xoffset=-1 yoffset=0 "
                          "xadvance=2 page=0 chnl=15\n";

TEST(AtlasFont, TextIsSetAtThePenWithEachGlyphsOffsets) {
    AtlasFont font;
    std::string error;
    ASSERT_TRUE(parseAtlasFont(description, twoGlyphAtlas(), font, error)) << error;
    EXPECT_TRUE(font.hasGlyph('A'));
    EXPECT_FALSE(font.hasGlyph('C'));
    EXPECT_EQ(textWidth(font, "ABA"), 8);
    EXPECT_EQ(textDepth(font, "AB"), 3);

    Canvas canvas(10, 4);
    drawText(canvas, font, "AB", 1, 0, 0xFF123456);
    // 'A' from (1, 1) to (2, 2); 'B' at pen 4, one column to the left.
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 10; ++x) {
            const bool ink = (x >= 1 && x <= 2 && y >= 1 && y <= 2) || (x == 3 && y == 0);
            EXPECT_EQ(canvas.at(x, y), ink ? 0xFF123456u : 0u) << x << ", " << y;
        }
    }
}

TEST(AtlasFont, BrokenDescriptionsAreRefused) {
    const char* broken[] = {
        "info face=\"test\"\n",
        "char id=65 x=0 y=0 width=2\n",
        "char id=255 x=0 y=0 width=1 height=1 xoffset=0 yoffset=0 xadvance=1\n",
    };
    for (const char* text : broken) {
        AtlasFont font;
        std::string error;
        EXPECT_FALSE(parseAtlasFont(text, twoGlyphAtlas(), font, error)) << text;
        EXPECT_FALSE(error.empty());
    }
}

} // namespace
