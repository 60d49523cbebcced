#include "core/frame_geometry.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct GeometryCase {
    int32_t width, height;
    int32_t scale, offsetX, offsetY;
};

TEST(FrameGeometry, LargestWholeFactorCentred) {
    const GeometryCase cases[] = {
        {320, 200, 1, 0, 0},     {640, 400, 2, 0, 0},     {320, 240, 1, 0, 20},
        {640, 480, 2, 0, 40},    {800, 600, 2, 80, 100},  {1024, 768, 3, 32, 84},
        {1280, 1024, 4, 0, 112}, {1366, 768, 3, 203, 84}, {1920, 1080, 5, 160, 40},
    };
    for (const GeometryCase& c : cases) {
        FrameGeometry g = computeFrameGeometry(c.width, c.height);
        EXPECT_EQ(g.frameScale, c.scale) << c.width << "x" << c.height;
        EXPECT_EQ(g.frameOffsetX, c.offsetX) << c.width << "x" << c.height;
        EXPECT_EQ(g.frameOffsetY, c.offsetY) << c.width << "x" << c.height;
    }
}

TEST(FrameGeometry, WindowPointsMapTruncatingTowardZeroUnclamped) {
    FrameGeometry g = computeFrameGeometry(800, 600); // factor 2 at (80, 100)
    struct Case {
        int32_t windowX, windowY, frameX, frameY;
    };
    const Case cases[] = {
        {80, 100, 0, 0},    // the frame's first pixel
        {79, 99, 0, 0},     // one pixel left of and above the frame still truncates to 0
        {78, 98, -1, -1},   // farther out is negative
        {719, 499, 319, 199},
        {720, 500, 320, 200}, // right of and below the frame: beyond the last column and row
        {0, 0, -40, -50},
    };
    for (const Case& c : cases) {
        FramePoint p = toFrameCoordinates(g, c.windowX, c.windowY);
        EXPECT_EQ(p.x, c.frameX) << c.windowX;
        EXPECT_EQ(p.y, c.frameY) << c.windowY;
    }
}

TEST(FrameGeometry, EnlargeWritesBlocksAndLeavesTheBorder) {
    Framebuffer frame{};
    for (int32_t y = 0; y < frameHeight; ++y) {
        for (int32_t x = 0; x < frameWidth; ++x) {
            frame.at(x, y) = static_cast<uint32_t>(y * frameWidth + x);
        }
    }
    const int32_t width = 1024, height = 768; // factor 3 at (32, 84)
    FrameGeometry g = computeFrameGeometry(width, height);
    const uint32_t border = 0xDEADBEEF;
    std::vector<uint32_t> window(static_cast<size_t>(width) * height, border);
    enlargeFrame(frame, g, window.data(), width);

    for (int32_t wy = 0; wy < height; ++wy) {
        for (int32_t wx = 0; wx < width; ++wx) {
            int32_t fx = wx - g.frameOffsetX, fy = wy - g.frameOffsetY;
            bool inside = fx >= 0 && fy >= 0 && fx < frameWidth * 3 && fy < frameHeight * 3;
            uint32_t expected = inside ? frame.at(fx / 3, fy / 3) : border;
            ASSERT_EQ(window[static_cast<size_t>(wy) * width + wx], expected)
                << "window pixel " << wx << "," << wy;
        }
    }
}

} // namespace
