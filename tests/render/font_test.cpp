#include "render/font.h"

#include "render/test_images.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// A description as the BMFont tool writes it, with Windows line ends, a kerning block, a
// glyph id beyond the table and a last glyph line without a line feed.
const char* const bmfontText =
    "info face=\"Test\" size=8 bold=0 italic=0 charset=\"\" unicode=0 stretchH=100 smooth=0 "
    "aa=1 padding=0,0,0,0 spacing=1,1\r\n"
    "common lineHeight=9 base=7 scaleW=64 scaleH=16 pages=1 packed=0\r\n"
    "page id=0 file=\"test_0.png\"\r\n"
    "chars count=6\r\n"
    "char id=32   x=0     y=0     width=0     height=0     xoffset=0     yoffset=0     "
    "xadvance=4     page=0  chnl=15\r\n"
    "char id=65   x=10    y=2     width=5     height=7     xoffset=-1    yoffset=-2    "
    "xadvance=6     page=0  chnl=15\r\n"
    "char id=233  x=20    y=0     width=4     height=8     xoffset=0     yoffset=1     "
    "xadvance=5     page=0  chnl=15\r\n"
    "char id=255  x=1     y=1     width=1     height=1     xoffset=0     yoffset=0     "
    "xadvance=1     page=0  chnl=15\r\n"
    "char id=321  x=1     y=1     width=1     height=1     xoffset=0     yoffset=0     "
    "xadvance=1     page=0  chnl=15\r\n"
    "kernings count=1\r\n"
    "kerning first=65  second=65  amount=-1\r\n"
    "char id=66   x=30    y=0     width=5     height=7     xoffset=0     yoffset=0     "
    "xadvance=6     page=0  chnl=15";

bool sameGlyph(const Glyph& g, const Glyph& expected) {
    return g.x == expected.x && g.y == expected.y && g.width == expected.width &&
           g.height == expected.height && g.xoffset == expected.xoffset &&
           g.yoffset == expected.yoffset && g.xadvance == expected.xadvance;
}

int32_t definedGlyphs(const BitmapFont& font) {
    int32_t count = 0;
    for (const Glyph& g : font.glyphs) {
        count += sameGlyph(g, Glyph{}) ? 0 : 1;
    }
    return count;
}

TEST(ParseFontDescription, ReadsTheGlyphLinesOfABmfontFile) {
    BitmapFont font;
    font.fixedAdvance = 3;
    font.glyphs[100].xadvance = 9; // left from before: cleared by parsing
    parseFontDescription(bmfontText, font);
    EXPECT_EQ(font.fixedAdvance, -1);
    EXPECT_TRUE(sameGlyph(font.glyphs[32], {0, 0, 0, 0, 0, 0, 4}));
    EXPECT_TRUE(sameGlyph(font.glyphs[65], {10, 2, 5, 7, -1, -2, 6}));
    EXPECT_TRUE(sameGlyph(font.glyphs[233], {20, 0, 4, 8, 0, 1, 5}));
    EXPECT_TRUE(sameGlyph(font.glyphs[255], {})) << "255 is never stored";
    EXPECT_TRUE(sameGlyph(font.glyphs[66], {})) << "the last line has no line feed";
    EXPECT_TRUE(sameGlyph(font.glyphs[100], {}));
    EXPECT_EQ(definedGlyphs(font), 3) << "ids above 255 and foreign lines change nothing";
}

TEST(ParseFontDescription, ScansEachLineLikeItsFormat) {
    const Glyph fields{1, 2, 3, 4, 5, 6, 7};
    struct Case {
        const char* what;
        const char* line;
        int32_t storedId; // -1 when the line stores nothing
        Glyph expected;
    };
    const Case cases[] = {
        {"tabs and runs of blanks",
         "char \tid=70\t x=1  y=2\twidth=3 height=4 xoffset=5 yoffset=6 xadvance=7\n", 70, fields},
        {"no blank between keys", "char id=70x=1y=2width=3height=4xoffset=5yoffset=6xadvance=7\n",
         70, fields},
        {"signed values",
         "char id=+70 x=-1 y=+2 width=3 height=4 xoffset=-5 yoffset=-6 xadvance=-7\n",
         70,
         {-1, 2, 3, 4, -5, -6, -7}},
        {"missing fields are 0", "char id=70 x=1 y=2\n", 70, {1, 2, 0, 0, 0, 0, 0}},
        {"a field that does not scan ends the line",
         "char id=70 x=1 y=? width=3\n",
         70,
         {1, 0, 0, 0, 0, 0, 0}},
        {"id 0", "char id=0 x=1 y=2 width=3 height=4 xoffset=5 yoffset=6 xadvance=7\n", 0, fields},
        {"id 254", "char id=254 x=1 y=2 width=3 height=4 xoffset=5 yoffset=6 xadvance=7\n", 254,
         fields},
        {"huge values saturate",
         "char id=70 x=99999999999 y=-99999999999\n",
         70,
         {2147483647, -2147483647 - 1, 0, 0, 0, 0, 0}},
        {"negative id", "char id=-1 x=1\n", -1},
        {"huge id", "char id=4294967366 x=1\n", -1},
        {"an id that does not scan", "char id=A x=1\n", -1},
        {"a blank inside a key", "char id =70 x=1\n", -1},
        {"the chars line", "chars count=70\n", -1},
        {"no blank after char", "charid=70 x=1\n", -1},
        {"indented", " char id=70 x=1\n", -1},
        {"upper case", "CHAR id=70 x=1\n", -1},
    };
    for (const Case& c : cases) {
        BitmapFont font;
        parseFontDescription(c.line, font);
        EXPECT_EQ(definedGlyphs(font), c.storedId >= 0 ? 1 : 0) << c.what;
        if (c.storedId >= 0) {
            EXPECT_TRUE(sameGlyph(font.glyphs[c.storedId], c.expected)) << c.what;
        }
    }
}

// A font over an 8x8 atlas whose every pixel is ink: every glyph is a solid block, so what
// lands in the frame shows exactly where each glyph went and how it was clipped.
struct SolidFont {
    BitmapFont font;

    explicit SolidFont(const std::string& description) {
        parseFontDescription(description, font);
        font.atlas = makeFilledImage(8, 8, 0xFF000000);
    }
};

std::string glyphLine(int32_t id, int32_t width, int32_t height, int32_t xoffset, int32_t yoffset,
                      int32_t xadvance, int32_t x = 0, int32_t y = 0) {
    return "char id=" + std::to_string(id) + " x=" + std::to_string(x) + " y=" + std::to_string(y) +
           " width=" + std::to_string(width) + " height=" + std::to_string(height) +
           " xoffset=" + std::to_string(xoffset) + " yoffset=" + std::to_string(yoffset) +
           " xadvance=" + std::to_string(xadvance) + " page=0 chnl=15\n";
}

// Four letters 3x8 with advance 4, 'a' 8 high, and 233 in the upper half of the table.
const SolidFont& letters() {
    static const SolidFont font(glyphLine('A', 3, 8, 0, 0, 4) + glyphLine('B', 3, 8, 0, 0, 4) +
                                glyphLine('D', 3, 8, 0, 0, 4) + glyphLine('E', 3, 8, 0, 0, 4) +
                                glyphLine(' ', 0, 0, 0, 0, 4) + glyphLine('a', 3, 8, 0, 0, 4) +
                                glyphLine(233, 2, 2, 0, 0, 3));
    return font;
}

constexpr uint32_t ink = 0xFF9AD284;

TEST(DrawGlyph, ClipsAgainstTheFrameAndTheAtlas) {
    struct Case {
        const char* what;
        std::string description;
        int32_t x, y;
        int32_t inkPixels;
    };
    const Case cases[] = {
        {"whole", glyphLine('A', 3, 8, 0, 0, 4), 10, 10, 24},
        {"xoffset -1 at x 0 loses the first column", glyphLine('A', 3, 8, -1, 0, 4), 0, 0, 16},
        {"at y 192 it just fits", glyphLine('A', 3, 8, 0, 0, 4), 0, 192, 24},
        {"at y 193 the last row is cut", glyphLine('A', 3, 8, 0, 0, 4), 0, 193, 21},
        {"yoffset lifts it over the top", glyphLine('A', 3, 8, 0, -6, 4), 0, 0, 6},
        {"right edge", glyphLine('A', 3, 8, 0, 0, 4), 318, 0, 16},
        {"rectangle partly outside the atlas", glyphLine('A', 5, 5, 0, 0, 4, 6, 6), 0, 0, 4},
        {"rectangle left of and above the atlas", glyphLine('A', 4, 4, 0, 0, 4, -2, -3), 0, 0, 2},
        {"rectangle wholly outside the atlas", glyphLine('A', 3, 8, 0, 0, 4, 8, 0), 0, 0, 0},
        {"huge rectangle", glyphLine('A', 2147483647, 2147483647, 0, 0, 4), 0, 0, 64},
        {"huge offsets", glyphLine('A', 3, 8, -2147483647 - 1, 2147483647, 4), 2147483647, 0, 0},
        {"undefined glyph", glyphLine('B', 3, 8, 0, 0, 4), 0, 0, 0},
    };
    for (const Case& c : cases) {
        SolidFont solid(c.description);
        auto frame = makeFrame();
        drawGlyph(*frame, 'A', solid.font, c.x, c.y, ink);
        EXPECT_EQ(changedPixels(*frame), c.inkPixels) << c.what;
    }
}

TEST(DrawGlyph, DrawsTheAtlasInkInTheCallersColour) {
    BitmapFont font;
    parseFontDescription(glyphLine('A', 2, 2, 1, 2, 3), font);
    font.atlas = makeImage(2, 2, {0x01000000, 0x00FFFFFF, 0x00FFFFFF, 0xFF000000});
    auto frame = makeFrame(0xFF111111);
    drawGlyph(*frame, 'A', font, 10, 20, 0x00ABCDEF);
    EXPECT_EQ(frame->at(11, 22), 0x00ABCDEFu) << "any non-zero alpha is ink";
    EXPECT_EQ(frame->at(12, 22), 0xFF111111u);
    EXPECT_EQ(frame->at(11, 23), 0xFF111111u);
    EXPECT_EQ(frame->at(12, 23), 0x00ABCDEFu);
    EXPECT_EQ(changedPixels(*frame, 0xFF111111), 2);
}

TEST(DrawText, StartsEachLineOneAHeightLowerAtX) {
    auto expected = makeFrame();
    drawText(*expected, "AB", letters().font, 20, 30, ink);
    drawText(*expected, "DE", letters().font, 20, 38, ink);
    for (const char* text : {"AB\nDE", "AB\r\nDE", "A\rB\nD\rE"}) {
        auto frame = makeFrame();
        drawText(*frame, text, letters().font, 20, 30, ink);
        EXPECT_EQ(std::memcmp(frame->pixels, expected->pixels, sizeof frame->pixels), 0) << text;
    }
    EXPECT_EQ(changedPixels(*expected), 4 * 24);
}

TEST(DrawText, WithoutAnAGlyphLinesStackOnTopOfEachOther) {
    SolidFont font(glyphLine('A', 3, 8, 0, 0, 4));
    auto frame = makeFrame();
    drawText(*frame, "A\nA", font.font, 0, 0, ink);
    EXPECT_EQ(changedPixels(*frame), 24);
}

TEST(DrawText, UndefinedCharactersNeitherDrawNorAdvance) {
    auto withGaps = makeFrame();
    drawText(*withGaps,
             "A\x01Z\xFF"
             "B",
             letters().font, 0, 0, ink);
    auto plain = makeFrame();
    drawText(*plain, "AB", letters().font, 0, 0, ink);
    EXPECT_EQ(std::memcmp(withGaps->pixels, plain->pixels, sizeof plain->pixels), 0);
}

TEST(DrawText, HighCharactersIndexTheTableDirectly) {
    auto frame = makeFrame();
    drawText(*frame,
             "A\xE9"
             "A",
             letters().font, 0, 0, ink);
    EXPECT_EQ(changedPixels(*frame), 24 + 4 + 24);
    EXPECT_EQ(frame->at(4, 1), ink) << "glyph 233";
    EXPECT_EQ(frame->at(7, 0), ink) << "the second A, three pixels on";
}

TEST(DrawText, HonoursAFixedAdvance) {
    SolidFont font(glyphLine('A', 3, 8, 0, 0, 4));
    font.font.fixedAdvance = 10;
    auto frame = makeFrame();
    drawText(*frame, "AA", font.font, 0, 0, ink);
    EXPECT_EQ(frame->at(10, 0), ink);
    EXPECT_EQ(frame->at(4, 0), 0u);
}

TEST(DrawScrollerLine, DrawsOnRow80AndOnlyWhatTheScreenShows) {
    const std::string longText = std::string(250, 'A') + "B";
    struct Case {
        const char* what;
        std::string text;
        int32_t x;
        int32_t inkPixels;
        int32_t firstInkColumn; // on row 80; -1 for none
    };
    const Case cases[] = {
        {"from column 0", "AB", 0, 48, 0},
        {"far left: skipped letters still advance the pen", longText, -1000, 24, 0},
        {"partly left", "AB", -2, 8 + 24, 0},
        {"right of the screen", "AB", 321, 0, -1},
        {"the last column", "AB", 319, 8, 319},
        {"line breaks show as blanks", "A\r\nB", 0, 48, 0},
        {"a long line is cut at the right edge", std::string(200, 'A'), 0, 80 * 24, 0},
    };
    for (const Case& c : cases) {
        auto frame = makeFrame();
        drawScrollerLine(*frame, c.text.c_str(), c.x, letters().font, ink);
        EXPECT_EQ(changedPixels(*frame), c.inkPixels) << c.what;
        int32_t first = -1;
        for (int32_t column = 0; column < frameWidth && first < 0; ++column) {
            first = frame->at(column, 80) == ink ? column : -1;
        }
        EXPECT_EQ(first, c.firstInkColumn) << c.what;
        EXPECT_EQ(frame->at(0, 79), 0u) << c.what;
    }
    // The blanks of a line break: B lands two advances (A and one blank each) further on.
    auto frame = makeFrame();
    drawScrollerLine(*frame, "A\nB", 0, letters().font, ink);
    EXPECT_EQ(frame->at(8, 80), ink);
    EXPECT_EQ(frame->at(4, 80), 0u);
}

} // namespace
