// The rock-out after the pick-up: lamps lit by the music's level, the actor's pictures while
// paused and after the eject, and the exit countdown with its closing fade.
#include "room_fixture.h"

#include <algorithm>
#include <string>

namespace {

class RockingOut : public RoomTest {
  protected:
    void SetUp() override {
        enter(Mode::direct);
        room.actorX = 500;
        room.actorY = 114;
        room.scrollX = 320;
        startRockingOut();
    }

    void keepOnlyTracks(int32_t count) {
        freeTracks(program.music);
        for (int32_t i = 0; i < count; ++i) {
            loadTrack(program.music, trackFileNames[i]);
        }
    }

    bool anyLampLit() const {
        return std::any_of(std::begin(room.lightTimer), std::end(room.lightTimer),
                           [](int32_t t) { return t > 0; });
    }
};

TEST_F(RockingOut, LampsLightOnlyWhileTheMusicPlays) {
    enum class Sound { playing, paused, slowingDown, noTrack };
    struct Case {
        const char* what;
        Sound sound;
        bool lampsLight;
    };
    const Case cases[] = {
        {"track 0 playing", Sound::playing, true},
        {"paused", Sound::paused, false},
        {"slowing down after the eject", Sound::slowingDown, false},
        {"no track loaded", Sound::noTrack, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        switch (c.sound) {
        case Sound::playing:
            break;
        case Sound::paused:
            togglePause(program.music);
            break;
        case Sound::slowingDown:
            startSlowdown(program.music);
            break;
        case Sound::noTrack:
            keepOnlyTracks(0);
            break;
        }
        run.runTicks(2); // the music is under way, and the next tick is a rock step
        std::fill(std::begin(room.lightTimer), std::end(room.lightTimer), 0);
        room.rockTick = 2;

        // Every step draws eleven random numbers whether or not a lamp may light: one per
        // lamp and one for the actor's moves.
        Random expected = program.random;
        bool lit = false;
        for (int32_t step = 0; step < 20; ++step) {
            run.runTicks(3);
            for (int32_t draw = 0; draw < 11; ++draw) {
                expected.next();
            }
            ASSERT_EQ(program.random.state, expected.state) << "step " << step;
            lit = lit || anyLampLit();
        }
        EXPECT_EQ(lit, c.lampsLight);
    }
}

TEST_F(RockingOut, ALitLampStaysLitForNineStepsAndSwingsOnEachStep) {
    togglePause(program.music); // nothing lights again meanwhile
    room.lightTimer[4] = 10;
    room.rockTick = 2;
    const int32_t phase = room.lightPhase[4];
    for (int32_t step = 1; step <= 10; ++step) {
        run.runTicks(3);
        EXPECT_EQ(room.lightTimer[4], 10 - step);
        EXPECT_EQ(room.lightPhase[4], phase + step);
    }
    run.runTicks(3);
    EXPECT_EQ(room.lightPhase[4], phase + 10) << "an unlit lamp stands still";
}

TEST_F(RockingOut, TheActorsPictureWhilePausedAndAfterTheEject) {
    struct Case {
        const char* what;
        bool paused;
        bool closing;
    };
    const Case cases[] = {
        {"paused: picture 0", true, false},
        {"closing while playing: 6 and 7 by turns", false, true},
        {"closing while paused: 6", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (program.music.paused != c.paused) {
            togglePause(program.music);
        }
        room.playerPanel.closing = c.closing;
        bool showed7 = false;
        for (int32_t tick = 0; tick < 12; ++tick) {
            run.runTicks(1);
            int32_t expected = 0;
            if (c.closing) {
                expected = room.rockToggle && !c.paused ? 7 : 6;
            }
            EXPECT_EQ(room.rockFrame, expected);
            showed7 = showed7 || room.rockFrame == 7;
        }
        EXPECT_EQ(showed7, c.closing && !c.paused);
    }
}

struct ExitCase {
    const char* what;
    bool paused;
    int32_t tracks;
    int32_t exitDelay;
    bool slowsDown;
};

class Eject : public RockingOut, public testing::WithParamInterface<ExitCase> {};

// The eject button, clicked on the panel, ends the room: while the music plays after a delay
// of 28 ticks for the slowdown, while paused at once; either way 60 ticks of closing gag and
// fade follow, the fade growing by 4 a tick up to 240.
TEST_P(Eject, LeavesTheRoomAfterItsCountdown) {
    const ExitCase& c = GetParam();
    keepOnlyTracks(c.tracks);
    playTrack(program.music, 0);
    if (c.paused) {
        togglePause(program.music);
    }
    const uint32_t stream = currentStream(program.music);
    pointAt(160, 30);
    run.runTicks(1);

    // A pixel of the background that nothing covers, to follow the fade by.
    int32_t fx = -1, fy = -1;
    for (int32_t y = 199; y >= 180 && fx < 0; --y) {
        for (int32_t x = 319; x >= 250 && fx < 0; --x) {
            const uint32_t back = room.background.pixels[y * room.background.width + x + 320];
            const uint32_t brightness = (back >> 16 & 0xFF) + (back >> 8 & 0xFF) + (back & 0xFF);
            if (run.frame().at(x, y) == back && brightness > 150) {
                fx = x, fy = y;
            }
        }
    }
    ASSERT_GE(fx, 0);
    const uint32_t back = run.frame().at(fx, fy);
    auto cursorShown = [&] {
        const Image& cursor = room.cursor;
        for (int32_t r = 0; r < cursor.height; ++r) {
            for (int32_t j = 0; j < cursor.width; ++j) {
                uint32_t p = cursor.pixels[r * cursor.width + j];
                if ((p >> 24) != 0 && run.frame().at(154 + j, 24 + r) != p) {
                    return false;
                }
            }
        }
        return true;
    };
    ASSERT_TRUE(cursorShown());

    click(66, 158); // the eject button
    ASSERT_TRUE(room.playerPanel.closing);
    EXPECT_EQ(program.music.slowingDown, c.slowsDown);
    EXPECT_FALSE(room.playerPanel.onClick(66, 158)) << "the panel refuses every later click";

    int32_t ticks = 0;
    while (program.screenId == 4 && ticks < 200) {
        run.runTicks(1);
        ++ticks;
        SCOPED_TRACE(testing::Message() << "tick " << ticks);
        EXPECT_EQ(room.exitDelay, c.exitDelay);
        EXPECT_EQ(room.exitCounter, std::min(ticks, c.exitDelay + 60));
        EXPECT_FALSE(cursorShown()) << "the cursor is gone from the first tick";
        const int32_t factor = std::max(0, 4 * (room.exitCounter - room.exitDelay));
        for (int32_t shift : {16, 8, 0}) {
            const int32_t d = static_cast<int32_t>(back >> shift & 0xFF);
            EXPECT_EQ(static_cast<int32_t>(run.frame().at(fx, fy) >> shift & 0xFF),
                      d - d * factor / 256)
                << "fade factor " << factor;
        }
    }
    EXPECT_EQ(ticks, c.exitDelay + 61);
    EXPECT_EQ(program.screenId, 5);
    EXPECT_EQ(4 * (room.exitCounter - room.exitDelay), 240) << "the last room frame's fade";
    EXPECT_EQ(audio::channelIsActive(stream), audio::channelStopped);
}

INSTANTIATE_TEST_SUITE_P(Room, Eject,
                         testing::Values(ExitCase{"playing", false, 6, 28, true},
                                         ExitCase{"paused", true, 6, 0, false},
                                         ExitCase{"no track loaded", false, 0, 28, false}),
                         [](const testing::TestParamInfo<ExitCase>& param) {
                             std::string name = param.param.what;
                             std::replace(name.begin(), name.end(), ' ', '_');
                             return name;
                         });

} // namespace
