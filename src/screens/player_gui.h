// The room's music player: the six track titles, a position slider and five buttons (play,
// previous, next, pause, eject). It waits off the view until the guitar is taken, then the main
// screen slides it in; its eject button ends the room. Owned by the main screen; main thread.
#pragma once

#include "core/gui_element.h"
#include "resources/image.h"
#include "resources/pack_archive.h"

#include <cstdint>

struct Program;

struct PlayerGUI : GUIElement {
    Program& program;
    Image background;   // the panel, always drawn
    Image sliderButton; // the position marker, always drawn
    Image playButton;   // the highlighted buttons, drawn only while highlighted
    Image previousButton;
    Image nextButton;
    Image pauseButton;
    Image ejectButton;
    int32_t x = -140;     // left edge in frame coordinates; slides in to 0
    int32_t y = 50;       // top edge in frame coordinates
    bool closing = false; // set by eject; never cleared

    explicit PlayerGUI(Program& owner) : program(owner) {}
    void load(PackArchive& archive);
    bool onClick(int32_t px, int32_t py) override;
    void render() override;
};
