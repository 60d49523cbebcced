#include "core/startup.h"

#include "core/main_loop.h"

#include <algorithm>
#include <cstdio>

bool startUp(Program& program, const PlatformCalls& platform) {
    InputState& input = program.input;

    // The display mode and the fullscreen choice come from the setup dialog; Cancel ends the
    // run quietly.
    DisplaySettings& settings = program.displaySettings;
    settings.modes = GrowArray<DisplayMode>(10);
    switch (platform.showSetupDialog(settings)) {
    case SetupResult::Run:
        break;
    case SetupResult::Cancel:
        return false;
    case SetupResult::NoDisplay:
        std::fputs("display: cannot open\n", stderr);
        return false;
    }
    // Smaller modes cannot hold the frame: the enlargement would write outside the window.
    if (settings.width < frameWidth || settings.height < frameHeight) {
        std::fprintf(stderr, "display: %dx%d is smaller than the %dx%d frame\n", settings.width,
                     settings.height, frameWidth, frameHeight);
        return false;
    }

    // Every picture, font and sound of the screens comes from the interface archive.
    if (!program.interfaceArchive.open("interface.qar")) {
        std::fputs("interface.qar: cannot open\n", stderr);
        return false;
    }

    struct FontFiles {
        BitmapFont& font;
        const char* description;
        const char* atlas;
    };
    const FontFiles fonts[] = {
        {program.c64Font, "c64font.fnt", "c64font_0.png"},
        {program.silkyFont, "silkywonderland.fnt", "silkywonderland_0.png"},
        {program.mosaicFont, "sfintermosaic.fnt", "sfintermosaic_0.png"},
    };
    for (const FontFiles& f : fonts) {
        if (!loadFont(program.interfaceArchive, f.font, f.description, f.atlas)) {
            std::fprintf(stderr, "%s: cannot load\n", f.description);
            return false;
        }
    }

    input.fullscreen = settings.fullscreen;
    program.geometry.frameScale = 1;
    if (!platform.createDisplay(input, settings.width, settings.height)) {
        return false;
    }

    size_t pixels = static_cast<size_t>(input.width) * static_cast<size_t>(input.height);
    program.windowBuffer = std::make_unique<uint32_t[]>(pixels);
    std::fill_n(program.windowBuffer.get(), pixels, 0u);
    program.geometry = computeFrameGeometry(input.width, input.height);

    // Without the music archive or a sound device the program runs silent.
    startAudio(program.music);

    // The screens' pictures and sounds; whatever fails to load is simply missing when drawn.
    program.cracktro.load(platform.tickCountMs());
    program.mainScreen.load(program.interfaceArchive);
    loadImage(program.interfaceArchive, program.endScreen.picture, "endscreen.png");

    program.lastTickMs = platform.tickCountMs();
    return true;
}

void shutDown(Program& program, const PlatformCalls& platform) {
    program.windowBuffer.reset();
    stopAudio(program.music);
    platform.destroyDisplay(program.input);
    program.interfaceArchive.clear();
    program.displaySettings.modes = GrowArray<DisplayMode>(0);
}

int runProgram(Program& program, const PlatformCalls& platform) {
    if (!startUp(program, platform)) {
        platform.destroyDisplay(program.input);
        return 0;
    }
    return runStartedProgram(program, platform);
}

int runStartedProgram(Program& program, const PlatformCalls& platform) {
    runMainLoop(program, platform);
    shutDown(program, platform);
    return 1;
}
