// The trainer screen: Y, with or without Shift, and N answer the question and enter the room
// with its tracks and ambient module; every other input is ignored; two answers in one pass
// leave the last one's.
#include "opening/opening_run.h"

#include "audio/audio_library.h"
#include "platform/keymap.h"
#include "platform/window_message.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <initializer_list>

namespace {

void expectInTheRoom(HeadlessProgram& run, const char* what) {
    Program& program = *run.program;
    EXPECT_EQ(program.screenId, 4) << what;
    EXPECT_EQ(program.tickPeriodMs, 75u) << what;
    EXPECT_EQ(program.music.tracks.count, 6) << what;
    for (int32_t i = 0; i < program.music.tracks.count; ++i) {
        EXPECT_GT(audio::channelGetLength(program.music.tracks[i].stream), 0) << what;
    }
    const uint32_t ambient = clipChannel(program.mainScreen.ambientClip);
    ASSERT_NE(ambient, 0u) << what;
    EXPECT_EQ(audio::channelIsActive(ambient), audio::channelPlaying) << what;
}

TEST(TrainerScreen, YOrNAnswersTheQuestionAndEntersTheRoomWithItsAmbientModule) {
    // The keys as the window's key events deliver them: Shift and Caps Lock change the letter
    // typed, not the key, so y and Y are the same code.
    struct Case {
        const char* what;
        SDL_Keycode key;
        uint16_t modifiers;
        bool oldskoolMode;
    };
    const Case cases[] = {
        {"y", SDLK_y, KMOD_NONE, true},
        {"Y with Shift", SDLK_y, KMOD_LSHIFT, true},
        {"Y with Caps Lock", SDLK_y, KMOD_CAPS, true},
        {"n", SDLK_n, KMOD_NONE, false},
        {"N with Shift", SDLK_n, KMOD_RSHIFT, false},
    };
    for (const Case& c : cases) {
        HeadlessProgram run;
        ASSERT_TRUE(run.start());
        ASSERT_TRUE(reachTrainer(run));
        run.program->mainScreen.oldskoolMode = !c.oldskoolMode; // the answer sets it either way
        ASSERT_FALSE(isSystemKey(c.key, c.modifiers)) << c.what;
        run.key(virtualKeyFromSdl(c.key));
        run.advance(1);
        EXPECT_EQ(run.program->mainScreen.oldskoolMode, c.oldskoolMode) << c.what;
        expectInTheRoom(run, c.what);

        run.recording = true;
        run.runTicks(20);
        EXPECT_GT(loudestSample(run.recordedAudio), 1000) << c.what << ": the ambient module";
    }
}

TEST(TrainerScreen, EveryOtherKeyAndClicksAreIgnored) {
    HeadlessProgram run;
    ASSERT_TRUE(run.start());
    ASSERT_TRUE(reachTrainer(run));
    const struct {
        const char* what;
        std::initializer_list<uint16_t> keys;
        bool click;
    } inputs[] = {{"Space", {keySpace}, false},
                  {"Enter", {keyEnter}, false},
                  {"A, Z, 0 and 9", {65, 90, 48, 57}, false},
                  {"a click", {}, true}};
    for (const auto& input : inputs) {
        for (uint16_t code : input.keys) {
            windowProc(run.program->input, {MessageType::KeyDown, code});
        }
        if (input.click) {
            run.clickFrame(160, 52);
        }
        run.drain(0);
        run.runTicks(1);
        EXPECT_EQ(run.program->screenId, 3) << input.what;
        EXPECT_EQ(run.program->tickPeriodMs, 10u) << input.what;
        EXPECT_EQ(run.program->music.tracks.count, 0) << input.what;
        EXPECT_EQ(audio::channelIsActive(clipChannel(run.program->mainScreen.ambientClip)),
                  audio::channelStopped)
            << input.what;
    }
}

TEST(TrainerScreen, TwoAnswersInOnePassLeaveTheLastOneAndASinglePlaylist) {
    // Both keys reach the trainer screen, which was active when the pass began; each runs
    // enterRoom, and the second empties the playlist before loading the six tracks again.
    const struct {
        const char* what;
        uint16_t first;
        uint16_t second;
        bool oldskoolMode;
    } cases[] = {{"Y, then N", keyY, keyN, false}, {"N, then Y", keyN, keyY, true}};
    for (const auto& c : cases) {
        HeadlessProgram run;
        ASSERT_TRUE(run.start());
        ASSERT_TRUE(reachTrainer(run));
        windowProc(run.program->input, {MessageType::KeyDown, c.first});
        windowProc(run.program->input, {MessageType::KeyDown, c.second});
        run.advance(1);
        EXPECT_EQ(run.program->mainScreen.oldskoolMode, c.oldskoolMode) << c.what;
        expectInTheRoom(run, c.what);
    }
}

} // namespace
