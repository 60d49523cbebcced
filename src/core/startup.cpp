#include "core/startup.h"

#include "core/main_loop.h"

#include <algorithm>
#include <cstdio>

bool startUp(Program& program, const PlatformCalls& platform) {
    InputState& input = program.input;

    // The display mode: the desktop's size, in a window.
    DesktopSize size{};
    if (!platform.desktopSize(size)) {
        std::fputs("display: cannot open\n", stderr);
        return false;
    }
    // Smaller modes cannot hold the frame: the enlargement would write outside the window.
    if (size.width < frameWidth || size.height < frameHeight) {
        std::fprintf(stderr, "display: %dx%d is smaller than the %dx%d frame\n", size.width,
                     size.height, frameWidth, frameHeight);
        return false;
    }

    input.fullscreen = false;
    program.geometry.frameScale = 1;
    if (!platform.createDisplay(input, size.width, size.height)) {
        return false;
    }

    size_t pixels = static_cast<size_t>(input.width) * static_cast<size_t>(input.height);
    program.windowBuffer = std::make_unique<uint32_t[]>(pixels);
    std::fill_n(program.windowBuffer.get(), pixels, 0u);
    program.geometry = computeFrameGeometry(input.width, input.height);

    program.lastTickMs = platform.tickCountMs();
    return true;
}

void shutDown(Program& program, const PlatformCalls& platform) {
    program.windowBuffer.reset();
    platform.destroyDisplay(program.input);
}

int runProgram(Program& program, const PlatformCalls& platform) {
    if (!startUp(program, platform)) {
        platform.destroyDisplay(program.input);
        return 0;
    }
    runMainLoop(program, platform);
    shutDown(program, platform);
    return 1;
}
