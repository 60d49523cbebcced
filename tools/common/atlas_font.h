// A built bitmap font (the .fnt description and its atlas picture, as the font generator
// writes them) read back by a build-time tool, so that labels in pictures and on the contact
// sheet are set in the program's own fonts. Text is drawn as the program draws it.
#pragma once

#include "canvas.h"

#include <array>
#include <cstdint>
#include <string>

struct AtlasGlyph {
    int32_t x = 0; // rectangle in the atlas
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t xoffset = 0; // from the pen position to the rectangle's top-left corner
    int32_t yoffset = 0;
    int32_t xadvance = 0;
};

struct AtlasFont {
    Canvas atlas; // only the alpha byte counts: non-zero is ink
    std::array<AtlasGlyph, 256> glyphs{};

    // Whether the description has a glyph for the character (every glyph moves the pen on).
    bool hasGlyph(unsigned char c) const { return glyphs[c].xadvance > 0; }
};

// A font from the text of its .fnt description and its atlas picture. False, with the reason
// in `error`, when the description has a broken glyph line or none at all.
bool parseAtlasFont(const std::string& description, Canvas atlas, AtlasFont& font,
                    std::string& error);

// Reads FOLDER/NAME.fnt and FOLDER/NAME_0.png. False, with the reason in `error`, when a file is
// missing or not a font.
bool loadAtlasFont(const std::string& folder, const std::string& name, AtlasFont& font,
                   std::string& error);

// The pen advance of a one-line text: the sum of its glyphs' xadvance.
int32_t textWidth(const AtlasFont& font, const std::string& text);

// Rows from the pen row to the lowest ink of any glyph of the text, plus one.
int32_t textDepth(const AtlasFont& font, const std::string& text);

// Draws a one-line text with its pen starting at (x, y), every ink pixel in `colour`.
void drawText(Canvas& canvas, const AtlasFont& font, const std::string& text, int32_t x, int32_t y,
              uint32_t colour);
