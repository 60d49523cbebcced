#include "contact_sheet.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <utility>

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

// The series a name belongs to, "stem_NN" or "stem_x" for "stem_NN.png" or "stem_x.png" (two
// digits, or one lower-case letter), with the part that numbers it; false for other names.
bool seriesOf(const std::string& name, std::string& series, std::string& stem, std::string& part) {
    if (!name.ends_with(".png")) {
        return false;
    }
    const std::string base = name.substr(0, name.size() - 4);
    const size_t underscore = base.rfind('_');
    if (underscore == std::string::npos || underscore == 0) {
        return false;
    }
    stem = base.substr(0, underscore);
    part = base.substr(underscore + 1);
    auto digit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
    if (part.size() == 2 && digit(part[0]) && digit(part[1])) {
        series = stem + "_NN";
        return true;
    }
    if (part.size() == 1 && part[0] >= 'a' && part[0] <= 'z') {
        series = stem + "_x";
        return true;
    }
    return false;
}

// Where an item's frames go, from its top-left corner, left to right and wrapping at maxWidth.
struct FrameLayout {
    std::vector<std::pair<int32_t, int32_t>> places; // x, y of each frame
    int32_t width = 0;
    int32_t height = 0;
};

FrameLayout layOutFrames(const SheetItem& item, int32_t maxWidth) {
    FrameLayout layout;
    int32_t x = 0;
    int32_t rowTop = 0;
    int32_t rowHeight = 0;
    for (const Canvas& frame : item.frames) {
        const int32_t w = frame.width * scale;
        if (x > 0 && x + frameGap + w > maxWidth) {
            x = 0;
            rowTop += rowHeight + frameGap;
            rowHeight = 0;
        }
        if (x > 0) {
            x += frameGap;
        }
        layout.places.emplace_back(x, rowTop);
        x += w;
        rowHeight = std::max(rowHeight, frame.height * scale);
        layout.width = std::max(layout.width, x);
        layout.height = rowTop + rowHeight;
    }
    return layout;
}

// A frame doubled, its transparent pixels showing the checker.
void drawFrame(Canvas& sheet, const Canvas& frame, int32_t left, int32_t top) {
    for (int32_t y = 0; y < frame.height * scale; ++y) {
        for (int32_t x = 0; x < frame.width * scale; ++x) {
            const uint32_t p = frame.at(x / scale, y / scale);
            const bool light = ((x / checkerSize) + (y / checkerSize)) % 2 == 1;
            sheet.set(left + x, top + y,
                      (p >> 24) != 0 ? (p | 0xFF000000u) : (light ? checkerLight : checkerDark));
        }
    }
}

} // namespace

std::vector<SheetItem> gatherSeries(std::vector<NamedPicture> pictures) {
    std::sort(pictures.begin(), pictures.end(),
              [](const NamedPicture& a, const NamedPicture& b) { return a.name < b.name; });
    std::map<std::string, int32_t> members;
    for (const NamedPicture& p : pictures) {
        std::string series;
        std::string stem;
        std::string part;
        if (seriesOf(p.name, series, stem, part)) {
            ++members[series];
        }
    }
    std::vector<SheetItem> items;
    std::string openSeries; // the series the last item gathers, if any
    std::string firstPart;
    for (NamedPicture& p : pictures) {
        std::string series;
        std::string stem;
        std::string part;
        if (!seriesOf(p.name, series, stem, part) || members[series] < 2) {
            items.push_back(SheetItem{p.name, {std::move(p.picture)}});
            openSeries.clear();
            continue;
        }
        if (series != openSeries) {
            items.push_back(SheetItem{});
            openSeries = series;
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
    const int32_t inner = maxWidth - 2 * margin;
    const int32_t labelHeight = font.glyphs['a'].height + labelGap;
    std::vector<FrameLayout> layouts;
    std::vector<std::pair<int32_t, int32_t>> places; // x, y of each item's label
    int32_t x = margin;
    int32_t y = margin;
    int32_t rowHeight = 0;
    int32_t sheetWidth = 0;
    for (const SheetItem& item : items) {
        layouts.push_back(layOutFrames(item, inner));
        const int32_t w = std::max(layouts.back().width, textWidth(font, item.label));
        if (x > margin && x + w > margin + inner) {
            x = margin;
            y += rowHeight + margin;
            rowHeight = 0;
        }
        places.emplace_back(x, y);
        sheetWidth = std::max(sheetWidth, x + w + margin);
        x += w + margin;
        rowHeight = std::max(rowHeight, labelHeight + layouts.back().height);
    }
    Canvas sheet(sheetWidth, y + rowHeight + margin, sheetColour);
    for (size_t i = 0; i < items.size(); ++i) {
        const auto [left, top] = places[i];
        drawText(sheet, font, items[i].label, left, top, labelColour);
        for (size_t f = 0; f < items[i].frames.size(); ++f) {
            const auto [fx, fy] = layouts[i].places[f];
            drawFrame(sheet, items[i].frames[f], left + fx, top + labelHeight + fy);
        }
    }
    return sheet;
}
