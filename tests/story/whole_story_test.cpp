// The whole story as a person plays it, headless on the real archives, once in direct mode and
// once in old-school mode: boot, cracktro, trainer, the room (walk, stairs, guitar), the player
// panel's tracks, next, previous, a title, seek, pause and play, a track that ends, eject, the
// end screen, and exit status 1. Each track change must play the track it names, and the key
// frames must show what the story is at.
#include "audio/audio_library.h"
#include "render/colour.h"
#include "support/story_player.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

constexpr uint32_t currentTitleColour = 0xFF9AD284;

size_t countColour(const Framebuffer& frame, uint32_t colour, int32_t left, int32_t top,
                   int32_t right, int32_t bottom) {
    size_t count = 0;
    for (int32_t y = std::max(top, 0); y < std::min(bottom, frameHeight); ++y) {
        for (int32_t x = std::max(left, 0); x < std::min(right, frameWidth); ++x) {
            count += frame.at(x, y) == colour ? 1 : 0;
        }
    }
    return count;
}

// The loudest sample of the audio recorded from `from` on.
int32_t loudestSince(const HeadlessProgram& run, size_t from) {
    int32_t loudest = 0;
    for (size_t i = from; i < run.recordedAudio.size(); ++i) {
        loudest = std::max(loudest, std::abs(int32_t{run.recordedAudio[i]}));
    }
    return loudest;
}

// Plays on for `ticks` and says how loud that was.
int32_t loudestOver(HeadlessProgram& run, int32_t ticks) {
    size_t from = run.recordedAudio.size();
    run.runTicks(ticks);
    return loudestSince(run, from);
}

double positionSeconds(uint32_t stream) {
    return audio::channelBytesToSeconds(stream, audio::channelGetPosition(stream));
}

// Track `index` is current and plays, and no other track does; empty when so.
std::string onlyTrackPlaying(const MusicState& music, int32_t index) {
    if (music.current != index) {
        return "the current track is " + std::to_string(music.current);
    }
    for (int32_t i = 0; i < music.tracks.count; ++i) {
        auto activity = audio::channelIsActive(music.tracks[i].stream);
        if (i == index && activity != audio::channelPlaying) {
            return "track " + std::to_string(i) + " does not play";
        }
        if (i != index && activity != audio::channelStopped) {
            return "track " + std::to_string(i) + " plays as well";
        }
    }
    return "";
}

// The player panel's title row drawn in the current track's colour, or -1 when none or
// several are.
int32_t highlightedTitle(const HeadlessProgram& run) {
    const PlayerGUI& panel = run.program->mainScreen.playerPanel;
    int32_t found = -1;
    for (int32_t row = 0; row < 6; ++row) {
        int32_t top = panel.y + 18 + 11 * row;
        if (countColour(run.frame(), currentTitleColour, panel.x, top, panel.x + 140, top + 11) >
            0) {
            if (found != -1) {
                return -1;
            }
            found = row;
        }
    }
    return found;
}

class WholeStory : public testing::TestWithParam<bool> {};

TEST_P(WholeStory, FromTheBootToTheEndScreenEveryTrackChangePlaysItsTrack) {
    const bool oldskool = GetParam();
    HeadlessProgram run;
    ASSERT_TRUE(run.start());
    Program& program = *run.program;
    MainScreen& room = program.mainScreen;
    MusicState& music = program.music;

    // The boot screen types its load command and searches the disk; Space cuts it short.
    run.runTicks(300);
    EXPECT_EQ(run.frame().at(0, 0), c64Palette[6]) << "the blue of the start-up screen";
    EXPECT_GT(countColour(run.frame(), c64Palette[14], 0, 64, 320, 72), 0u)
        << "\"SEARCHING FOR *\" is shown";
    ASSERT_TRUE(skipBootSequence(run));

    // The cracktro: its module plays, its logo is whole after 61 steps, its prompt waits.
    run.recording = true;
    EXPECT_GT(loudestOver(run, 300), 1000) << "the cracktro's module plays";
    EXPECT_GT(320 * 60 - countColour(run.frame(), 0, 0, 0, 320, 60), 320u * 20) << "the logo";
    EXPECT_GT(countColour(run.frame(), c64Palette[1], 0, 192, 320, 200), 0u) << "the prompt";
    ASSERT_TRUE(leaveCracktro(run));
    run.runTicks(1);
    size_t trainerText = countColour(run.frame(), c64Palette[14], 0, 0, 320, 200);
    EXPECT_GT(trainerText, 0u);
    EXPECT_EQ(trainerText + countColour(run.frame(), 0, 0, 0, 320, 200), 320u * 200)
        << "the trainer's question in light blue on black, nothing else";
    EXPECT_LT(loudestOver(run, 10), 10) << "the cracktro's music stopped";

    // The room: 75 ms a tick, six tracks loaded, none playing, the ambient module playing.
    ASSERT_TRUE(answerTrainer(run, oldskool));
    EXPECT_EQ(room.oldskoolMode, oldskool);
    EXPECT_EQ(program.tickPeriodMs, 75u);
    ASSERT_EQ(music.tracks.count, 6);
    EXPECT_GT(loudestOver(run, 20), 300) << "the ambient module plays";
    EXPECT_EQ(audio::channelIsActive(room.ambientClip.module), audio::channelPlaying);
    for (int32_t i = 0; i < 6; ++i) {
        EXPECT_EQ(audio::channelIsActive(music.tracks[i].stream), audio::channelStopped) << i;
    }
    EXPECT_EQ(room.playerPanel.x, -140);
    EXPECT_EQ(countColour(run.frame(), currentTitleColour, 0, 0, 320, 200), 0u)
        << "the player panel waits off the view";

    // Walk, stairs, the gallery, the guitar.
    ASSERT_TRUE(walkTo(run, 122, 150));
    EXPECT_EQ(room.actorX, 122);
    EXPECT_EQ(room.actorY, 150);
    ASSERT_TRUE(climbStairs(run));
    EXPECT_EQ(room.actorX, 280);
    EXPECT_EQ(room.actorY, 120);
    ASSERT_TRUE(bringGuitarIntoView(run));
    ASSERT_TRUE(takeGuitar(run));
    EXPECT_TRUE(room.guitarTaken);
    EXPECT_EQ(room.actorX, 500);
    EXPECT_EQ(room.actorY, 114);

    // The first track follows the pick-up, and the ambient module stops for it.
    EXPECT_EQ(onlyTrackPlaying(music, 0), "");
    EXPECT_EQ(audio::channelIsActive(room.ambientClip.module), audio::channelStopped);
    EXPECT_GT(loudestOver(run, 40), 3000) << "the first track is heard";
    ASSERT_EQ(room.playerPanel.x, 0) << "the panel has slid in";

    // The lamps flash with the music: lamps 2 and 5, whose colours no other lamp has, show
    // their on colour while lit and their off colour while not.
    struct OwnColours {
        int32_t lamp;
        uint32_t on;
        uint32_t off;
    };
    const OwnColours lamps[] = {{2, 0xFF6C5EB4, 0xFF6C3E84}, {5, 0xFFBCC66C, 0xFF6C4E24}};
    ASSERT_TRUE(run.runTicksUntil(
        [&room] { return (room.lightTimer[2] > 0) != (room.lightTimer[5] > 0); }, 400))
        << "one of the two lamps lit within 30 s of music";
    for (const OwnColours& lamp : lamps) {
        int32_t x = 300 + 24 * lamp.lamp + 2 * (lamp.lamp % 4) - room.scrollX;
        const bool lit = room.lightTimer[lamp.lamp] > 0;
        EXPECT_EQ(countColour(run.frame(), lamp.on, x, 0, x + 80, 46) > 0, lit) << lamp.lamp;
        EXPECT_EQ(countColour(run.frame(), lamp.off, x, 0, x + 80, 46) > 0, !lit) << lamp.lamp;
    }

    // Next, previous and a title each play the track they name from its beginning.
    EXPECT_EQ(highlightedTitle(run), 0);
    struct Change {
        const char* what;
        int32_t expected;
    };
    for (Change change : {Change{"next", 1}, Change{"previous", 0}, Change{"title 3", 3}}) {
        if (change.expected == 1) {
            clickPanelButton(run, PanelButton::next);
        } else if (change.expected == 0) {
            clickPanelButton(run, PanelButton::previous);
        } else {
            clickTitle(run, 3);
        }
        run.runTicks(4);
        EXPECT_EQ(onlyTrackPlaying(music, change.expected), "") << change.what;
        EXPECT_LT(positionSeconds(currentStream(music)), 0.5) << change.what;
        EXPECT_EQ(highlightedTitle(run), change.expected) << change.what;
    }

    // Seeking to the bar's middle jumps to half the track.
    const uint32_t track3 = currentStream(music);
    const double length3 = trackLengthMs(music) / 1000.0;
    clickPositionBar(run, 60);
    EXPECT_NEAR(positionSeconds(track3), length3 / 2, 0.1);

    // Pause silences everything and puts the lamps out; play goes on from the same place.
    clickPanelButton(run, PanelButton::pause);
    ASSERT_TRUE(music.paused);
    const double pausedAt = positionSeconds(track3);
    EXPECT_EQ(loudestOver(run, 40), 0) << "paused";
    EXPECT_EQ(std::count(room.lightTimer, room.lightTimer + 10, 0), 10) << "no lamp while paused";
    EXPECT_EQ(room.rockFrame, 0) << "the paused pose";
    clickPanelButton(run, PanelButton::play);
    EXPECT_FALSE(music.paused);
    EXPECT_NEAR(positionSeconds(track3), pausedAt, 0.01);
    EXPECT_EQ(onlyTrackPlaying(music, 3), "");
    EXPECT_GT(loudestOver(run, 10), 1000);

    // A track that reaches its end is followed by the next one.
    clickPositionBar(run, 119);
    ASSERT_TRUE(run.runTicksUntil([&music] { return music.current == 4; }, 100))
        << "the end of track 3 is " << (length3 / 120) << " s away";
    EXPECT_EQ(onlyTrackPlaying(music, 4), "");
    EXPECT_LT(positionSeconds(currentStream(music)), 0.2);

    // Eject: the music winds down, the closing gag and the fade, then the end screen on the
    // 89th tick after the click.
    clickPanelButton(run, PanelButton::eject);
    EXPECT_TRUE(room.playerPanel.closing);
    EXPECT_TRUE(music.slowingDown);
    int32_t ticksToEnd = 0;
    size_t ejectedAt = run.recordedAudio.size();
    while (program.screenId == 4 && ticksToEnd < 200) {
        run.runTicks(1);
        ++ticksToEnd;
    }
    EXPECT_EQ(ticksToEnd, 89);
    EXPECT_GT(loudestSince(run, ejectedAt), 1000) << "the tape stop is heard";
    EXPECT_TRUE(music.paused) << "the slowdown ends in a pause";
    const Framebuffer& lastRoomFrame = run.frame();
    EXPECT_TRUE(std::all_of(std::begin(lastRoomFrame.pixels), std::end(lastRoomFrame.pixels),
                            [](uint32_t p) {
                                return (p >> 16 & 0xFF) <= 16 && (p >> 8 & 0xFF) <= 16 &&
                                       (p & 0xFF) <= 16;
                            }))
        << "the last room frame is faded to 240";

    // The end screen: black before its first tick, the picture once faded in, then Space or
    // Enter, the fade-out, and a normal exit.
    run.advance(1);
    EXPECT_EQ(countColour(run.frame(), 0, 0, 0, 320, 200) +
                  countColour(run.frame(), 0xFF000000, 0, 0, 320, 200),
              320u * 200);
    EXPECT_EQ(loudestOver(run, 40), 0) << "the end screen has no sound";
    const Image& picture = program.endScreen.picture;
    ASSERT_EQ(picture.width, 320);
    run.runTicks(31 - 1);
    ASSERT_EQ(program.endScreen.fadeIn, 248);
    uint32_t source = picture.pixels[100 * 320 + 160];
    EXPECT_EQ(run.frame().at(160, 100) & 0xFF, (source & 0xFF) * 248 / 256);
    ASSERT_TRUE(leaveEndScreen(run, oldskool ? 13 : 32));

    EXPECT_EQ(run.screensShown, (std::vector<int32_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(run.finish(), 1);
    EXPECT_EQ(program.windowBuffer, nullptr) << "shut down";
}

INSTANTIATE_TEST_SUITE_P(BothModes, WholeStory, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& mode) {
                             return mode.param ? "OldSkool" : "Direct";
                         });

} // namespace
