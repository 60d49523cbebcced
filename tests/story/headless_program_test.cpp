// The headless program itself: it starts like the real one and its clock, ticks and audio
// move together.
#include "support/headless_program.h"

#include "audio/audio_library.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

TEST(HeadlessProgram, StartsOnTheBootScreenAndRunsOneTickAPass) {
    HeadlessProgram run;
    ASSERT_TRUE(run.start());
    EXPECT_EQ(run.program->screenId, 1);
    EXPECT_EQ(run.program->tickPeriodMs, 10u) << "the cracktro's loading set it";
    run.runTicks(8);
    EXPECT_EQ(run.program->bootScreen.progress, 1);
    EXPECT_EQ(run.program->bootScreen.tickCount, 0);
    EXPECT_EQ(run.frame().at(0, 199), 0xFF352879u) << "the boot screen's blue";
}

TEST(HeadlessProgram, TheCracktroModulePlaysIntoTheOfflineMixer) {
    HeadlessProgram run;
    ASSERT_TRUE(run.start());
    run.key(32); // Space: straight to the end of the boot sequence
    run.runTicks(20);
    ASSERT_EQ(run.program->screenId, 2);
    run.recording = true;
    run.runTicks(100);
    int32_t loudest = 0;
    for (int16_t sample : run.recordedAudio) {
        loudest = std::max<int32_t>(loudest, std::abs(int32_t{sample}));
    }
    EXPECT_GT(loudest, 1000) << "one second of the cracktro's music is not silent";
}

} // namespace
