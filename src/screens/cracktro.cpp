#include "screens/cracktro.h"

#include "audio/audio_library.h"
#include "core/program.h"
#include "render/colour.h"
#include "render/font.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

constexpr uint16_t keySpace = 32;

constexpr const char* logoNames[4] = {"vorthanelogo_blue.png", "vorthanelogo_green.png",
                                      "vorthanelogo_red.png", "vorthanelogo_grey.png"};

// Palette entries of the title's shimmer and of the greetings' colour bands.
constexpr uint8_t titleColours[8] = {12, 11, 12, 15, 1, 15, 12, 11};
constexpr uint8_t greetColours[48] = {10, 7, 10, 10, 2,  10, 2,  2,  9, 2,  9, 9, 7,  9, 7,  7,
                                      1,  7, 1,  1,  7,  1,  7,  7,  9, 7,  9, 9, 5,  9, 5,  5,
                                      13, 5, 13, 13, 14, 13, 14, 14, 1, 14, 1, 1, 10, 1, 10, 10};

constexpr const char* title = ".........Crush And Shatter.........";
constexpr int32_t greetingsRow = 123; // top row of the enlarged greetings
constexpr int32_t greetingsPitch = 8; // grid of the enlarged font pixels
constexpr int32_t greetingsBlock = 6; // each font pixel's block, leaving a 2-pixel gap

// One logo row, shifted by s pixels (left when positive), copied plain into the frame row. A
// picture of another width than the frame's is laid out from the frame's left edge all the
// same; only what lies inside both the picture and the frame is copied.
void copyLogoRow(Framebuffer& frame, const Image& logo, int32_t row, int32_t shift) {
    if (row >= logo.height || row >= frameHeight) {
        return;
    }
    int32_t fromColumn = shift > 0 ? shift : 0;
    int32_t toColumn = shift > 0 ? 0 : -shift;
    int32_t count = logo.width - (shift > 0 ? shift : -shift);
    count = std::min(count, frameWidth - toColumn);
    if (count <= 0) {
        return;
    }
    std::memcpy(&frame.at(toColumn, row),
                &logo.pixels[static_cast<size_t>(row) * logo.width + fromColumn],
                sizeof(uint32_t) * static_cast<size_t>(count));
}

// Of a glyph edge's indices 0 to length - 1, the ones that lie inside the atlas (pixels outside
// it have no ink), in 64 bits so that no value of a font description overflows.
struct AtlasSpan {
    int64_t first;
    int64_t end;
};

AtlasSpan insideAtlas(int32_t atlasStart, int32_t length, int32_t atlasLength) {
    int64_t first = std::max<int64_t>(0, -int64_t{atlasStart});
    int64_t end = std::min<int64_t>(length, int64_t{atlasLength} - atlasStart);
    return {first, std::max(first, end)};
}

// One enlarged font pixel: a 6x6 block whose rows take their colours from the bands.
void drawGreetingsBlock(Framebuffer& frame, int32_t left, int32_t gy, uint32_t logoPhase) {
    for (int32_t r = 0; r < greetingsBlock; ++r) {
        int32_t y = greetingsRow + greetingsPitch * gy + r;
        if (y >= frameHeight) {
            return;
        }
        uint32_t band = (static_cast<uint32_t>(greetingsPitch * gy + r) + logoPhase) % 48;
        uint32_t colour = c64Palette[greetColours[band]];
        for (int32_t c = 0; c < greetingsBlock; ++c) {
            int32_t x = left + c;
            if (x >= frameWidth) {
                break;
            }
            if (x >= 0) {
                frame.at(x, y) = colour;
            }
        }
    }
}

} // namespace

const char* Cracktro::scroller() const {
    return scrollerText.data ? reinterpret_cast<const char*>(scrollerText.data.get()) : "";
}

void Cracktro::load(uint32_t nowMs) {
    // The greetings: 25 tags of two or three lower-case letters, made anew at every start. The
    // letters of a tag are drawn from the last to the first.
    std::memset(greetings, 0, sizeof greetings);
    std::strcpy(greetings, "Greetings to");
    program.random.seed(nowMs);
    for (int32_t tag = 0; tag < 25; ++tag) {
        int32_t letterCount = program.random.next() <= 499 ? 2 : 3;
        char letters[3];
        for (int32_t i = letterCount - 1; i >= 0; --i) {
            letters[i] = static_cast<char>('a' + program.random.next() % 26);
        }
        size_t end = std::strlen(greetings);
        greetings[end] = ' ';
        std::memcpy(greetings + end + 1, letters, static_cast<size_t>(letterCount));
    }

    greetScroll = 0;
    tickCount = 0;
    program.tickPeriodMs = 10;
    for (int32_t k = 0; k < 4; ++k) {
        loadImage(program.interfaceArchive, logos[k], logoNames[k]);
    }

    titlePhase = 0;
    textScroll = 0;
    logoPhase = 0;
    std::fill(std::begin(sineTable), std::end(sineTable), 0);
    for (int32_t k = 0; k < 16; ++k) {
        sineTable[k] = static_cast<int8_t>(4 * std::sin(2 * 3.141592 * k / 16));
    }

    loadByName(program.interfaceArchive, "scroller.txt", scrollerText, LoadAs::Text);
}

bool Cracktro::onKey(uint16_t code) {
    if (code != keySpace) {
        return false;
    }
    audio::channelStop(clipChannel(music));
    program.screenId = 3;
    return true;
}

void Cracktro::tick() {
    greetScroll += 2;
    if (greetScroll > (std::strlen(greetings) + 5) * 64) {
        greetScroll = 0;
    }
    textScroll += 1;
    if (textScroll > std::strlen(scroller()) * 8 + 320) {
        textScroll = 0;
    }
    ++tickCount;
    if (tickCount % 8 == 0) {
        ++titlePhase;
    }
    if (tickCount % 4 == 0) {
        ++logoPhase;
    }
}

void Cracktro::render() {
    Framebuffer& frame = program.framebuffer;
    const BitmapFont& font = program.mosaicFont;

    // The logo comes into view from its bottom row up, one row per phase step; colouring bands
    // of 127 rows and a 16-row sine wobble travel up through it.
    const int32_t logoHeight = logos[0].height;
    for (int32_t i = 0; i < logoHeight; ++i) {
        uint32_t row = static_cast<uint32_t>(i);
        const Image& logo = logos[((row + logoPhase - 8) / 127) % 4];
        int32_t shift = 2 * sineTable[(row + logoPhase) % 128];
        if (row + logoPhase > static_cast<uint32_t>(logoHeight)) {
            copyLogoRow(frame, logo, i, shift);
        }
    }

    drawText(frame, "Against Probability", font, 80, 64, c64Palette[1]);
    drawScrollerLine(frame, scroller(), 320 - static_cast<int32_t>(textScroll), font,
                     c64Palette[10]);
    drawText(frame, "presents", font, 128, 96, c64Palette[1]);
    for (int32_t j = 0; title[j] != '\0'; ++j) {
        uint32_t colour = c64Palette[titleColours[(static_cast<uint32_t>(j) + titlePhase) % 8]];
        drawGlyph(frame, static_cast<uint8_t>(title[j]), font, 16 + 8 * j, 112, colour);
    }
    drawText(frame, "Trained in Hungary: 2014.04.20", font, 32, 128, c64Palette[7]);
    drawText(frame, "Press Space to continue", font, 64, 192, c64Palette[1]);

    // The greetings, each ink pixel of the font enlarged to a block on an 8-pixel grid. Only
    // the part of a glyph inside the atlas whose blocks can reach the frame is walked, and the
    // pen is 64-bit: a damaged font description neither overflows it nor stalls the frame.
    int64_t penX = frameWidth - int64_t{greetScroll};
    for (const char* c = greetings; *c != '\0' && penX <= frameWidth; ++c) {
        const Glyph& g = font.glyphs[static_cast<uint8_t>(*c)];
        const AtlasSpan rows = insideAtlas(g.y, g.height, font.atlas.height);
        const AtlasSpan columns = insideAtlas(g.x, g.width, font.atlas.width);
        for (int64_t gy = rows.first;
             gy < rows.end && greetingsRow + greetingsPitch * gy < frameHeight; ++gy) {
            const int64_t atlasRow = (g.y + gy) * font.atlas.width + g.x;
            for (int64_t gx = columns.first; gx < columns.end; ++gx) {
                const int64_t left = penX + greetingsPitch * gx;
                if (left >= frameWidth) {
                    break;
                }
                if (left + greetingsBlock > 0 && (font.atlas.pixels[atlasRow + gx] >> 24) != 0) {
                    drawGreetingsBlock(frame, static_cast<int32_t>(left), static_cast<int32_t>(gy),
                                       logoPhase);
                }
            }
        }
        penX += greetingsPitch * int64_t{g.xadvance};
    }
}
