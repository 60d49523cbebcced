// Bitmap fonts: an atlas picture whose alpha byte is the ink, and a glyph table read from a
// BMFont text description (.fnt). The three fonts are loaded at start-up and only read after;
// the screens draw with them in one solid colour per call. Main thread only.
#pragma once

#include "core/framebuffer.h"
#include "resources/image.h"
#include "resources/pack_archive.h"

#include <cstdint>
#include <string_view>

// Where one character lies in the atlas and how it is placed; all 0 for a character that the
// description does not define (no ink, no advance). Field names are the .fnt file's keys.
struct Glyph {
    int32_t x = 0; // top-left corner of the rectangle in the atlas, atlas pixels
    int32_t y = 0;
    int32_t width = 0; // size of the rectangle; 0 means no ink
    int32_t height = 0;
    int32_t xoffset = 0; // where the rectangle is drawn, relative to the pen
    int32_t yoffset = 0;
    int32_t xadvance = 0; // pixels the pen moves right after the character
};

struct BitmapFont {
    Image atlas;               // only the alpha byte counts: non-zero is ink
    Glyph glyphs[256];         // by the character's byte value
    int32_t fixedAdvance = -1; // pen advance for every character instead of its own, or -1
};

// Reads the glyph lines of a .fnt text into `font`, after clearing every glyph and setting
// fixedAdvance to -1. Only lines that begin with "char " and end in a line feed count (a
// final line without one is not read); ids 0 to 254 are stored, others ignored. Keys after
// xadvance are ignored, and values missing from a glyph line are 0. Never fails: what does
// not scan is skipped.
void parseFontDescription(std::string_view text, BitmapFont& font);

// Loads a font from the archive: the atlas picture, then the description as text. False, with
// the font partly filled, when either cannot be loaded.
bool loadFont(PackArchive& archive, BitmapFont& font, const char* descriptionName,
              const char* atlasName);

// Draws one character in `colour` (written unchanged) with its pen at (x, y). Rectangle parts
// outside the frame or outside the atlas draw nothing.
void drawGlyph(Framebuffer& frame, uint8_t character, const BitmapFont& font, int32_t x, int32_t y,
               uint32_t colour);

// Draws zero-terminated text with the first line's pen at (x, y). A line feed starts the next
// line one 'a' glyph height lower, at x again; a carriage return is ignored.
void drawText(Framebuffer& frame, const char* text, const BitmapFont& font, int32_t x, int32_t y,
              uint32_t colour);

// Draws zero-terminated text as one line on pen row 80, starting at x, which may lie far left
// of the screen. Line breaks show as blanks; characters wholly left of the screen are skipped
// but advance the pen, and the walk stops once the pen passes column 320.
void drawScrollerLine(Framebuffer& frame, const char* text, int32_t x, const BitmapFont& font,
                      uint32_t colour);
