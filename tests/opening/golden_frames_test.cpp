// Exact pixels of the opening screens at chosen moments, as the program draws them with the
// fonts and pictures of the built interface archive. A failure names the point and what it
// shows.
#include "opening/opening_run.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr uint32_t black = 0x00000000; // the frame as the main loop clears it
constexpr uint32_t white = 0xFFFFFFFF;
constexpr uint32_t blue = 0xFF352879;
constexpr uint32_t lightBlue = 0xFF6C5EB5;
constexpr uint32_t cyan = 0xFF70A4B2;
constexpr uint32_t lightGreen = 0xFF9AD284;
constexpr uint32_t green = 0xFF588D43;
constexpr uint32_t yellow = 0xFFB8C76F;
constexpr uint32_t lightRed = 0xFF9A6759;
constexpr uint32_t lightGrey = 0xFF959595;

struct Point {
    int32_t x;
    int32_t y;
    uint32_t colour;
    const char* what;
};

void expectPoints(const Framebuffer& frame, const std::vector<Point>& points, const char* when) {
    for (const Point& p : points) {
        EXPECT_EQ(frame.at(p.x, p.y), p.colour)
            << when << ": (" << p.x << ", " << p.y << "), " << p.what;
    }
}

TEST(GoldenFrames, BootScreen) {
    HeadlessProgram run;
    ASSERT_TRUE(run.start());
    run.advance(1);
    expectPoints(run.frame(),
                 {{0, 199, blue, "the background"},
                  {319, 0, blue, "the background"},
                  {33, 9, lightBlue, "the banner's first *"},
                  {0, 40, lightBlue, "the R of READY."},
                  {6, 40, blue, "beside the R"},
                  {0, 48, blue, "no command typed yet"}},
                 "at step 0");
    run.advance(3280); // step 41, 3.28 s after the start
    expectPoints(run.frame(),
                 {{0, 48, lightBlue, "the L of LOAD"},
                  {0, 72, lightBlue, "the L of LOADING"},
                  {0, 80, blue, "the second READY. not yet"}},
                 "at step 41");
}

TEST(GoldenFrames, Cracktro) {
    // With the clock at 0 ms at start-up; the greetings begin with the G of "Greetings to".
    HeadlessProgram run;
    ASSERT_TRUE(run.start());
    ASSERT_TRUE(reachCracktro(run));
    run.runTicks(100); // logo phase 25, title phase 12, the greetings' pen at 120
    expectPoints(run.frame(),
                 {{80, 64, white, "the A of Against Probability"},
                  {220, 80, lightRed, "the scroller's H"},
                  {16, 117, white, "the title's first dot, in its 5th shimmer colour"},
                  {88, 112, lightGrey, "the title's C, in its 6th shimmer colour"},
                  {32, 128, yellow, "the T of the release line"},
                  {64, 192, white, "the P of the prompt"},
                  {120, 123, yellow, "the G's top-left block, in band colour 25"},
                  {125, 128, green, "the same block's last row, in band colour 30"},
                  {126, 123, black, "the gap after that block"}},
                 "100 ticks in");
    run.runTicks(300); // logo phase 100: the whole logo, row 20 in the blue colouring
    expectPoints(run.frame(), {{33, 20, cyan, "the blue colouring's highlight"}}, "400 ticks in");
    run.runTicks(200); // logo phase 150: row 20 in the green colouring
    expectPoints(run.frame(), {{33, 20, lightGreen, "the green colouring's highlight"}},
                 "600 ticks in");
}

TEST(GoldenFrames, TrainerScreenShowsItsQuestionAlone) {
    HeadlessProgram run;
    ASSERT_TRUE(run.start());
    ASSERT_TRUE(reachTrainer(run));
    run.runTicks(1);
    const Framebuffer& frame = run.frame();
    expectPoints(frame,
                 {{81, 48, lightBlue, "the top of the O of OLDSKOOL"},
                  {80, 48, black, "left of the O"},
                  {0, 0, black, "no background fill"}},
                 "on the trainer screen");
    // "OLDSKOOL MODE? [Y/N]": 20 characters of 8 pixels from (80, 48).
    for (int32_t y = 0; y < frameHeight; ++y) {
        for (int32_t x = 0; x < frameWidth; ++x) {
            const bool onTheLine = y >= 48 && y < 56 && x >= 80 && x < 240;
            if (!onTheLine) {
                ASSERT_EQ(frame.at(x, y), black) << "(" << x << ", " << y << ")";
            }
        }
    }
}

} // namespace
