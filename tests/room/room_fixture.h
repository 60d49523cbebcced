// The room as a test meets it: the whole program headless with the built archives, entered
// through the trainer screen's answer, with helpers that click and point in frame coordinates
// and run ticks. Used by the room's tests; main thread only.
#pragma once

#include "audio/audio_library.h"
#include "support/headless_program.h"

#include <gtest/gtest.h>

#include <cstdint>

enum class Mode { direct, oldSchool };

class RoomTest : public ::testing::Test {
  protected:
    HeadlessProgram run;
    Program& program = *run.program;
    MainScreen& room = program.mainScreen;

    // Starts the program and answers the trainer screen: N for direct mode, Y for old-school.
    void enter(Mode mode) {
        ASSERT_TRUE(run.start());
        program.screenId = 3;
        run.key(mode == Mode::oldSchool ? 'Y' : 'N');
        run.drain(0);
        ASSERT_EQ(program.screenId, 4);
    }

    // A left click at a frame point. The clock stands still meanwhile, so no tick runs.
    void click(int32_t x, int32_t y) {
        run.clickFrame(x, y);
        run.drain(0);
    }

    void pointAt(int32_t x, int32_t y) {
        run.pointAt(x, y);
        run.drain(0);
    }

    // Runs one tick and returns the footstep sample it started, or -1. The sample must be the
    // one that the tick's first random number picks.
    int32_t tickListeningForFootsteps() {
        for (const AudioClip& clip : room.footstepClips) {
            audio::channelStop(clipChannel(clip));
        }
        Random before = program.random;
        run.runTicks(1);
        int32_t heard = -1;
        for (int32_t k = 0; k < 4; ++k) {
            if (audio::channelIsActive(clipChannel(room.footstepClips[k])) !=
                audio::channelStopped) {
                EXPECT_EQ(heard, -1) << "two footsteps in one tick";
                heard = k;
            }
        }
        if (heard >= 0) {
            EXPECT_EQ(heard, before.next() & 3) << "the sample is not the one rand() & 3 picks";
        }
        return heard;
    }

    // Ticks until `done` holds, at most `limit` ticks; the ticks it took, or -1.
    template <typename Done> int32_t ticksUntil(Done done, int32_t limit = 400) {
        for (int32_t ticks = 1; ticks <= limit; ++ticks) {
            run.runTicks(1);
            if (done()) {
                return ticks;
            }
        }
        return -1;
    }

    // The rock-out as the pick-up leaves it: the guitar taken, the panel in, track 0 playing.
    void startRockingOut() {
        room.guitarTaken = true;
        room.rockoutActive = true;
        room.playerPanel.x = 0;
        audio::channelStop(clipChannel(room.ambientClip));
        playTrack(program.music, 0);
    }
};
