// The cost of showing a frame: enlarging the 320x200 frame into the window buffer and
// converting that into display memory, against a plain memcpy of the same number of output
// bytes, for three window sizes at 32 and 16 bits per pixel.
#include "core/frame_geometry.h"
#include "platform/pixel_convert.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

struct Size {
    int32_t width;
    int32_t height;
};

constexpr Size sizes[] = {{640, 400}, {1280, 800}, {1920, 1080}};

void enlargeAndConvert(benchmark::State& state) {
    const Size size = sizes[state.range(0)];
    const int32_t depth = static_cast<int32_t>(state.range(1));
    static Framebuffer frame;
    for (int32_t i = 0; i < frameWidth * frameHeight; ++i) {
        frame.pixels[i] = 0xFF000000u | static_cast<uint32_t>(i * 2654435761u >> 8);
    }
    FrameGeometry geometry = computeFrameGeometry(size.width, size.height);
    std::vector<uint32_t> window(static_cast<size_t>(size.width) * size.height);
    const int32_t pitch = size.width * bytesPerPixel(depth);
    std::vector<uint8_t> surface(static_cast<size_t>(pitch) * size.height);
    for (auto _ : state) {
        enlargeFrame(frame, geometry, window.data(), size.width);
        convertPixels(window.data(), size.width, size.height, depth, surface.data(), pitch);
        benchmark::DoNotOptimize(surface.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * pitch * size.height);
}

// The baseline: copying as many bytes as the conversion writes.
void memcpyOfTheOutput(benchmark::State& state) {
    const Size size = sizes[state.range(0)];
    const size_t bytes =
        static_cast<size_t>(size.width) * size.height * bytesPerPixel(static_cast<int32_t>(state.range(1)));
    std::vector<uint8_t> from(bytes, 1), to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

void sizesAndDepths(benchmark::internal::Benchmark* b) {
    for (int64_t size = 0; size < 3; ++size) {
        for (int64_t depth : {32, 16}) {
            b->Args({size, depth});
        }
    }
    b->ArgNames({"size", "depth"});
}

BENCHMARK(enlargeAndConvert)->Apply(sizesAndDepths);
BENCHMARK(memcpyOfTheOutput)->Apply(sizesAndDepths);

} // namespace
