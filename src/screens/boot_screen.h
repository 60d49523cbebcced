// Screen 1: an 8-bit home computer that has just been switched on, on which a disk load command
// is typed and the loaded program started. After 96 steps of 8 ticks (7.68 s at 10 ms a tick;
// Space skips to the last two steps) it starts the cracktro's music and hands over to the
// cracktro. Main thread only.
#pragma once

#include "core/gui_element.h"

#include <cstdint>

struct Program;

struct BootScreen : GUIElement {
    Program& program;
    int32_t tickCount = 0; // ticks since the last step, 0 to 7
    int32_t progress = 0;  // step of the sequence, 0 to 95; passing 95 ends it

    explicit BootScreen(Program& owner) : program(owner) {}
    bool onKey(uint16_t code) override;
    void render() override;
    void tick() override;
};
