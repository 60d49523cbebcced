// Pixel sheets: small pictures written as text, one character per pixel, with a legend that
// gives each character its colour. The asset sources of sprites, buttons and glyphs use them.
//
//     # a comment
//     . = transparent
//     K = #1a1c2c
//     W = #ffffff
//
//     ..KK..
//     .KWWK.
//     ..KK..
//
// Legend lines come first (one character, '=', a colour #rrggbb or #aarrggbb, or the word
// transparent), then the rows, all of one length. Blank lines and '#' comments are skipped.
#pragma once

#include "canvas.h"

#include <string>

// False, with the reason in `error` (naming the line), when the text is not a valid sheet.
bool parsePixelSheet(const std::string& text, Canvas& sheet, std::string& error);

// Reads and parses a sheet file; the error names the file.
bool loadPixelSheet(const std::string& path, Canvas& sheet, std::string& error);
