// Screen 2, the title screen with logo, scroller and greetings. It draws nothing yet. Main thread only.
#pragma once

#include "core/gui_element.h"

struct Program;

struct Cracktro : GUIElement {
    Program& program;

    explicit Cracktro(Program& owner) : program(owner) {}
    void render() override {}
};
