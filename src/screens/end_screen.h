// Screen 5, the last one: the closing picture fades in from black, waits for Space or Enter,
// fades out again and then ends the program. Main thread only.
#pragma once

#include "core/gui_element.h"
#include "resources/image.h"

#include <cstdint>

struct Program;

struct EndScreen : GUIElement {
    Program& program;
    Image picture;          // "endscreen.png", loaded by start-up
    int32_t fadeIn = 0;     // blend factor while fading in; +8 a tick up to 248
    bool fadingOut = false; // set by Space or Enter once the fade-in is complete
    int32_t fadeOut = 255;  // blend factor while fading out; -8 a tick

    explicit EndScreen(Program& owner) : program(owner) {}
    bool onKey(uint16_t code) override;
    void render() override;
    void tick() override;
};
