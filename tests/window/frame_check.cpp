// Compares a screenshot of the program's window with the boot screen as the program draws it,
// enlarged by the window's whole factor and cut to the display's bits per channel. The
// screenshot may show any step of the boot sequence; it must equal one of them exactly.
// Usage: frame-check SHOT.xwd, run beside interface.qar. Exit 0 when it matches.
#include "core/main_loop.h"
#include "core/program.h"
#include "xwd_image.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

// Pixels of the shot that differ from the window buffer as the display shows it.
long countDifferences(const XwdImage& shot, const std::vector<uint32_t>& window) {
    long differences = 0;
    for (size_t i = 0; i < window.size(); ++i) {
        uint32_t pixel = window[i];
        uint32_t expected = ((pixel >> 16 & 0xFF) >> (8 - shot.redBits)) << 16 |
                            ((pixel >> 8 & 0xFF) >> (8 - shot.greenBits)) << 8 |
                            ((pixel & 0xFF) >> (8 - shot.blueBits));
        differences += shot.channels[i] != expected ? 1 : 0;
    }
    return differences;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: frame-check SHOT.xwd\n", stderr);
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
        !loadFont(program->interfaceArchive, program->c64Font, "c64font.fnt", "c64font_0.png")) {
        std::fputs("frame-check: cannot load the boot screen's font from interface.qar\n", stderr);
        return 1;
    }
    program->geometry = computeFrameGeometry(shot.width, shot.height);
    std::vector<uint32_t> window(static_cast<size_t>(shot.width) * shot.height, 0);

    long fewest = static_cast<long>(window.size());
    for (int32_t step = 0; step <= 95; ++step) {
        program->bootScreen.progress = step;
        std::fill(std::begin(program->framebuffer.pixels), std::end(program->framebuffer.pixels),
                  0u);
        program->bootScreen.render();
        enlargeFrame(program->framebuffer, program->geometry, window.data(), shot.width);
        long differences = countDifferences(shot, window);
        if (differences == 0) {
            std::printf("%dx%d at %d-%d-%d bits: the boot screen at step %d, exactly\n", shot.width,
                        shot.height, shot.redBits, shot.greenBits, shot.blueBits, step);
            return 0;
        }
        fewest = std::min(fewest, differences);
    }
    std::printf("%dx%d: no step of the boot screen matches; the closest differs in %ld pixels\n",
                shot.width, shot.height, fewest);
    return 1;
}
