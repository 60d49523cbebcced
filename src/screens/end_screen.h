// Screen 5, the closing picture. It draws nothing yet. Main thread only.
#pragma once

#include "core/gui_element.h"

struct Program;

struct EndScreen : GUIElement {
    Program& program;

    explicit EndScreen(Program& owner) : program(owner) {}
    void render() override {}
};
