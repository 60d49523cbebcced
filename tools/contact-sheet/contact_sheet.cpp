#include "contact_sheet.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace {

constexpr int32_t scale = 2;
constexpr int32_t margin = 16;     // around the sheet and between items
constexpr int32_t frameGap = 4;    // between the frames of a series
constexpr int32_t labelGap = 4;    // between a label and its pictures
constexpr int32_t checkerSize = 8; // squares behind the pictures, in sheet pixels

constexpr uint32_t sheetColour = 0xFF1C1C22;
constexpr uint32_t labelColour = 0xFFD8D8E0;
constexpr uint32_t checkerDark = 0xFF34343C;
constexpr uint32_t checkerLight = 0xFF44444E;

// Splits "stem_NN.png" or "stem_x.png" into the stem and the part that numbers it.
bool seriesPart(const std::string& name, std::string& stem, std::string& part) {
    const std::string extension = ".png";
    if (name.size() <= extension.size() ||
        name.compare(name.size() - extension.size(), extension.size(), extension) != 0) {
        return false;
    }
    const std::string base = name.substr(0, name.size() - extension.size());
    const size_t underscore = base.rfind('_');
    if (underscore == std::string::npos || underscore == 0) {
        return false;
    }
    part = base.substr(underscore + 1);
    const bool twoDigits = part.size() == 2 && std::isdigit(static_cast<unsigned char>(part[0])) &&
                           std::isdigit(static_cast<unsigned char>(part[1]));
    const bool oneLetter = part.size() == 1 && part[0] >= 'a' && part[0] <= 'z';
    if (!twoDigits && !oneLetter) {
        return false;
    }
    stem = base.substr(0, underscore);
    return true;
}

int32_t itemWidth(const SheetItem& item, int32_t maxWidth, const AtlasFont& font) {
    int32_t width = textWidth(font, item.label);
    int32_t rowWidth = 0;
    for (const Canvas& frame : item.frames) {
        const int32_t w = frame.width * scale;
        if (rowWidth > 0 && rowWidth + frameGap + w > maxWidth) {
            rowWidth = 0;
        }
        rowWidth += (rowWidth > 0 ? frameGap : 0) + w;
        width = std::max(width, rowWidth);
    }
    return width;
}

// Draws the frames from (x, y) to the right, wrapping at maxWidth; returns the height used.
int32_t drawFrames(Canvas& sheet, const SheetItem& item, int32_t x, int32_t y, int32_t maxWidth,
                   bool draw) {
    int32_t column = 0;
    int32_t rowTop = 0;
    int32_t rowHeight = 0;
    for (const Canvas& frame : item.frames) {
        const int32_t w = frame.width * scale;
        if (column > 0 && column + frameGap + w > maxWidth) {
            column = 0;
            rowTop += rowHeight + frameGap;
            rowHeight = 0;
        }
        const int32_t left = x + column + (column > 0 ? frameGap : 0);
        if (draw) {
            for (int32_t sy = 0; sy < frame.height * scale; ++sy) {
                for (int32_t sx = 0; sx < w; ++sx) {
                    const uint32_t p = frame.at(sx / scale, sy / scale);
                    const bool light = ((sx / checkerSize) + (sy / checkerSize)) % 2 == 1;
                    sheet.set(left + sx, y + rowTop + sy,
                              (p >> 24) != 0 ? (p | 0xFF000000u)
                                             : (light ? checkerLight : checkerDark));
                }
            }
        }
        column = left - x + w;
        rowHeight = std::max(rowHeight, frame.height * scale);
    }
    return rowTop + rowHeight;
}

int32_t labelHeight(const AtlasFont& font) {
    return font.glyphs['a'].height;
}

} // namespace

std::vector<SheetItem> gatherSeries(std::vector<NamedPicture> pictures) {
    std::sort(pictures.begin(), pictures.end(),
              [](const NamedPicture& a, const NamedPicture& b) { return a.name < b.name; });
    std::map<std::string, int32_t> seriesCount;
    for (const NamedPicture& p : pictures) {
        std::string stem;
        std::string part;
        if (seriesPart(p.name, stem, part)) {
            ++seriesCount[stem + (std::isdigit(static_cast<unsigned char>(part[0])) ? "#" : "@")];
        }
    }
    std::vector<SheetItem> items;
    std::string openSeries; // the key of the series the last item gathers, if any
    std::string firstPart;
    for (NamedPicture& p : pictures) {
        std::string stem;
        std::string part;
        std::string key;
        if (seriesPart(p.name, stem, part)) {
            key = stem + (std::isdigit(static_cast<unsigned char>(part[0])) ? "#" : "@");
            if (seriesCount[key] < 2) {
                key.clear();
            }
        }
        if (key.empty()) {
            items.push_back(SheetItem{p.name, {std::move(p.picture)}});
            openSeries.clear();
            continue;
        }
        if (key != openSeries) {
            items.push_back(SheetItem{"", {}});
            openSeries = key;
            firstPart = part;
        }
        items.back().label = stem + "_" + firstPart + ".." + part + ".png";
        items.back().frames.push_back(std::move(p.picture));
    }
    return items;
}

Canvas drawContactSheet(const std::vector<SheetItem>& items, const AtlasFont& font,
                        int32_t maxWidth) {
    // Lay the items out in rows first, to know the sheet's size.
    struct Place {
        int32_t x;
        int32_t y;
    };
    std::vector<Place> places;
    const int32_t inner = maxWidth - 2 * margin;
    int32_t x = margin;
    int32_t y = margin;
    int32_t rowHeight = 0;
    int32_t sheetWidth = 0;
    Canvas none;
    for (const SheetItem& item : items) {
        const int32_t w = itemWidth(item, inner, font);
        const int32_t h = labelHeight(font) + labelGap + drawFrames(none, item, 0, 0, inner, false);
        if (x > margin && x + w > margin + inner) {
            x = margin;
            y += rowHeight + margin;
            rowHeight = 0;
        }
        places.push_back({x, y});
        sheetWidth = std::max(sheetWidth, x + w + margin);
        x += w + margin;
        rowHeight = std::max(rowHeight, h);
    }
    Canvas sheet(sheetWidth, y + rowHeight + margin, sheetColour);
    for (size_t i = 0; i < items.size(); ++i) {
        drawText(sheet, font, items[i].label, places[i].x, places[i].y, labelColour);
        drawFrames(sheet, items[i], places[i].x, places[i].y + labelHeight(font) + labelGap, inner,
                   true);
    }
    return sheet;
}
