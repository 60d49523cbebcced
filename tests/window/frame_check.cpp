// Compares a screenshot of the program's window with a screen as the program draws it, enlarged
// by the window's whole factor and cut to the display's bits per channel. The shot must equal
// one of the frames the screen can show:
//   boot      any step of the boot sequence;
//   cracktro  any of the cracktro's first 3,000 ticks (30 s), in the frame rows above the
//             greetings, which are made anew at every start;
//   trainer   the trainer screen's one frame;
//   panel     the room's player panel slid in: the top of its picture, above the titles, at
//             frame (0, 50), whatever the room around it shows;
//   end       the closing picture once it has faded in.
// Usage: frame-check SHOT.xwd [boot|cracktro|trainer|panel|end], run beside interface.qar; the boot
// screen when none is named. Exit 0 when the shot matches.
#include "core/main_loop.h"
#include "core/program.h"
#include "render/blit.h"
#include "xwd_image.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr int32_t greetingsTopRow = 123;

// A frame pixel no picture draws (its alpha is 0): pixels left at it are not compared.
constexpr uint32_t notDrawn = 0x00123456;

// Pixels of the shot's first `rows` rows that differ from the window buffer as the display
// shows it, counted up to `limit`; pixels of the window buffer left at notDrawn are skipped.
long countDifferences(const XwdImage& shot, const std::vector<uint32_t>& window, int32_t rows,
                      long limit) {
    long differences = 0;
    size_t pixels = std::min(window.size(), static_cast<size_t>(rows) * shot.width);
    for (size_t i = 0; i < pixels && differences < limit; ++i) {
        uint32_t pixel = window[i];
        if (pixel == notDrawn) {
            continue;
        }
        uint32_t expected = ((pixel >> 16 & 0xFF) >> (8 - shot.redBits)) << 16 |
                            ((pixel >> 8 & 0xFF) >> (8 - shot.greenBits)) << 8 |
                            ((pixel & 0xFF) >> (8 - shot.blueBits));
        differences += shot.channels[i] != expected ? 1 : 0;
    }
    return differences;
}

// The frames a screen can show, the candidate-th of them drawn by `draw`; `frameRows` frame
// rows from the top are compared. A screen that shows only a part starts from a frame of
// notDrawn instead of black.
struct Screen {
    const char* name;
    const char* candidateName;
    int32_t candidates;
    int32_t frameRows;
    void (*draw)(Program& program, int32_t candidate);
    bool partial = false;
};

const Screen screens[] = {
    {"boot", "step", 96, frameHeight,
     [](Program& program, int32_t step) {
         program.bootScreen.progress = step;
         program.bootScreen.render();
     }},
    {"cracktro", "tick", 3000, greetingsTopRow,
     [](Program& program, int32_t tick) {
         // Candidates are drawn in order, so one more tick reaches the next.
         if (tick > 0) {
             program.cracktro.tick();
         }
         program.cracktro.render();
     }},
    {"trainer", "frame", 1, frameHeight,
     [](Program& program, int32_t) { program.trainerScreen.render(); }},
    {"panel", "frame", 1, 50 + 20,
     [](Program& program, int32_t) {
         PlayerGUI& panel = program.mainScreen.playerPanel;
         drawImage(program.framebuffer, panel.background, 0, panel.y);
     },
     true},
    {"end", "frame", 1, frameHeight,
     [](Program& program, int32_t) {
         program.endScreen.fadeIn = 248;
         program.endScreen.render();
     }},
};

} // namespace

int main(int argc, char** argv) {
    const char* name = argc == 3 ? argv[2] : "boot";
    const Screen* screen = nullptr;
    for (const Screen& s : screens) {
        screen = std::strcmp(s.name, name) == 0 ? &s : screen;
    }
    if ((argc != 2 && argc != 3) || screen == nullptr) {
        std::fputs("usage: frame-check SHOT.xwd [boot|cracktro|trainer|panel|end]\n", stderr);
        return 2;
    }
    XwdImage shot;
    std::string error;
    if (!readXwd(argv[1], shot, error)) {
        std::fprintf(stderr, "%s: %s\n", argv[1], error.c_str());
        return 1;
    }
    auto program = std::make_unique<Program>();
    if (!program->interfaceArchive.open("interface.qar") ||
        !loadFont(program->interfaceArchive, program->c64Font, "c64font.fnt", "c64font_0.png") ||
        !loadFont(program->interfaceArchive, program->mosaicFont, "sfintermosaic.fnt",
                  "sfintermosaic_0.png") ||
        !loadImage(program->interfaceArchive, program->endScreen.picture, "endscreen.png")) {
        std::fputs("frame-check: cannot load the screens' fonts and pictures from interface.qar\n",
                   stderr);
        return 1;
    }
    program->cracktro.load(0); // its logos, sine table and scroller text
    program->mainScreen.playerPanel.load(program->interfaceArchive);
    program->geometry = computeFrameGeometry(shot.width, shot.height);
    const FrameGeometry& geometry = program->geometry;
    const int32_t shotRows = geometry.frameOffsetY + screen->frameRows * geometry.frameScale;
    std::vector<uint32_t> window(static_cast<size_t>(shot.width) * shot.height, 0);

    long fewest = static_cast<long>(window.size());
    for (int32_t candidate = 0; candidate < screen->candidates; ++candidate) {
        std::fill(std::begin(program->framebuffer.pixels), std::end(program->framebuffer.pixels),
                  screen->partial ? notDrawn : 0u);
        screen->draw(*program, candidate);
        enlargeFrame(program->framebuffer, geometry, window.data(), shot.width);
        long differences = countDifferences(shot, window, shotRows, fewest);
        if (differences == 0) {
            std::printf("%dx%d at %d-%d-%d bits: the %s screen at %s %d, exactly\n", shot.width,
                        shot.height, shot.redBits, shot.greenBits, shot.blueBits, screen->name,
                        screen->candidateName, candidate);
            return 0;
        }
        fewest = std::min(fewest, differences);
    }
    std::printf("%dx%d: no %s of the %s screen matches; the closest differs in %ld pixels\n",
                shot.width, shot.height, screen->candidateName, screen->name, fewest);
    return 1;
}
