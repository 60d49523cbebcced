// Screen 4, the room with the actor, the lights and the two panels. It draws nothing yet. Main thread only.
#pragma once

#include "core/gui_element.h"

struct Program;

struct MainScreen : GUIElement {
    Program& program;

    explicit MainScreen(Program& owner) : program(owner) {}
    void render() override {}
};
