// Every object that lives for the whole run, in one aggregate: the interface archive, the
// input record, the fonts, the music, the screens, the active screen's number, the tick
// period, the frame and the window buffer. Members are constructed in declaration order and
// destroyed in reverse. The program has one instance; each test makes a fresh one. Main thread
// only.
#pragma once

#include "audio/music.h"
#include "core/frame_geometry.h"
#include "core/framebuffer.h"
#include "core/random.h"
#include "platform/input_state.h"
#include "platform/setup_dialog.h"
#include "render/font.h"
#include "resources/pack_archive.h"
#include "screens/boot_screen.h"
#include "screens/cracktro.h"
#include "screens/end_screen.h"
#include "screens/main_screen.h"
#include "screens/trainer_screen.h"

#include <array>
#include <cstdint>
#include <memory>

struct Program {
    PackArchive interfaceArchive; // pictures, fonts, texts, samples and modules
    InputState input;
    BitmapFont c64Font;    // "c64font": the boot and trainer screens
    BitmapFont silkyFont;  // "silkywonderland": track titles and the sentence line
    BitmapFont mosaicFont; // "sfintermosaic": the cracktro
    MusicState music;
    Random random; // the one generator every screen draws from
    BootScreen bootScreen{*this};
    Cracktro cracktro{*this};
    TrainerScreen trainerScreen{*this};
    MainScreen mainScreen{*this};
    EndScreen endScreen{*this};

    // The screen objects by screenId - 1.
    std::array<GUIElement*, 5> screens{&bootScreen, &cracktro, &trainerScreen, &mainScreen,
                                       &endScreen};
    int32_t screenId = 1;       // the active screen, 1 to 5
    uint32_t tickPeriodMs = 75; // one fixed time step
    uint32_t lastTickMs = 0;    // the clock reading up to which ticks have run

    Framebuffer framebuffer{};
    FrameGeometry geometry;
    std::unique_ptr<uint32_t[]> windowBuffer; // input.width x input.height pixels
    DisplaySettings displaySettings;          // the setup dialog's answer
};
