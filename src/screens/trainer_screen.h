// Screen 3, the trainer menu that asks for old-school mode. It draws nothing yet. Main thread only.
#pragma once

#include "core/gui_element.h"

struct Program;

struct TrainerScreen : GUIElement {
    Program& program;

    explicit TrainerScreen(Program& owner) : program(owner) {}
    void render() override {}
};
