// Screen 1, the first thing shown: for now a fixed test picture of colour ramps, which the
// real-window test compares with what reaches the display. Main thread only.
#pragma once

#include "core/framebuffer.h"
#include "core/gui_element.h"

#include <cstdint>

struct Program;

// The test picture's pixel at frame point (x, y): red rises left to right, green top to
// bottom, blue along the diagonal, so every channel takes many values.
uint32_t testPicturePixel(int32_t x, int32_t y);

struct BootScreen : GUIElement {
    Program& program;

    explicit BootScreen(Program& owner) : program(owner) {}
    void render() override;
};
