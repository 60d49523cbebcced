#include "atlas_font.h"

#include "text.h"

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <utility>

bool parseAtlasFont(const std::string& description, Canvas atlas, AtlasFont& font,
                    std::string& error) {
    font = AtlasFont{};
    std::istringstream lines(description);
    int32_t glyphCount = 0;
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("char ", 0) != 0) {
            continue;
        }
        int id = -1;
        AtlasGlyph g;
        if (std::sscanf(line.c_str(),
                        "char id=%d x=%d y=%d width=%d height=%d xoffset=%d yoffset=%d xadvance=%d",
                        &id, &g.x, &g.y, &g.width, &g.height, &g.xoffset, &g.yoffset,
                        &g.xadvance) != 8 ||
            id < 0 || id > 254) {
            error = "bad glyph line: " + line;
            return false;
        }
        font.glyphs[static_cast<size_t>(id)] = g;
        ++glyphCount;
    }
    if (glyphCount == 0) {
        error = "no glyphs";
        return false;
    }
    font.atlas = std::move(atlas);
    return true;
}

bool loadAtlasFont(const std::string& folder, const std::string& name, AtlasFont& font,
                   std::string& error) {
    const std::string descriptionPath = folder + "/" + name + ".fnt";
    std::string description;
    if (!readTextFile(descriptionPath, description, error)) {
        return false;
    }
    Canvas atlas;
    if (!readPng(folder + "/" + name + "_0.png", atlas, error)) {
        return false;
    }
    if (!parseAtlasFont(description, std::move(atlas), font, error)) {
        error = descriptionPath + ": " + error;
        return false;
    }
    return true;
}

namespace {

// Calls ink(column, row) for each pixel of the glyph's rectangle that lies in the atlas and has
// ink there (alpha not 0).
template <typename Ink> void forEachInkPixel(const AtlasFont& font, const AtlasGlyph& g, Ink ink) {
    for (int32_t row = 0; row < g.height; ++row) {
        for (int32_t column = 0; column < g.width; ++column) {
            if (font.atlas.contains(g.x + column, g.y + row) &&
                (font.atlas.at(g.x + column, g.y + row) >> 24) != 0) {
                ink(column, row);
            }
        }
    }
}

} // namespace

int32_t textWidth(const AtlasFont& font, const std::string& text) {
    int32_t width = 0;
    for (unsigned char c : text) {
        width += font.glyphs[c].xadvance;
    }
    return width;
}

int32_t textDepth(const AtlasFont& font, const std::string& text) {
    int32_t depth = 0;
    for (unsigned char c : text) {
        const AtlasGlyph& g = font.glyphs[c];
        forEachInkPixel(font, g, [&depth, &g](int32_t, int32_t row) {
            depth = std::max(depth, g.yoffset + row + 1);
        });
    }
    return depth;
}

void drawText(Canvas& canvas, const AtlasFont& font, const std::string& text, int32_t x, int32_t y,
              uint32_t colour) {
    for (unsigned char c : text) {
        const AtlasGlyph& g = font.glyphs[c];
        forEachInkPixel(font, g, [&](int32_t column, int32_t row) {
            canvas.set(x + g.xoffset + column, y + g.yoffset + row, colour);
        });
        x += g.xadvance;
    }
}
