// The end screen on a white picture, so that every frame shows the blend factor directly:
// a white channel drawn at factor f over the black frame becomes 255 * f / 256.
#include "core/program.h"
#include "render/test_images.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

constexpr uint16_t keySpace = 32;
constexpr uint16_t keyEnter = 13;
constexpr int32_t fadeTicks = 31; // 0 to 248 in steps of 8, and 255 down to 7

// The red byte that a white pixel shows at `factor`.
int32_t shownAt(int32_t factor) {
    return 255 * factor / 256;
}

class EndScreenFades : public testing::Test {
protected:
    std::unique_ptr<Program> program;

    void SetUp() override { restart(); }

    // A fresh program whose end screen has not run yet.
    void restart() {
        program = std::make_unique<Program>();
        screen().picture = makeFilledImage(320, 200, 0xFFFFFFFF);
    }
    EndScreen& screen() { return program->endScreen; }

    // What the main loop does for one frame: clear, then render.
    int32_t render() {
        std::fill(std::begin(program->framebuffer.pixels), std::end(program->framebuffer.pixels),
                  0u);
        screen().render();
        EXPECT_EQ(program->framebuffer.at(0, 0), program->framebuffer.at(319, 199));
        return static_cast<int32_t>((program->framebuffer.at(160, 100) >> 16) & 0xFF);
    }

    void completeFadeIn() {
        for (int32_t i = 0; i < fadeTicks; ++i) {
            screen().tick();
        }
    }
};

TEST_F(EndScreenFades, FadesInFromBlackOverThirtyOneTicksAndThenStays) {
    std::vector<int32_t> shown{render()};
    for (int32_t i = 0; i < fadeTicks + 5; ++i) {
        screen().tick();
        shown.push_back(render());
    }
    std::vector<int32_t> expected;
    for (int32_t factor = 0; factor <= 248; factor += 8) {
        expected.push_back(shownAt(factor));
    }
    expected.resize(expected.size() + 5, shownAt(248));
    EXPECT_EQ(shown, expected) << "black on the first render, then 0, 7, 15, ..., 247";
    EXPECT_EQ(shown.back(), 247);
    EXPECT_FALSE(program->input.quitRequested);
}

TEST_F(EndScreenFades, KeysDuringTheFadeInAreIgnoredAndNotRemembered) {
    for (int32_t i = 0; i < fadeTicks; ++i) {
        EXPECT_FALSE(screen().onKey(keySpace));
        EXPECT_FALSE(screen().onKey(keyEnter));
        EXPECT_FALSE(screen().fadingOut) << "at fade-in factor " << screen().fadeIn;
        screen().tick();
    }
    for (int32_t i = 0; i < 100; ++i) {
        screen().tick();
    }
    EXPECT_FALSE(screen().fadingOut);
    EXPECT_FALSE(program->input.quitRequested) << "the picture waits for a key pressed now";
    EXPECT_EQ(render(), shownAt(248));
}

TEST_F(EndScreenFades, OtherKeysAndClicksChangeNothing) {
    completeFadeIn();
    for (uint16_t code : {uint16_t{'Y'}, uint16_t{'N'}, uint16_t{'A'}, uint16_t{'0'}, uint16_t{9},
                          uint16_t{8}, uint16_t{38}, uint16_t{40}}) {
        EXPECT_FALSE(screen().onKey(code)) << code;
    }
    EXPECT_FALSE(screen().onClick(160, 100));
    screen().tick();
    EXPECT_FALSE(screen().fadingOut);
    EXPECT_EQ(render(), shownAt(248));
}

// Space and Enter alike: the first frame after the key shows 255, slightly brighter than the
// 248 of the fade-in, then 247, 239, ..., 7; the tick that reaches 7 ends the program, and a
// second key meanwhile changes nothing.
TEST_F(EndScreenFades, SpaceOrEnterFadesOutFrom255AndThenEndsTheProgram) {
    for (uint16_t key : {keySpace, keyEnter}) {
        restart();
        EndScreen& end = screen();
        completeFadeIn();
        EXPECT_FALSE(end.onKey(key)) << "the result is false even for " << key;
        ASSERT_TRUE(end.fadingOut) << key;

        std::vector<int32_t> shown{render()};
        int32_t ticks = 0;
        while (!program->input.quitRequested && ticks < 100) {
            end.tick();
            ++ticks;
            shown.push_back(render());
            end.onKey(keySpace); // changes nothing during the fade-out
        }
        std::vector<int32_t> expected;
        for (int32_t factor = 255; factor >= 7; factor -= 8) {
            expected.push_back(shownAt(factor));
        }
        EXPECT_EQ(ticks, fadeTicks) << key;
        EXPECT_EQ(end.fadeOut, 7) << key;
        EXPECT_EQ(shown, expected) << key;
    }
}

TEST_F(EndScreenFades, WithoutItsPictureTheScreenStaysBlackAndEndsAfterTheSameTicks) {
    screen().picture = Image();
    completeFadeIn();
    screen().onKey(keyEnter);
    int32_t ticks = 0;
    while (!program->input.quitRequested && ticks < 100) {
        screen().tick();
        ++ticks;
        EXPECT_EQ(render(), 0);
    }
    EXPECT_EQ(ticks, fadeTicks);
}

} // namespace
