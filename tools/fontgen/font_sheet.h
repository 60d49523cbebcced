// Font sheets: the source of a bitmap font as text, every glyph drawn as rows of '.' (blank)
// and '#' (ink), and the BMFont files made from it (an atlas picture and a .fnt text). Used
// by the fontgen tool at build time.
//
//     ; comment lines start with a semicolon
//     height 8      rows of every glyph
//     base 7        the baseline row, for the description's common line
//     spacing 1     blank columns the pen moves on after a glyph's own width
//
//     char A        one character, or a decimal code 0 to 254 ("char 32" is the blank)
//     .##.
//     #..#
//     ...           (exactly `height` rows, all of one width)
#pragma once

#include "canvas.h"

#include <cstdint>
#include <string>
#include <vector>

struct SheetGlyph {
    int32_t id = 0; // the character's byte value
    Canvas ink;     // width x height, opaque white where the sheet has '#'
};

struct FontSheet {
    int32_t height = 0;  // rows of every glyph, pixels
    int32_t base = 0;    // baseline row, pixels from the top
    int32_t spacing = 0; // pixels between one glyph's right edge and the next pen position
    std::vector<SheetGlyph> glyphs; // in the order of the sheet
};

// False, with the reason and its line in `error`, when the text is not a valid sheet.
bool parseFontSheet(const std::string& text, FontSheet& sheet, std::string& error);

// Where each glyph went in the atlas, in the sheet's order.
struct AtlasPlace {
    int32_t x = 0;
    int32_t y = 0;
};

struct FontAtlas {
    Canvas picture; // power-of-two sides, glyphs one pixel apart
    std::vector<AtlasPlace> places;
};

FontAtlas layOutAtlas(const FontSheet& sheet);

// The .fnt text in the BMFont tool's layout: info, common, page and chars lines, then one
// char line per glyph in id order, every line ending in a line feed.
std::string fontDescription(const FontSheet& sheet, const FontAtlas& atlas, const std::string& face,
                            const std::string& atlasFileName);
