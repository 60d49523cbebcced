#include "font_sheet.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

const char* const twoGlyphs = "; two glyphs\n"
                              "height 3\n"
                              "base 2\n"
                              "spacing 1\n"
                              "\n"
                              "char A\n"
                              ".#.\n"
                              "#.#\n"
                              "###\n"
                              "char 32\n"
                              "..\r\n"
                              "..\r\n"
                              "..\r\n";

TEST(FontSheet, GlyphRowsBecomeInkOfTheirOwnWidth) {
    FontSheet sheet;
    std::string error;
    ASSERT_TRUE(parseFontSheet(twoGlyphs, sheet, error)) << error;
    EXPECT_EQ(sheet.height, 3);
    EXPECT_EQ(sheet.base, 2);
    EXPECT_EQ(sheet.spacing, 1);
    ASSERT_EQ(sheet.glyphs.size(), 2u);
    const SheetGlyph& a = sheet.glyphs[0];
    EXPECT_EQ(a.id, 'A');
    EXPECT_EQ(a.ink.width, 3);
    EXPECT_EQ(a.ink.at(0, 0), 0u);
    EXPECT_EQ(a.ink.at(1, 0), 0xFFFFFFFFu);
    EXPECT_EQ(a.ink.at(2, 2), 0xFFFFFFFFu);
    EXPECT_EQ(sheet.glyphs[1].id, 32);
    EXPECT_EQ(sheet.glyphs[1].ink.width, 2);
}

TEST(FontSheet, BrokenSheetsAreRefusedWithTheLine) {
    struct Case {
        const char* text;
        const char* errorPart;
    };
    const Case cases[] = {
        {"height 2\nchar A\n##\n#\n", "line 4: row of 1 pixels, expected 2"},
        {"height 2\nchar A\n##\nchar B\n##\n##\n", "line 4: the glyph above has 1 rows"},
        {"height 2\nchar A\n##\n", "the last glyph has 1 rows"},
        {"height 1\nchar A\n#\nchar A\n#\n", "line 4: glyph 65 is drawn twice"},
        {"height 1\nchar 255\n#\n", "a code from 0 to 254"},
        {"height 1\nchar AB\n#\n", "a code from 0 to 254"},
        {"height 1\n#\n", "line 2: a glyph row outside a glyph"},
        {"height 1\nchar A\n#x\n", "only '.' and '#'"},
        {"char A\n#\n", "height must come before the first glyph"},
        {"height 1\nchar A\n#\nspacing 2\n", "spacing must come before the first glyph"},
        {"height 0\n", "height needs a number from 1 to 64"},
        {"height 2\nwidth 3\n", "line 2: unknown line"},
        {"height 2\n", "no glyphs"},
        {"height 1\nchar A\n"
         "#################################################################\n",
         "at most 64 pixels wide"},
    };
    for (const Case& c : cases) {
        FontSheet sheet;
        std::string error;
        EXPECT_FALSE(parseFontSheet(c.text, sheet, error)) << c.text;
        EXPECT_NE(error.find(c.errorPart), std::string::npos) << error;
    }
}

TEST(FontSheet, TheAtlasHoldsEveryGlyphApartAndTheDescriptionPointsAtIt) {
    // Forty glyphs five pixels wide overflow one 128-pixel atlas row.
    std::string text = "height 4\nbase 3\nspacing 1\n";
    for (int id = 40; id < 80; ++id) {
        text += "char " + std::to_string(id) + "\n#...#\n.....\n.....\n#...#\n";
    }
    FontSheet sheet;
    std::string error;
    ASSERT_TRUE(parseFontSheet(text, sheet, error)) << error;
    const FontAtlas atlas = layOutAtlas(sheet);
    EXPECT_EQ(atlas.picture.width, 128);
    EXPECT_EQ(atlas.picture.height, 16) << "two rows of 4 + 1, rounded up to a power of two";
    int32_t inkPixels = 0;
    for (uint32_t pixel : atlas.picture.pixels) {
        inkPixels += pixel != 0 ? 1 : 0;
    }
    EXPECT_EQ(inkPixels, 40 * 4) << "no glyph covers another";
    for (size_t i = 0; i < sheet.glyphs.size(); ++i) {
        const AtlasPlace& place = atlas.places[i];
        EXPECT_EQ(atlas.picture.at(place.x, place.y), 0xFFFFFFFFu);
        EXPECT_EQ(atlas.picture.at(place.x + 4, place.y + 3), 0xFFFFFFFFu);
    }

    const std::string description = fontDescription(sheet, atlas, "test", "test_0.png");
    EXPECT_EQ(description.rfind("info face=\"test\" size=4 ", 0), 0u);
    EXPECT_NE(description.find("\ncommon lineHeight=4 base=3 scaleW=128 scaleH=16 pages=1 "),
              std::string::npos);
    EXPECT_NE(description.find("\npage id=0 file=\"test_0.png\"\nchars count=40\n"),
              std::string::npos);
    // The last glyph line, key by key, as the BMFont tool spaces them out.
    const AtlasPlace& last = atlas.places.back();
    const size_t lineStart = description.find("\nchar id=79 ");
    ASSERT_NE(lineStart, std::string::npos);
    std::istringstream line(description.substr(lineStart + 1));
    std::vector<std::string> keys(10);
    for (std::string& key : keys) {
        line >> key;
    }
    const std::vector<std::string> expected = {
        "char",      "id=79",     "x=" + std::to_string(last.x),
        "y=5",       "width=5",   "height=4",
        "xoffset=0", "yoffset=0", "xadvance=6",
        "page=0"};
    EXPECT_EQ(keys, expected);
    EXPECT_EQ(description.back(), '\n') << "the last glyph line needs its line feed";
}

} // namespace
