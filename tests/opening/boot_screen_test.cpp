// The boot screen on the headless program: the load sequence typed step by step, Space
// skipping to its end, and the hand-over to the cracktro with its music playing.
#include "opening/opening_run.h"

#include "audio/audio_library.h"
#include "platform/window_message.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

constexpr uint32_t bootBlue = 0xFF352879;

// How many of the forty 8-pixel character cells of the text line at row y hold ink.
int32_t charactersOnLine(const Framebuffer& frame, int32_t y) {
    int32_t characters = 0;
    for (int32_t cell = 0; cell < frameWidth / 8; ++cell) {
        bool ink = false;
        for (int32_t row = y; row < y + 8; ++row) {
            for (int32_t x = 8 * cell; x < 8 * cell + 8; ++x) {
                ink = ink || frame.at(x, row) != bootBlue;
            }
        }
        characters += ink ? 1 : 0;
    }
    return characters;
}

TEST(BootScreen, TypesTheLoadCommandAndTheDriveMessagesStepByStep) {
    // Blanks hold no ink: "SEARCHING FOR *" shows 13 inked cells.
    struct Step {
        int32_t progress;
        int32_t loadCommand; // characters of LOAD"*",8,1 at row 48
        int32_t searching;   // "SEARCHING FOR *" at row 64
        int32_t loading;     // "LOADING" at row 72
        int32_t ready;       // the second "READY." at row 80
        int32_t run;         // "RUN" at row 88
    };
    const Step steps[] = {
        {0, 0, 0, 0, 0, 0},    {1, 1, 0, 0, 0, 0},    {9, 9, 0, 0, 0, 0},    {10, 11, 0, 0, 0, 0},
        {20, 11, 0, 0, 0, 0},  {21, 11, 13, 0, 0, 0}, {40, 11, 13, 0, 0, 0}, {41, 11, 13, 7, 0, 0},
        {70, 11, 13, 7, 0, 0}, {71, 11, 13, 7, 6, 0}, {80, 11, 13, 7, 6, 0}, {81, 11, 13, 7, 6, 1},
        {82, 11, 13, 7, 6, 2}, {83, 11, 13, 7, 6, 3}, {95, 11, 13, 7, 6, 3},
    };
    HeadlessProgram run;
    ASSERT_TRUE(run.start());
    for (const Step& step : steps) {
        // Step p is reached 80 p ms after the start: a tick runs once more than 10 ms are due.
        run.advance(80 * static_cast<uint32_t>(step.progress) + 1 - run.platform.nowMs);
        ASSERT_EQ(run.program->bootScreen.progress, step.progress);
        const Framebuffer& frame = run.frame();
        EXPECT_EQ(charactersOnLine(frame, 8), 26) << "the banner, at step " << step.progress;
        EXPECT_EQ(charactersOnLine(frame, 40), 6) << "READY., at step " << step.progress;
        EXPECT_EQ(charactersOnLine(frame, 48), step.loadCommand) << "step " << step.progress;
        EXPECT_EQ(charactersOnLine(frame, 64), step.searching) << "step " << step.progress;
        EXPECT_EQ(charactersOnLine(frame, 72), step.loading) << "step " << step.progress;
        EXPECT_EQ(charactersOnLine(frame, 80), step.ready) << "step " << step.progress;
        EXPECT_EQ(charactersOnLine(frame, 88), step.run) << "step " << step.progress;
        EXPECT_EQ(charactersOnLine(frame, 96), 0) << "no cursor, at step " << step.progress;
    }
}

TEST(BootScreen, Lasts7680MsThenStartsTheCracktroAndItsMusic) {
    HeadlessProgram run;
    ASSERT_TRUE(run.start());
    const AudioClip& music = run.program->cracktro.music;
    run.advance(7680);
    EXPECT_EQ(run.program->screenId, 1);
    EXPECT_EQ(run.program->bootScreen.progress, 95);
    EXPECT_EQ(clipChannel(music), 0u) << "the cracktro's music is loaded only at the switch";

    run.advance(1);
    EXPECT_EQ(run.program->screenId, 2);
    EXPECT_EQ(run.program->bootScreen.progress, 0);
    EXPECT_EQ(run.program->tickPeriodMs, 10u);
    EXPECT_EQ(music.stream, 0u);
    ASSERT_NE(music.module, 0u) << "CRACKTRO.IT opens as a tracker module";
    EXPECT_EQ(audio::channelIsActive(music.module), audio::channelPlaying);

    run.recording = true;
    run.runTicks(50);
    EXPECT_GT(loudestSample(run.recordedAudio), 1000) << "half a second of the module is heard";
}

TEST(BootScreen, SpaceSkipsToStep94AndNothingElseShortensTheSequence) {
    struct Case {
        const char* what;
        int32_t progress; // where the screen stands when the input arrives
        int32_t tickCount;
        std::initializer_list<uint16_t> keys;
        bool click;
        int32_t ticksToSwitch; // counted from the pass that delivers the input
    };
    const Case cases[] = {
        {"no input at step 95", 95, 0, {}, false, 8},
        {"Space at step 95 goes back to 94", 95, 0, {keySpace}, false, 16},
        {"Space at step 0", 0, 0, {keySpace}, false, 16},
        {"Space one tick before a step ends", 10, 7, {keySpace}, false, 9},
        {"Space in the middle of step 30", 30, 3, {keySpace}, false, 13},
        {"Space twice in one pass", 30, 3, {keySpace, keySpace}, false, 13},
        {"Enter, Y, N and A", 90, 0, {keyEnter, keyY, keyN, 65}, false, 48},
        {"a click", 90, 0, {}, true, 48},
    };
    for (const Case& c : cases) {
        HeadlessProgram run;
        ASSERT_TRUE(run.start());
        run.advance(10 * static_cast<uint32_t>(8 * c.progress + c.tickCount) + 1);
        ASSERT_EQ(run.program->bootScreen.progress, c.progress) << c.what;
        ASSERT_EQ(run.program->bootScreen.tickCount, c.tickCount) << c.what;
        // The keys are queued together, so that they all reach the screen in one pass.
        for (uint16_t code : c.keys) {
            windowProc(run.program->input, {MessageType::KeyDown, code});
        }
        if (c.click) {
            run.clickFrame(100, 100);
            run.drain(0);
        }
        int32_t ticks = 0;
        while (run.program->screenId == 1 && ticks < 1000) {
            run.runTicks(1);
            ++ticks;
        }
        EXPECT_EQ(ticks, c.ticksToSwitch) << c.what;
    }
}

TEST(BootScreen, SwitchesInsideTickAndStillRendersItselfForTheRestOfThatPass) {
    HeadlessProgram run;
    ASSERT_TRUE(run.start());
    run.advance(7671); // 767 ticks: step 95, one tick before its end
    ASSERT_EQ(run.program->bootScreen.progress, 95);
    ASSERT_EQ(run.program->bootScreen.tickCount, 7);

    // One pass with three due ticks: the first switches, the other two still go to the boot
    // screen, which then renders itself at step 0 (the banner without "RUN").
    run.advance(30);
    EXPECT_EQ(run.program->screenId, 2);
    EXPECT_EQ(run.program->bootScreen.progress, 0);
    EXPECT_EQ(run.program->bootScreen.tickCount, 2);
    EXPECT_EQ(run.program->cracktro.tickCount, 0u);
    EXPECT_EQ(run.frame().at(319, 199), bootBlue);
    EXPECT_EQ(charactersOnLine(run.frame(), 40), 6);
    EXPECT_EQ(charactersOnLine(run.frame(), 88), 0);

    run.runTicks(1);
    EXPECT_EQ(run.program->cracktro.tickCount, 1u) << "the cracktro is served from the next pass";
    EXPECT_EQ(run.frame().at(319, 199), 0u) << "the cracktro draws on the black frame";
}

} // namespace
