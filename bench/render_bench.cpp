// The cost of the blitters and of text: a full-screen drawImage, blendImage and
// drawImageRecolored, and a screen of drawText (25 lines of 40 characters of 8x8 glyphs),
// in pixels per second against memcpy of the same 320x200 frame of bytes.
#include "render/blit.h"
#include "render/font.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

constexpr int64_t framePixels = int64_t{frameWidth} * frameHeight;

void countPixels(benchmark::State& state, int64_t pixelsPerIteration) {
    state.counters["pixels"] = benchmark::Counter(static_cast<double>(pixelsPerIteration) *
                                                      static_cast<double>(state.iterations()),
                                                  benchmark::Counter::kIsRate);
}

// A frame-sized picture: a quarter of its pixels transparent, an eighth pure white (which
// drawImageRecolored replaces), the rest assorted colours, in a pattern the branch predictor
// cannot learn row by row.
Image screenPicture() {
    Image image;
    image.width = frameWidth;
    image.height = frameHeight;
    image.pixels = std::make_unique<uint32_t[]>(framePixels);
    uint32_t state = 12345;
    for (int64_t i = 0; i < framePixels; ++i) {
        state = state * 1664525u + 1013904223u;
        uint32_t kind = state >> 29;
        image.pixels[i] = kind < 2    ? (state & 0x00FFFFFF)
                          : kind == 2 ? 0xFFFFFFFF
                                      : state | 0xFF000000;
    }
    return image;
}

// 95 glyphs of 8x8 whose ink is about half of every rectangle, advance 8, as the boot screen's
// font is laid out.
const BitmapFont& blockFont() {
    static const BitmapFont font = [] {
        BitmapFont f;
        std::string description;
        for (int32_t id = 32; id < 127; ++id) {
            int32_t index = id - 32;
            description += "char id=" + std::to_string(id) +
                           " x=" + std::to_string(index % 16 * 8) +
                           " y=" + std::to_string(index / 16 * 8) +
                           " width=8 height=8 xoffset=0 yoffset=0 xadvance=8 page=0 chnl=15\n";
        }
        parseFontDescription(description, f);
        f.atlas.width = 128;
        f.atlas.height = 48;
        f.atlas.pixels = std::make_unique<uint32_t[]>(128 * 48);
        for (int32_t i = 0; i < 128 * 48; ++i) {
            f.atlas.pixels[i] = ((i * 7) ^ (i >> 7)) % 2 == 0 ? 0xFFFFFFFF : 0;
        }
        return f;
    }();
    return font;
}

void drawImageFullScreen(benchmark::State& state) {
    static Framebuffer frame;
    const Image image = screenPicture();
    for (auto _ : state) {
        drawImage(frame, image, 0, 0);
        benchmark::ClobberMemory();
    }
    countPixels(state, framePixels);
}

void blendImageFullScreen(benchmark::State& state) {
    static Framebuffer frame;
    const Image image = screenPicture();
    uint32_t factor = 0;
    for (auto _ : state) {
        blendImage(frame, image, ++factor);
        benchmark::ClobberMemory();
    }
    countPixels(state, framePixels);
}

void drawImageRecoloredFullScreen(benchmark::State& state) {
    static Framebuffer frame;
    const Image image = screenPicture();
    for (auto _ : state) {
        drawImageRecolored(frame, image, 0, 0xFF9AD284);
        benchmark::ClobberMemory();
    }
    countPixels(state, framePixels);
}

void drawTextScreen(benchmark::State& state) {
    static Framebuffer frame;
    std::string screen;
    for (int32_t line = 0; line < 25; ++line) {
        for (int32_t column = 0; column < 40; ++column) {
            screen += static_cast<char>(33 + (line * 40 + column) % 94);
        }
        screen += '\n';
    }
    const BitmapFont& font = blockFont();
    for (auto _ : state) {
        drawText(frame, screen.c_str(), font, 0, 0, 0xFF6C5EB5);
        benchmark::ClobberMemory();
    }
    countPixels(state, framePixels);
}

// The baseline: copying the bytes of one frame.
void memcpyOfAFrame(benchmark::State& state) {
    static Framebuffer from, to;
    std::memset(from.pixels, 1, sizeof from.pixels);
    for (auto _ : state) {
        std::memcpy(to.pixels, from.pixels, sizeof to.pixels);
        benchmark::DoNotOptimize(to.pixels);
        benchmark::ClobberMemory();
    }
    countPixels(state, framePixels);
}

BENCHMARK(memcpyOfAFrame);
BENCHMARK(drawImageFullScreen);
BENCHMARK(blendImageFullScreen);
BENCHMARK(drawImageRecoloredFullScreen);
BENCHMARK(drawTextScreen);

} // namespace
