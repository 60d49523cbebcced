#include "render/font.h"

#include <algorithm>
#include <cstddef>
#include <limits>

namespace {

constexpr int32_t scrollerPenRow = 80;

// Scans one glyph line the way a scanf format does: a blank in the format matches any run of
// white space (also none), a number is optional white space, an optional sign and at least
// one decimal digit. Numbers beyond the 32-bit range saturate.
struct LineScanner {
    std::string_view rest;

    static bool isSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

    void skipSpace() {
        while (!rest.empty() && isSpace(rest.front())) {
            rest.remove_prefix(1);
        }
    }

    bool literal(std::string_view word) {
        if (rest.substr(0, word.size()) != word) {
            return false;
        }
        rest.remove_prefix(word.size());
        return true;
    }

    bool integer(int32_t& value) {
        skipSpace();
        bool negative = false;
        if (!rest.empty() && (rest.front() == '-' || rest.front() == '+')) {
            negative = rest.front() == '-';
            rest.remove_prefix(1);
        }
        if (rest.empty() || rest.front() < '0' || rest.front() > '9') {
            return false;
        }
        constexpr int64_t limit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
        int64_t magnitude = 0;
        while (!rest.empty() && rest.front() >= '0' && rest.front() <= '9') {
            magnitude = std::min(limit, magnitude * 10 + (rest.front() - '0'));
            rest.remove_prefix(1);
        }
        int64_t signedValue = negative ? -magnitude : magnitude;
        value = static_cast<int32_t>(std::clamp<int64_t>(
            signedValue, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
        return true;
    }
};

// A line that begins with "char ": the id and the seven glyph fields, in this order.
void parseGlyphLine(std::string_view line, BitmapFont& font) {
    static constexpr std::string_view keys[] = {
        "id=", "x=", "y=", "width=", "height=", "xoffset=", "yoffset=", "xadvance="};
    int32_t values[8] = {};
    int32_t scanned = 0;
    LineScanner scanner{line.substr(4)}; // past "char"; its blank is the first skipSpace
    for (std::string_view key : keys) {
        scanner.skipSpace();
        if (!scanner.literal(key) || !scanner.integer(values[scanned])) {
            break;
        }
        ++scanned;
    }
    const int32_t id = values[0];
    if (scanned == 0 || id < 0 || id > 254) {
        return;
    }
    font.glyphs[id] = {values[1], values[2], values[3], values[4], values[5], values[6], values[7]};
}

int32_t penAdvance(const BitmapFont& font, uint8_t character) {
    return font.fixedAdvance != -1 ? font.fixedAdvance : font.glyphs[character].xadvance;
}

// The rectangle indices 0 to length - 1 of a glyph edge that are both on the screen (the
// rectangle drawn from `screenStart`) and inside the atlas (read from `atlasStart`). Pixels
// outside the atlas have no ink, so leaving them out draws the same; 64-bit arithmetic keeps
// any value from the description safe.
struct Span {
    int64_t first;
    int64_t end;
};

Span inkSpan(int64_t screenStart, int32_t length, int32_t screenLength, int32_t atlasStart,
             int32_t atlasLength) {
    int64_t first = std::max<int64_t>({0, -screenStart, -int64_t{atlasStart}});
    int64_t end =
        std::min<int64_t>({length, screenLength - screenStart, int64_t{atlasLength} - atlasStart});
    return {first, std::max(first, end)};
}

// drawGlyph with the pen in 64 bits, so that the text drawers' pen never overflows.
void drawGlyphAt(Framebuffer& frame, uint8_t character, const BitmapFont& font, int64_t x,
                 int64_t y, uint32_t colour) {
    const Glyph& g = font.glyphs[character];
    const int64_t left = x + g.xoffset;
    const int64_t top = y + g.yoffset;
    const Span rows = inkSpan(top, g.height, frameHeight, g.y, font.atlas.height);
    const Span columns = inkSpan(left, g.width, frameWidth, g.x, font.atlas.width);
    for (int64_t i = rows.first; i < rows.end; ++i) {
        const uint32_t* atlasRow =
            font.atlas.pixels.get() + static_cast<size_t>(g.y + i) * font.atlas.width + g.x;
        uint32_t* frameRow = &frame.pixels[static_cast<size_t>(top + i) * frameWidth];
        // Unset pixels are written back unchanged, which keeps the loop free of branches.
        for (int64_t j = columns.first; j < columns.end; ++j) {
            uint32_t& pixel = frameRow[left + j];
            pixel = (atlasRow[j] >> 24) != 0 ? colour : pixel;
        }
    }
}

} // namespace

void parseFontDescription(std::string_view text, BitmapFont& font) {
    font.fixedAdvance = -1;
    std::fill(std::begin(font.glyphs), std::end(font.glyphs), Glyph{});
    size_t cursor = 0;
    for (size_t lineFeed = text.find('\n'); lineFeed != std::string_view::npos;
         lineFeed = text.find('\n', cursor)) {
        std::string_view line = text.substr(cursor, lineFeed - cursor);
        if (line.substr(0, 5) == "char ") {
            parseGlyphLine(line, font);
        }
        cursor = lineFeed + 1;
    }
}

void drawGlyph(Framebuffer& frame, uint8_t character, const BitmapFont& font, int32_t x, int32_t y,
               uint32_t colour) {
    drawGlyphAt(frame, character, font, x, y, colour);
}

void drawText(Framebuffer& frame, const char* text, const BitmapFont& font, int32_t x, int32_t y,
              uint32_t colour) {
    int64_t dx = 0;
    int64_t dy = 0;
    for (const char* c = text; *c != '\0'; ++c) {
        const auto character = static_cast<uint8_t>(*c);
        if (character == '\n') {
            dy += font.glyphs['a'].height;
            dx = 0;
        } else if (character != '\r') {
            drawGlyphAt(frame, character, font, x + dx, y + dy, colour);
            dx += penAdvance(font, character);
        }
    }
}

void drawScrollerLine(Framebuffer& frame, const char* text, int32_t x, const BitmapFont& font,
                      uint32_t colour) {
    int64_t dx = 0;
    for (const char* c = text; *c != '\0'; ++c) {
        auto character = static_cast<uint8_t>(*c);
        if (character == '\n' || character == '\r') {
            character = ' ';
        }
        if (x + dx + font.glyphs[character].width > 0) {
            drawGlyphAt(frame, character, font, x + dx, scrollerPenRow, colour);
        }
        dx += penAdvance(font, character);
        if (x + dx > frameWidth) {
            return;
        }
    }
}

bool loadFont(PackArchive& archive, BitmapFont& font, const char* descriptionName,
              const char* atlasName) {
    if (!loadImage(archive, font.atlas, atlasName)) {
        return false;
    }
    ByteBuffer description;
    if (!loadByName(archive, descriptionName, description, LoadAs::Text)) {
        return false;
    }
    parseFontDescription(std::string_view(reinterpret_cast<const char*>(description.data.get()),
                                           static_cast<size_t>(description.lengthBytes)),
                         font);
    return true;
}
