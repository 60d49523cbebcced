#include "font_sheet.h"

#include "text.h"

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <sstream>

namespace {

constexpr uint32_t inkColour = 0xFFFFFFFF;
constexpr int32_t atlasWidth = 128;
constexpr size_t maxGlyphWidth = 64; // so that every glyph fits an atlas row

bool parseNumber(const std::string& text, int32_t low, int32_t high, int32_t& value) {
    if (text.empty() || text.size() > 9 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    value = std::stoi(text);
    return value >= low && value <= high;
}

int32_t nextPowerOfTwo(int32_t value) {
    int32_t power = 1;
    while (power < value) {
        power *= 2;
    }
    return power;
}

} // namespace

bool parseFontSheet(const std::string& text, FontSheet& sheet, std::string& error) {
    sheet = FontSheet{};
    std::istringstream lines(text);
    std::string raw;
    int32_t lineNumber = 0;
    std::vector<std::string> rows; // of the glyph being read
    bool seen[256] = {};
    auto fail = [&](const std::string& message) {
        error = "line " + std::to_string(lineNumber) + ": " + message;
        return false;
    };
    auto glyphComplete = [&] { return sheet.glyphs.empty() || sheet.glyphs.back().ink.height > 0; };

    while (std::getline(lines, raw)) {
        ++lineNumber;
        const std::string line = trimmed(raw);
        if (line.empty() || line[0] == ';') {
            continue;
        }
        if (line[0] == '.' || line[0] == '#') {
            if (sheet.glyphs.empty() || glyphComplete()) {
                return fail("a glyph row outside a glyph");
            }
            if (line.find_first_not_of(".#") != std::string::npos) {
                return fail("glyph rows hold only '.' and '#'");
            }
            if (line.size() > maxGlyphWidth) {
                return fail("a glyph is at most " + std::to_string(maxGlyphWidth) + " pixels wide");
            }
            if (!rows.empty() && line.size() != rows[0].size()) {
                return fail("row of " + std::to_string(line.size()) + " pixels, expected " +
                            std::to_string(rows[0].size()));
            }
            rows.push_back(line);
            if (static_cast<int32_t>(rows.size()) == sheet.height) {
                Canvas& ink = sheet.glyphs.back().ink;
                ink = Canvas(static_cast<int32_t>(rows[0].size()), sheet.height);
                for (int32_t y = 0; y < ink.height; ++y) {
                    for (int32_t x = 0; x < ink.width; ++x) {
                        if (rows[y][x] == '#') {
                            ink.set(x, y, inkColour);
                        }
                    }
                }
                rows.clear();
            }
            continue;
        }

        const size_t blank = line.find_first_of(" \t");
        const std::string key = line.substr(0, blank);
        const std::string value = blank == std::string::npos ? "" : trimmed(line.substr(blank));
        if (!glyphComplete()) {
            return fail("the glyph above has " + std::to_string(rows.size()) + " rows, expected " +
                        std::to_string(sheet.height));
        }
        if (key == "char") {
            if (sheet.height == 0) {
                return fail("height must come before the first glyph");
            }
            int32_t id = 0;
            if (value.size() == 1) {
                id = static_cast<unsigned char>(value[0]);
            } else if (!parseNumber(value, 0, 254, id)) {
                return fail("a glyph is one character or a code from 0 to 254");
            }
            if (seen[id]) {
                return fail("glyph " + std::to_string(id) + " is drawn twice");
            }
            seen[id] = true;
            sheet.glyphs.push_back({id, Canvas()});
        } else if (key == "height" || key == "base" || key == "spacing") {
            if (!sheet.glyphs.empty()) {
                return fail(key + " must come before the first glyph");
            }
            int32_t number = 0;
            if (!parseNumber(value, key == "height" ? 1 : 0, 64, number)) {
                return fail(key + " needs a number from " + (key == "height" ? "1" : "0") +
                            " to 64");
            }
            (key == "height" ? sheet.height : key == "base" ? sheet.base : sheet.spacing) = number;
        } else {
            return fail("unknown line '" + line + "'");
        }
    }
    if (!glyphComplete()) {
        return fail("the last glyph has " + std::to_string(rows.size()) + " rows, expected " +
                    std::to_string(sheet.height));
    }
    if (sheet.glyphs.empty()) {
        return fail("no glyphs");
    }
    return true;
}

FontAtlas layOutAtlas(const FontSheet& sheet) {
    FontAtlas atlas;
    int32_t x = 0;
    int32_t y = 0;
    for (const SheetGlyph& glyph : sheet.glyphs) {
        if (x + glyph.ink.width > atlasWidth) {
            x = 0;
            y += sheet.height + 1;
        }
        atlas.places.push_back({x, y});
        x += glyph.ink.width + 1;
    }
    atlas.picture = Canvas(atlasWidth, nextPowerOfTwo(y + sheet.height));
    for (size_t i = 0; i < sheet.glyphs.size(); ++i) {
        atlas.picture.draw(sheet.glyphs[i].ink, atlas.places[i].x, atlas.places[i].y);
    }
    return atlas;
}

std::string fontDescription(const FontSheet& sheet, const FontAtlas& atlas, const std::string& face,
                            const std::string& atlasFileName) {
    char line[256];
    std::string text;
    std::snprintf(line, sizeof line,
                  "info face=\"%s\" size=%d bold=0 italic=0 charset=\"\" unicode=0 "
                  "stretchH=100 smooth=0 aa=1 padding=0,0,0,0 spacing=1,1 outline=0\n",
                  face.c_str(), sheet.height);
    text += line;
    std::snprintf(line, sizeof line,
                  "common lineHeight=%d base=%d scaleW=%d scaleH=%d pages=1 packed=0 "
                  "alphaChnl=0 redChnl=4 greenChnl=4 blueChnl=4\n",
                  sheet.height, sheet.base, atlas.picture.width, atlas.picture.height);
    text += line;
    text += "page id=0 file=\"" + atlasFileName + "\"\n";
    text += "chars count=" + std::to_string(sheet.glyphs.size()) + "\n";

    std::vector<size_t> byId(sheet.glyphs.size());
    std::iota(byId.begin(), byId.end(), 0);
    std::sort(byId.begin(), byId.end(),
              [&](size_t a, size_t b) { return sheet.glyphs[a].id < sheet.glyphs[b].id; });
    for (size_t i : byId) {
        const SheetGlyph& glyph = sheet.glyphs[i];
        std::snprintf(line, sizeof line,
                      "char id=%-4d x=%-5d y=%-5d width=%-5d height=%-5d xoffset=0     "
                      "yoffset=0     xadvance=%-5d page=0  chnl=15\n",
                      glyph.id, atlas.places[i].x, atlas.places[i].y, glyph.ink.width,
                      glyph.ink.height, glyph.ink.width + sheet.spacing);
        text += line;
    }
    return text;
}
