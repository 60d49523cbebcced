#include "core/frame_geometry.h"

#include <array>
#include <cstring>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

FrameGeometry computeFrameGeometry(int32_t windowWidth, int32_t windowHeight) {
    FrameGeometry geometry;
    int32_t scaledWidth = windowWidth;
    int32_t scaledHeight = windowHeight;
    if (windowWidth >= frameWidth) {
        for (int32_t k = 1; frameWidth * k <= windowWidth && frameHeight * k <= windowHeight; ++k) {
            geometry.frameScale = k;
            scaledWidth = frameWidth * k;
            scaledHeight = frameHeight * k;
        }
    }
    geometry.frameOffsetX = (windowWidth - scaledWidth) / 2;
    geometry.frameOffsetY = (windowHeight - scaledHeight) / 2;
    return geometry;
}

FramePoint toFrameCoordinates(const FrameGeometry& geometry, int32_t windowX, int32_t windowY) {
    return {(windowX - geometry.frameOffsetX) / geometry.frameScale,
            (windowY - geometry.frameOffsetY) / geometry.frameScale};
}

namespace {

// Widening one frame row by the factor is the costly half of the enlargement (the other half
// repeats the widened row with memcpy), so the common factors get an unrolled version.
#if defined(__SSE2__)
// Four frame pixels in one register become `scale` registers of four window pixels; each
// output lane i takes the frame pixel i / scale, picked with one shuffle.
template <int32_t scale, int32_t k> void storeWidened(__m128i four, uint32_t* out) {
    constexpr int lane0 = (4 * k + 0) / scale, lane1 = (4 * k + 1) / scale;
    constexpr int lane2 = (4 * k + 2) / scale, lane3 = (4 * k + 3) / scale;
    __m128i widened = _mm_shuffle_epi32(four, _MM_SHUFFLE(lane3, lane2, lane1, lane0));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * k), widened);
}

template <int32_t scale, int32_t... k>
void widenFour(__m128i four, uint32_t* out, std::integer_sequence<int32_t, k...>) {
    (storeWidened<scale, k>(four, out), ...);
}

template <int32_t scale> void widenRow(const uint32_t* source, uint32_t* out) {
    static_assert(frameWidth % 4 == 0);
    for (int32_t x = 0; x < frameWidth; x += 4) {
        __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + x));
        widenFour<scale>(four, out + x * scale, std::make_integer_sequence<int32_t, scale>{});
    }
}
#else
template <int32_t scale> void widenRow(const uint32_t* source, uint32_t* out) {
    for (int32_t x = 0; x < frameWidth; ++x) {
        for (int32_t r = 0; r < scale; ++r) {
            out[x * scale + r] = source[x];
        }
    }
}
#endif

void widenRowAnyScale(const uint32_t* source, uint32_t* out, int32_t scale) {
    for (int32_t x = 0; x < frameWidth; ++x) {
        for (int32_t r = 0; r < scale; ++r) {
            *out++ = source[x];
        }
    }
}

using WidenRow = void (*)(const uint32_t* source, uint32_t* out);

template <int32_t... scale>
constexpr std::array<WidenRow, sizeof...(scale)> widenersFor(std::integer_sequence<int32_t, scale...>) {
    return {widenRow<scale + 1>...};
}

// Unrolled wideners for the factors 1 to 12 (up to a 3840-pixel-wide display).
constexpr auto wideners = widenersFor(std::make_integer_sequence<int32_t, 12>{});

void widenRow(const uint32_t* source, uint32_t* out, int32_t scale) {
    if (scale >= 1 && scale <= static_cast<int32_t>(wideners.size())) {
        wideners[static_cast<size_t>(scale - 1)](source, out);
    } else {
        widenRowAnyScale(source, out, scale);
    }
}

} // namespace

void enlargeFrame(const Framebuffer& frame, const FrameGeometry& geometry, uint32_t* windowBuffer,
                  int32_t windowWidth) {
    const int32_t scale = geometry.frameScale;
    const size_t rowBytes = sizeof(uint32_t) * static_cast<size_t>(frameWidth * scale);
    uint32_t* windowRow = windowBuffer + static_cast<size_t>(geometry.frameOffsetY) * windowWidth +
                          geometry.frameOffsetX;
    for (int32_t y = 0; y < frameHeight; ++y) {
        // Widen the frame row once, then repeat the widened row scale - 1 times below it.
        widenRow(&frame.pixels[y * frameWidth], windowRow, scale);
        for (int32_t r = 1; r < scale; ++r) {
            std::memcpy(windowRow + static_cast<size_t>(r) * windowWidth, windowRow, rowBytes);
        }
        windowRow += static_cast<size_t>(scale) * windowWidth;
    }
}
