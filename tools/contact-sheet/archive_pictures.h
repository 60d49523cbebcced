// Pictures and the label font of a packed interface archive, read with the program's own reader
// and picture loader, for the tools that lay them out on sheets (the contact sheet, the demo's
// strip). Build-time tools only.
#pragma once

#include "atlas_font.h"
#include "canvas.h"
#include "resources/image.h"

#include <string>

// The picture as a canvas, pixel for pixel.
Canvas canvasOf(const Image& image);

// The archive's c64font, for labels. False, with the reason in `error`, when it has none.
bool loadLabelFont(PackArchive& archive, AtlasFont& font, std::string& error);
