#include "core/main_loop.h"

#include "audio/audio_library.h"

#include <algorithm>

GUIElement& activeScreen(Program& program) {
    return *program.screens[static_cast<size_t>(program.screenId - 1)];
}

void runLoopPass(Program& program, const PlatformCalls& platform) {
    InputState& input = program.input;
    // The ends of tracks and slides that the mixer met since the last pass reach the playlist
    // here, on the main thread, before anything of this pass reads or changes it.
    audio::deliverNotifications();
    platform.pumpMessage(input);

    // The screen chosen here gets the whole pass, even if one of its operations switches.
    GUIElement& screen = activeScreen(program);

    while (input.keyQueue.count > 0) {
        uint16_t code = input.keyQueue[0];
        input.keyQueue.removeFirst();
        screen.onKey(code);
    }

    if (input.clickPending) {
        FramePoint point = toFrameCoordinates(program.geometry, input.mouseX, input.mouseY);
        screen.onClick(point.x, point.y);
        input.clickPending = false;
    }

    // Every whole period that has passed runs a tick, with no cap; unsigned arithmetic makes
    // the clock's wrap harmless. The period is read afresh before each comparison.
    uint32_t nowMs = platform.tickCountMs();
    while (nowMs - program.lastTickMs > program.tickPeriodMs) {
        program.lastTickMs += program.tickPeriodMs;
        screen.tick();
    }

    std::fill(std::begin(program.framebuffer.pixels), std::end(program.framebuffer.pixels), 0u);
    screen.render();

    enlargeFrame(program.framebuffer, program.geometry, program.windowBuffer.get(), input.width);
    platform.presentFrame(input, program.windowBuffer.get());
}

void runMainLoop(Program& program, const PlatformCalls& platform) {
    while (!program.input.quitRequested) {
        runLoopPass(program, platform);
    }
}
