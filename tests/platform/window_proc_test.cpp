#include "platform/keymap.h"
#include "platform/window_message.h"

#include <gtest/gtest.h>

namespace {

TEST(WindowProc, EscapeEndsTheProgramAndIsNeverQueued) {
    InputState input;
    windowProc(input, {MessageType::KeyDown, keyEscape});
    EXPECT_TRUE(input.quitRequested);
    EXPECT_EQ(input.keyQueue.count, 0);
}

TEST(WindowProc, EveryKeyDownIsQueuedAutoRepeatsIncluded) {
    InputState input;
    for (int i = 0; i < 25; ++i) {
        windowProc(input, {MessageType::KeyDown, 32});
    }
    windowProc(input, {MessageType::KeyDown, 89});
    ASSERT_EQ(input.keyQueue.count, 26);
    EXPECT_EQ(input.keyQueue.capacity, 30);
    EXPECT_EQ(input.keyQueue[24], 32);
    EXPECT_EQ(input.keyQueue[25], 89);
    EXPECT_FALSE(input.quitRequested);
}

TEST(WindowProc, ClosingTheWindowEndsTheProgram) {
    InputState input;
    windowProc(input, {MessageType::Close});
    EXPECT_TRUE(input.quitRequested);
}

TEST(WindowProc, PointerMessagesTrackPositionPressAndClick) {
    InputState input;
    windowProc(input, {MessageType::MouseMove, 0, 10, 20});
    EXPECT_EQ(input.mouseX, 10);
    EXPECT_EQ(input.mouseY, 20);
    EXPECT_FALSE(input.clickPending);

    windowProc(input, {MessageType::ButtonDown, 0, 11, 21});
    EXPECT_TRUE(input.mouseDown);
    EXPECT_FALSE(input.clickPending) << "only the release is a click";
    EXPECT_EQ(input.mouseX, 11);

    windowProc(input, {MessageType::ButtonUp, 0, 12, 22});
    EXPECT_FALSE(input.mouseDown);
    EXPECT_TRUE(input.clickPending);
    EXPECT_EQ(input.mouseX, 12);
    EXPECT_EQ(input.mouseY, 22);
}

TEST(WindowProc, PointerPositionsAreUnsignedSixteenBitHalves) {
    InputState input;
    windowProc(input, {MessageType::MouseMove, 0, -1, -2});
    EXPECT_EQ(input.mouseX, 65535);
    EXPECT_EQ(input.mouseY, 65534);
}

TEST(WindowProc, MovingTheWindowRefreshesItsRectangles) {
    InputState input;
    WindowMessage moved{MessageType::Move};
    moved.windowRect = {95, 70, 745, 480};
    moved.clientRect = {0, 0, 640, 400};
    moved.clientScreenRect = {100, 75, 740, 475};
    windowProc(input, moved);
    EXPECT_EQ(input.clientScreenRect.left, 100);
    EXPECT_EQ(input.clientScreenRect.bottom, 475);
    EXPECT_EQ(input.windowRect.left, 95);
    EXPECT_EQ(input.clientRect.right, 640);
}

TEST(KeyMap, KeysBecomeWindowsVirtualKeyCodes) {
    struct Case {
        SDL_Keycode key;
        uint16_t virtualKey;
    };
    const Case cases[] = {
        {SDLK_SPACE, 32}, {SDLK_RETURN, 13}, {SDLK_KP_ENTER, 13}, {SDLK_ESCAPE, 27},
        {SDLK_a, 65},     {SDLK_y, 89},      {SDLK_n, 78},        {SDLK_z, 90},
        {SDLK_0, 48},     {SDLK_9, 57},      {SDLK_LEFT, 37},     {SDLK_DOWN, 40},
        {SDLK_F1, 112},   {SDLK_KP_0, 96},   {SDLK_KP_9, 105},    {SDLK_UNKNOWN, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(virtualKeyFromSdl(c.key), c.virtualKey) << SDL_GetKeyName(c.key);
    }
}

TEST(KeyMap, AltCombinationsAreSystemKeys) {
    EXPECT_TRUE(isSystemKey(SDLK_y, KMOD_LALT));
    EXPECT_TRUE(isSystemKey(SDLK_F10, KMOD_NONE));
    EXPECT_FALSE(isSystemKey(SDLK_y, KMOD_NONE));
    EXPECT_FALSE(isSystemKey(SDLK_y, KMOD_LSHIFT));
    EXPECT_FALSE(isSystemKey(SDLK_q, KMOD_LCTRL | KMOD_RALT)) << "AltGr types characters";
}

} // namespace
