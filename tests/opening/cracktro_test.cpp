// The cracktro: its loading, the logo's reveal, wobble and colourings (with hand-made logo
// pictures of several sizes), the title's shimmer, the enlarged greetings, the wrapping of both
// scrolling lines, and Space, which alone leaves it and stops its music.
#include "opening/opening_run.h"

#include "audio/audio_library.h"
#include "core/random.h"
#include "platform/window_message.h"
#include "render/colour.h"
#include "render/font.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>

namespace {

// One period of the wobble, trunc(4 sin(2 pi k / 16)).
constexpr int8_t sinePeriod[16] = {0, 1, 2, 3, 3, 3, 2, 1, 0, -1, -2, -3, -3, -3, -2, -1};

// The colour bands of the greetings, by palette entry.
constexpr uint8_t greetColours[48] = {10, 7, 10, 10, 2,  10, 2,  2,  9, 2,  9, 9, 7,  9, 7,  7,
                                      1,  7, 1,  1,  7,  1,  7,  7,  9, 7,  9, 9, 5,  9, 5,  5,
                                      13, 5, 13, 13, 14, 13, 14, 14, 1, 14, 1, 1, 10, 1, 10, 10};

// A logo pixel that names its colouring (0 blue to 3 grey), row and column.
uint32_t logoPixel(int32_t colouring, int32_t row, int32_t column) {
    return 0xFF000000u | static_cast<uint32_t>(colouring + 1) << 20 |
           static_cast<uint32_t>(row) << 9 | static_cast<uint32_t>(column);
}

int32_t colouringOf(uint32_t pixel) {
    return static_cast<int32_t>(pixel >> 20 & 7) - 1;
}

struct Size {
    int32_t width;
    int32_t height;
};

Image logoPicture(Size size, int32_t colouring) {
    Image image;
    image.width = size.width;
    image.height = size.height;
    image.pixels = std::make_unique<uint32_t[]>(static_cast<size_t>(size.width) * size.height);
    for (int32_t row = 0; row < size.height; ++row) {
        for (int32_t column = 0; column < size.width; ++column) {
            image.pixels[static_cast<size_t>(row) * size.width + column] =
                logoPixel(colouring, row, column);
        }
    }
    return image;
}

// A cracktro that never started: loaded without an open archive, it has its sine table,
// counters and greetings but no pictures, fonts or scroller, so a render shows the logo alone.
struct LogoBench {
    std::unique_ptr<Program> program = std::make_unique<Program>();

    LogoBench() { program->cracktro.load(0); }

    // The blue picture, and the green, red and grey ones; each names its own colouring, or
    // all name the blue one.
    void setLogos(Size blue, Size others, bool oneColouring = false) {
        for (int32_t k = 0; k < 4; ++k) {
            program->cracktro.logos[k] = logoPicture(k == 0 ? blue : others, oneColouring ? 0 : k);
        }
    }

    const Framebuffer& render(uint32_t logoPhase) {
        Framebuffer& frame = program->framebuffer;
        std::fill(std::begin(frame.pixels), std::end(frame.pixels), 0u);
        program->cracktro.logoPhase = logoPhase;
        program->cracktro.render();
        return frame;
    }
};

TEST(Cracktro, LoadingSetsTheTickPeriodTheCountersTheSineTableAndThePictures) {
    HeadlessProgram run;
    ASSERT_TRUE(run.start());
    const Cracktro& cracktro = run.program->cracktro;
    EXPECT_EQ(run.program->tickPeriodMs, 10u);
    for (int32_t k = 0; k < 128; ++k) {
        EXPECT_EQ(cracktro.sineTable[k], k < 16 ? sinePeriod[k] : 0) << "entry " << k;
    }
    for (uint32_t counter : {cracktro.greetScroll, cracktro.textScroll, cracktro.logoPhase,
                             cracktro.titlePhase, cracktro.tickCount}) {
        EXPECT_EQ(counter, 0u);
    }
    for (const Image& logo : cracktro.logos) {
        EXPECT_EQ(logo.width, 320);
        EXPECT_GT(logo.height, 0);
    }
    EXPECT_GT(std::strlen(cracktro.scroller()), 600u) << "scroller.txt from the archive";
    EXPECT_EQ(clipChannel(cracktro.music), 0u) << "the boot screen loads the music";
}

TEST(Cracktro, TheLogoComesIntoViewFromItsBottomRowUp) {
    const struct {
        uint32_t logoPhase;
        int32_t firstRowShown; // 60: none
    } steps[] = {{0, 60}, {1, 60}, {2, 59}, {3, 58}, {30, 31}, {60, 1}, {61, 0}, {500, 0}};
    LogoBench bench;
    bench.setLogos({320, 60}, {320, 60});
    for (const auto& step : steps) {
        const Framebuffer& frame = bench.render(step.logoPhase);
        for (int32_t row = 0; row < frameHeight; ++row) {
            bool shown = frame.at(160, row) != 0;
            ASSERT_EQ(shown, row >= step.firstRowShown && row < 60)
                << "row " << row << " at phase " << step.logoPhase;
        }
    }
}

TEST(Cracktro, LogoRowsWobbleSixPixelsLeftAtPhaseOffset4AndRightAt12) {
    // At phase 384 row i stands at offset (i + 384) mod 128 = i of the wave. A positive shift
    // moves the row left; the pixels it uncovers stay black.
    constexpr int32_t shiftOfRow[20] = {0,  2,  4,  6,  6,  6,  4, 2, 0, -2,
                                        -4, -6, -6, -6, -4, -2, 0, 0, 0, 0};
    LogoBench bench;
    bench.setLogos({320, 20}, {320, 20}, true);
    const Framebuffer& frame = bench.render(384);
    for (int32_t row = 0; row < 20; ++row) {
        const int32_t shift = shiftOfRow[row];
        for (int32_t x = 0; x < frameWidth; ++x) {
            const int32_t source = x + shift;
            const uint32_t expected = source >= 0 && source < 320 ? logoPixel(0, row, source) : 0;
            ASSERT_EQ(frame.at(x, row), expected) << "row " << row << ", column " << x;
        }
    }
}

TEST(Cracktro, ColouringBandsOf127RowsMoveUpOneRowPerPhaseStep) {
    const struct {
        uint32_t logoPhase;
        int32_t row;
        int32_t colouring; // 0 blue, 1 green, 2 red, 3 grey
    } cases[] = {
        {100, 0, 0}, {100, 34, 0}, {100, 35, 1}, {101, 33, 0}, {101, 34, 1},
        {227, 0, 1}, {227, 35, 2}, {354, 35, 3}, {481, 35, 0},
    };
    LogoBench bench;
    bench.setLogos({320, 60}, {320, 60});
    for (const auto& c : cases) {
        EXPECT_EQ(colouringOf(bench.render(c.logoPhase).at(160, c.row)), c.colouring)
            << "row " << c.row << " at phase " << c.logoPhase;
    }
}

TEST(Cracktro, LogoRowsOfAnySizeStayInsideTheirPictureAndTheFrame) {
    // Pictures of another width are laid out from the frame's left edge like the 320-wide
    // ones; a row shows the columns [first, end) of the frame from picture column `source`
    // on, and the rest of the frame row stays black. Phases 16, 4 and 12 give row 0 the
    // shifts 0, 6 (left) and -6 (right) in the blue band; at 260 row 0 is moved left in the
    // green band; at 384 row 199 is not shifted.
    struct Case {
        const char* what;
        Size blue;
        Size others;
        uint32_t logoPhase;
        int32_t row;
        int32_t colouring;
        int32_t first;
        int32_t end;
        int32_t source;
    };
    const Case cases[] = {
        {"a frame-wide picture, not shifted", {320, 1}, {320, 1}, 16, 0, 0, 0, 320, 0},
        {"a narrow picture moved left", {10, 1}, {10, 1}, 4, 0, 0, 0, 4, 6},
        {"a narrow picture moved right", {10, 1}, {10, 1}, 12, 0, 0, 6, 10, 0},
        {"a picture narrower than its shift", {4, 1}, {4, 1}, 4, 0, 0, 0, 0, 0},
        {"a wide picture moved left", {400, 1}, {400, 1}, 4, 0, 0, 0, 320, 6},
        {"a wide picture moved right", {400, 1}, {400, 1}, 12, 0, 0, 6, 320, 0},
        {"a smaller colouring, in its band", {320, 2}, {8, 1}, 260, 0, 1, 0, 2, 6},
        {"a smaller colouring, below its last row", {320, 2}, {8, 1}, 260, 1, 1, 0, 0, 0},
        {"a picture taller than the frame, its last row on screen",
         {320, 250},
         {320, 250},
         384,
         199,
         0,
         0,
         320,
         0},
        {"an empty blue picture: no logo at all", {0, 0}, {320, 60}, 100, 10, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        LogoBench bench;
        bench.setLogos(c.blue, c.others);
        const Framebuffer& frame = bench.render(c.logoPhase);
        for (int32_t x = 0; x < frameWidth; ++x) {
            const bool inside = x >= c.first && x < c.end;
            const uint32_t expected =
                inside ? logoPixel(c.colouring, c.row, c.source + x - c.first) : 0;
            ASSERT_EQ(frame.at(x, c.row), expected) << c.what << ", column " << x;
        }
    }
}

TEST(Cracktro, TheTitleShimmersLeftwardThroughItsEightColours) {
    const uint32_t shimmer[8] = {c64Palette[12], c64Palette[11], c64Palette[12], c64Palette[15],
                                 c64Palette[1],  c64Palette[15], c64Palette[12], c64Palette[11]};
    HeadlessProgram run;
    ASSERT_TRUE(run.start());
    ASSERT_TRUE(reachCracktro(run));
    run.advance(0); // a render of the cracktro before its first tick
    for (uint32_t phase = 0; phase <= 8; ++phase) {
        ASSERT_EQ(run.program->cracktro.titlePhase, phase);
        // The ink of the title's characters 0 and 1 (dots) and 9 (the C), at an 8-pixel pitch.
        EXPECT_EQ(run.frame().at(16, 117), shimmer[phase % 8]) << "character 0, phase " << phase;
        EXPECT_EQ(run.frame().at(24, 117), shimmer[(phase + 1) % 8])
            << "character 1, phase " << phase;
        EXPECT_EQ(run.frame().at(88, 112), shimmer[(phase + 9) % 8])
            << "character 9, phase " << phase;
        run.runTicks(8);
    }
}

TEST(Cracktro, GreetingsAreColourBandedBlocksThatMoveUpOneRowPerPhaseStep) {
    HeadlessProgram run;
    ASSERT_TRUE(run.start());
    ASSERT_TRUE(reachCracktro(run));
    const Cracktro& cracktro = run.program->cracktro;
    // After 30 ticks the pen has moved 60 pixels in from the right edge: the first letter, G,
    // has ink in its first column on its rows 0 to 6 and in its whole row 0.
    run.runTicks(30);
    for (int32_t step = 0; step < 2; ++step) {
        const int32_t pen = 320 - static_cast<int32_t>(cracktro.greetScroll);
        const uint32_t phase = cracktro.logoPhase;
        const Framebuffer& frame = run.frame();
        for (int32_t gy = 0; gy < 7; ++gy) {
            for (int32_t r = 0; r < 8; ++r) {
                const int32_t y = 123 + 8 * gy + r;
                const uint32_t band = (static_cast<uint32_t>(8 * gy + r) + phase) % 48;
                const uint32_t expected = r < 6 ? c64Palette[greetColours[band]] : 0;
                for (int32_t x = pen; x < pen + 6; ++x) {
                    ASSERT_EQ(frame.at(x, y), expected)
                        << "(" << x << ", " << y << ") phase " << phase;
                }
            }
        }
        EXPECT_EQ(frame.at(pen + 6, 123), 0u) << "the gap between two blocks";
        EXPECT_EQ(frame.at(pen + 8, 123), c64Palette[greetColours[phase % 48]]);
        run.runTicks(4); // one phase step
    }
}

TEST(Cracktro, GreetingsAre25TagsDrawnFromTheSharedGeneratorAfterSeeding) {
    for (uint32_t seed : {0u, 1u, 7681u, 4000000000u}) {
        auto program = std::make_unique<Program>();
        program->cracktro.load(seed);
        Random reference;
        reference.seed(seed);
        // Each tag: a blank, then two letters if the first draw is at most 499, else three,
        // each 'a' + a draw mod 26, drawn from the last letter to the first.
        std::string expected = "Greetings to";
        for (int32_t tag = 0; tag < 25; ++tag) {
            char letters[3];
            const int32_t count = reference.next() <= 499 ? 2 : 3;
            for (int32_t i = count - 1; i >= 0; --i) {
                letters[i] = static_cast<char>('a' + reference.next() % 26);
            }
            expected += ' ';
            expected.append(letters, static_cast<size_t>(count));
        }
        EXPECT_EQ(program->cracktro.greetings, expected) << "seed " << seed;
        EXPECT_EQ(program->random.state, reference.state)
            << "the room draws on from where the greetings stopped, seed " << seed;
    }
}

TEST(Cracktro, StartUpSeedsTheGreetingsWithItsClockAndTheyHoldForTheRun) {
    // Seed 1 makes two of the rare two-letter tags.
    const char* seedOne = "Greetings to qh muh lya dfl if svc ggx fkw udq nfw vzo ktr erp xgg rnp "
                          "tsy ycw cyy vep fek nzm kkm wvs ner cyk";
    HeadlessProgram run;
    run.platform.nowMs = 1;
    ASSERT_TRUE(run.start());
    EXPECT_STREQ(run.program->cracktro.greetings, seedOne);
    ASSERT_TRUE(reachCracktro(run));
    run.runTicks(100);
    EXPECT_STREQ(run.program->cracktro.greetings, seedOne);
}

TEST(Cracktro, BothScrollingLinesStartAgainAtTheRightEdgeOncePastTheirBounds) {
    HeadlessProgram run;
    ASSERT_TRUE(run.start());
    ASSERT_TRUE(reachCracktro(run));
    Cracktro& cracktro = run.program->cracktro;
    const auto greetBound = static_cast<uint32_t>((std::strlen(cracktro.greetings) + 5) * 64);
    const auto textBound = static_cast<uint32_t>(std::strlen(cracktro.scroller()) * 8 + 320);
    cracktro.greetScroll = greetBound - 2;
    cracktro.textScroll = textBound - 1;

    run.runTicks(1);
    EXPECT_EQ(cracktro.greetScroll, greetBound) << "reaching the bound is not passing it";
    EXPECT_EQ(cracktro.textScroll, textBound);

    run.runTicks(1);
    EXPECT_EQ(cracktro.greetScroll, 0u);
    EXPECT_EQ(cracktro.textScroll, 0u);
    EXPECT_EQ(run.frame().at(319, 80), 0u) << "the scroller's pen stands at 320";
    EXPECT_EQ(run.frame().at(319, 123), 0u) << "the greetings' pen stands at 320";

    // One tick later both lines show their first letter's first column at the right edge.
    run.runTicks(1);
    EXPECT_EQ(run.frame().at(319, 80), c64Palette[10]) << "the H of the scroller";
    EXPECT_EQ(run.frame().at(318, 123), c64Palette[greetColours[cracktro.logoPhase % 48]])
        << "the G of the greetings";
    EXPECT_EQ(run.frame().at(317, 123), 0u);
}

TEST(Cracktro, OnlySpaceLeavesForTheTrainerAndItStopsTheMusic) {
    HeadlessProgram run;
    ASSERT_TRUE(run.start());
    ASSERT_TRUE(reachCracktro(run));
    const uint32_t music = clipChannel(run.program->cracktro.music);
    ASSERT_EQ(audio::channelIsActive(music), audio::channelPlaying);

    const struct {
        const char* what;
        std::initializer_list<uint16_t> keys;
        bool click;
    } ignored[] = {{"Enter", {keyEnter}, false},
                   {"Y and N", {keyY, keyN}, false},
                   {"A", {65}, false},
                   {"a click", {}, true}};
    for (const auto& input : ignored) {
        for (uint16_t code : input.keys) {
            windowProc(run.program->input, {MessageType::KeyDown, code});
        }
        if (input.click) {
            run.clickFrame(160, 100);
        }
        run.drain(0);
        run.runTicks(1);
        EXPECT_EQ(run.program->screenId, 2) << input.what;
        EXPECT_EQ(audio::channelIsActive(music), audio::channelPlaying) << input.what;
    }

    // Space: the music stops at once, the rest of the pass still shows the cracktro ("Against
    // Probability" in white), and the trainer screen follows at the tick period of 10 ms.
    run.key(keySpace);
    run.runTicks(1);
    EXPECT_EQ(run.program->screenId, 3);
    EXPECT_EQ(audio::channelIsActive(music), audio::channelStopped);
    EXPECT_EQ(run.frame().at(80, 64), c64Palette[1]);
    EXPECT_EQ(run.program->tickPeriodMs, 10u);
    run.runTicks(1);
    EXPECT_EQ(run.frame().at(80, 64), 0u);
}

TEST(Cracktro, AGlyphOfADamagedFontNeitherOverflowsTheGreetingsNorStallsTheFrame) {
    // Font descriptions come from a file that a user can replace; values saturate at the
    // 32-bit limits. The first letter of the greetings is a G.
    const struct {
        const char* what;
        const char* glyphLine;
        bool inked; // whether the G's 8x8 blocks show at the pen
    } cases[] = {
        {"the largest rectangle and advance",
         "char id=71 x=0 y=0 width=2147483647 height=2147483647 xoffset=0 yoffset=0 "
         "xadvance=2147483647\n",
         true},
        {"a rectangle far outside the atlas and the most negative advance",
         "char id=71 x=-2147483648 y=-2147483648 width=2147483647 height=2147483647 xoffset=0 "
         "yoffset=0 xadvance=-2147483648\n",
         false},
    };
    for (const auto& c : cases) {
        LogoBench bench;
        BitmapFont& font = bench.program->mosaicFont;
        font.atlas = logoPicture({8, 8}, 0); // every pixel ink
        parseFontDescription(c.glyphLine, font);
        bench.program->cracktro.greetScroll = 100;
        const Framebuffer& frame = bench.render(0);
        for (int32_t gy = 0; gy < 10; ++gy) {
            for (int32_t gx = 0; gx < 13; ++gx) {
                const bool block = c.inked && gx < 8 && gy < 8;
                const int32_t x = 220 + 8 * gx;
                const int32_t y = 123 + 8 * gy;
                EXPECT_EQ(frame.at(x, y) != 0, block) << c.what << ", block " << gx << ", " << gy;
            }
        }
    }
}

} // namespace
