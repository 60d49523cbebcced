// Screen 2, the cracktro: a logo revealed from the bottom up that wobbles and cycles through
// four colourings, the presenting group, a text scroller, the shimmering title, a release line,
// a prompt and a line of enlarged colour-cycled greetings. Space stops its music and leads to
// the trainer screen. Runs at 10 ms a tick. Main thread only.
#pragma once

#include "audio/music.h"
#include "core/gui_element.h"
#include "resources/image.h"
#include "resources/pack_archive.h"

#include <cstdint>

struct Program;

struct Cracktro : GUIElement {
    Program& program;
    Image logos[4];             // blue, green, red, grey colourings of one logo
    int8_t sineTable[128] = {}; // horizontal wobble per logo row; one period in entries 0-15
    AudioClip music;            // "CRACKTRO.IT", loaded and started by the boot screen
    uint32_t greetScroll = 0;   // pixels the greetings line has moved left
    uint32_t logoPhase = 0;     // logo and greetings animation phase, +1 every 4 ticks
    uint32_t textScroll = 0;    // pixels the text scroller has moved left
    uint32_t titlePhase = 0;    // title shimmer phase, +1 every 8 ticks
    uint32_t tickCount = 0;     // ticks since the screen became active
    ByteBuffer scrollerText;    // "scroller.txt" with a zero after it; empty when missing
    char greetings[2048] = {};  // "Greetings to" and 25 random tags

    explicit Cracktro(Program& owner) : program(owner) {}

    // Start-up's loading: greetings (seeding the shared generator with nowMs), the tick period,
    // the logos, the sine table and the scroller text.
    void load(uint32_t nowMs);
    bool onKey(uint16_t code) override;
    void render() override;
    void tick() override;

    // The scroller text, or "" when it could not be loaded.
    const char* scroller() const;
};
