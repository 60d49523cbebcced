// The room's costliest frame: all ten lamps lit with their cones, the player panel open, the
// verb bar and sentence line of old-school mode, the view scrolled to show the most cone
// pixels; rendered, enlarged to 1920x1080 and converted to 32 bits. Beside it the cones alone,
// tinted through the lamps' tables and, as the baseline, with hueColor for every pixel.
// Compare roomFrame1080p with memcpyOfTheOutput/size:2/depth:32 of the same run.
#include "core/frame_geometry.h"
#include "core/program.h"
#include "platform/pixel_convert.h"
#include "render/font.h"
#include "support/cone_tint_reference.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr int32_t windowWidth = 1920, windowHeight = 1080;

// The lamps as the room hangs them before the music moves them: room column, swing position
// (the picture a to e) and the hue of the cone.
struct LampPlace {
    int32_t roomX;
    int32_t position;
    float hue;
};
constexpr LampPlace lampPlaces[lampCount] = {
    {300, 0, 0},  {326, 3, 120}, {352, 2, 255}, {378, 1, 190}, {396, 4, 255},
    {422, 1, 85}, {448, 2, 120}, {474, 3, 190}, {492, 0, 0},   {518, 3, 255},
};

// The cone pixels of all lamps that lie in the view at scrollX.
int64_t conePixelsInView(const MainScreen& room, int32_t scrollX) {
    int64_t count = 0;
    for (const LampPlace& lamp : lampPlaces) {
        const Image& cone = room.lightCone[lamp.position];
        for (int32_t r = 0; r < std::min(cone.height, frameHeight); ++r) {
            for (int32_t j = 0; j < cone.width; ++j) {
                const int32_t column = lamp.roomX - scrollX + j;
                count += column >= 0 && column < frameWidth &&
                         (cone.pixels[r * cone.width + j] >> 16 & 0xFF) != 0;
            }
        }
    }
    return count;
}

// The room loaded from the built interface archive and set to its worst case; null when the
// archive is not there.
Program* worstCaseRoom() {
    static const std::unique_ptr<Program> program = [] {
        auto p = std::make_unique<Program>();
        if (!p->interfaceArchive.open(CAS_INTERFACE_ARCHIVE) ||
            !loadFont(p->interfaceArchive, p->silkyFont, "silkywonderland.fnt",
                      "silkywonderland_0.png")) {
            return std::unique_ptr<Program>();
        }
        MainScreen& room = p->mainScreen;
        room.load(p->interfaceArchive);
        room.oldskoolMode = true;
        room.commandBar.currentVerb = verbUse;
        room.guitarTaken = true;
        room.rockoutActive = true;
        room.playerPanel.x = 0;
        std::fill(std::begin(room.lightTimer), std::end(room.lightTimer), 10);
        const int32_t lastScrollX = std::max(0, room.background.width - frameWidth);
        for (int32_t scrollX = 0; scrollX <= lastScrollX; scrollX += 4) {
            if (conePixelsInView(room, scrollX) > conePixelsInView(room, room.scrollX)) {
                room.scrollX = scrollX;
            }
        }
        // The pointer over the guitar's place, which names it on the sentence line.
        p->geometry = computeFrameGeometry(windowWidth, windowHeight);
        p->input.mouseX = p->geometry.frameOffsetX + (516 - room.scrollX) * p->geometry.frameScale;
        p->input.mouseY = p->geometry.frameOffsetY + 81 * p->geometry.frameScale;
        return p;
    }();
    return program.get();
}

void roomFrame1080p(benchmark::State& state) {
    Program* program = worstCaseRoom();
    if (program == nullptr) {
        state.SkipWithError("the interface archive is not built");
        return;
    }
    std::vector<uint32_t> window(static_cast<size_t>(windowWidth) * windowHeight);
    const int32_t pitch = windowWidth * bytesPerPixel(32);
    std::vector<uint8_t> surface(static_cast<size_t>(pitch) * windowHeight);
    Framebuffer& frame = program->framebuffer;
    for (auto _ : state) {
        std::memset(frame.pixels, 0, sizeof frame.pixels);
        program->mainScreen.render();
        enlargeFrame(frame, program->geometry, window.data(), windowWidth);
        convertPixels(window.data(), windowWidth, windowHeight, 32, surface.data(), pitch);
        benchmark::DoNotOptimize(surface.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * pitch * windowHeight);
}

// Both cone benchmarks tint the same rendered room frame, restored before each pass.
template <typename TintLamp> void tintAllCones(benchmark::State& state, TintLamp tintLamp) {
    Program* program = worstCaseRoom();
    if (program == nullptr) {
        state.SkipWithError("the interface archive is not built");
        return;
    }
    MainScreen& room = program->mainScreen;
    auto roomFrame = std::make_unique<Framebuffer>();
    room.render();
    *roomFrame = program->framebuffer;
    auto frame = std::make_unique<Framebuffer>();
    for (auto _ : state) {
        *frame = *roomFrame;
        for (int32_t i = 0; i < lampCount; ++i) {
            tintLamp(*frame, room, i);
        }
        benchmark::ClobberMemory();
    }
    state.counters["pixels"] =
        benchmark::Counter(static_cast<double>(conePixelsInView(room, room.scrollX)) *
                               static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
}

void coneTintTable(benchmark::State& state) {
    tintAllCones(state, [](Framebuffer& frame, const MainScreen& room, int32_t i) {
        const LampPlace& lamp = lampPlaces[i];
        tintLightCone(frame, room.lightCone[lamp.position], room.coneSpans[lamp.position],
                      lamp.roomX - room.scrollX, room.coneTint[i]);
    });
}

// The baseline: hueColor evaluated for every cone pixel, over the same spans of the masks.
void coneTintHueColorPerPixel(benchmark::State& state) {
    tintAllCones(state, [](Framebuffer& frame, const MainScreen& room, int32_t i) {
        const LampPlace& lamp = lampPlaces[i];
        const Image& cone = room.lightCone[lamp.position];
        const int32_t left = lamp.roomX - room.scrollX;
        for (int32_t r = 0; r < std::min(cone.height, frameHeight); ++r) {
            const ConeRowSpan& span = room.coneSpans[lamp.position][r];
            const int32_t end = std::min({cone.width, frameWidth - left, span.end});
            for (int32_t j = std::max(-left, span.first); j < end; ++j) {
                if ((cone.pixels[r * cone.width + j] >> 16 & 0xFF) != 0) {
                    uint32_t& pixel = frame.at(left + j, r);
                    pixel = tintWithHueColor(pixel, lamp.hue);
                }
            }
        }
    });
}

BENCHMARK(roomFrame1080p)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(coneTintTable)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(coneTintHueColorPerPixel)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
