#include "render/blit.h"

#include "render/test_images.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

// A 4x3 picture whose every pixel names its own column and row, all opaque.
constexpr uint32_t labelled(int32_t column, int32_t row) {
    return 0xFF000000u | static_cast<uint32_t>(row) << 8 | static_cast<uint32_t>(column + 1);
}

Image labelledImage() {
    Image image = makeImage(4, 3, {});
    for (int32_t row = 0; row < 3; ++row) {
        for (int32_t column = 0; column < 4; ++column) {
            image.pixels[row * 4 + column] = labelled(column, row);
        }
    }
    return image;
}

TEST(DrawImage, ClipsAtEveryEdgeOfTheFrame) {
    constexpr int32_t maxInt = std::numeric_limits<int32_t>::max();
    constexpr int32_t minInt = std::numeric_limits<int32_t>::min();
    struct Case {
        const char* what;
        int32_t x, y;
        int32_t visiblePixels;
        // One screen pixel that must show image pixel (column, row); skipped when none show.
        int32_t screenX, screenY, column, row;
    };
    const Case cases[] = {
        {"whole, inside", 10, 20, 12, 10, 20, 0, 0},
        {"above and left", -3, -2, 1, 0, 0, 3, 2},
        {"only the last column", -3, 0, 3, 0, 2, 3, 2},
        {"wholly left", -4, 0, 0},
        {"only the last row", 0, -2, 4, 3, 0, 3, 2},
        {"wholly above", 0, -3, 0},
        {"only the first row", 5, 199, 4, 5, 199, 0, 0},
        {"wholly below", 5, 200, 0},
        {"right edge cuts the row", 317, 0, 9, 319, 2, 2, 2},
        {"wholly right", 320, 0, 0},
        {"bottom-right corner", 319, 199, 1, 319, 199, 0, 0},
        {"far left", minInt, 0, 0},
        {"far right", maxInt, 0, 0},
        {"far below", 0, maxInt, 0},
        {"far above", 0, minInt, 0},
    };
    const Image image = labelledImage();
    for (const Case& c : cases) {
        auto frame = makeFrame();
        drawImage(*frame, image, c.x, c.y);
        EXPECT_EQ(changedPixels(*frame), c.visiblePixels) << c.what;
        if (c.visiblePixels > 0) {
            EXPECT_EQ(frame->at(c.screenX, c.screenY), labelled(c.column, c.row)) << c.what;
        }
    }
}

TEST(DrawImage, EmptyPicturesDrawNothing) {
    auto frame = makeFrame();
    const Image empty;
    drawImage(*frame, empty, 0, 0);
    drawImageMirrored(*frame, empty, 0, 0);
    blendImage(*frame, empty, 255);
    drawImageRecolored(*frame, empty, 0, 0xFF123456);
    EXPECT_EQ(changedPixels(*frame), 0);
}

TEST(DrawImageMirrored, ShowsTheRightEdgeAtX) {
    const uint32_t a = 0xFF0000AA, b = 0xFF0000BB;
    const Image image = makeImage(2, 1, {a, b});
    auto frame = makeFrame();
    drawImageMirrored(*frame, image, 0, 0);
    EXPECT_EQ(frame->at(0, 0), b);
    EXPECT_EQ(frame->at(1, 0), a);

    // Clipped on the left, the mirrored image loses its right edge, not its left.
    frame = makeFrame();
    drawImageMirrored(*frame, image, -1, 5);
    EXPECT_EQ(frame->at(0, 5), a);
    EXPECT_EQ(changedPixels(*frame), 1);

    frame = makeFrame();
    drawImageMirrored(*frame, image, 319, 5);
    EXPECT_EQ(frame->at(319, 5), b);
    EXPECT_EQ(changedPixels(*frame), 1);
}

TEST(BlendImage, MovesEachChannelTowardTheSourceTruncatingTowardZero) {
    struct Case {
        uint32_t source, destination, factor, expected;
    };
    const Case cases[] = {
        {101, 0, 128, 50},  {0, 101, 128, 51}, // -50.5 truncates to -50
        {255, 0, 255, 254}, {0, 255, 255, 1},
        {200, 17, 0, 17},   {101, 0, 256 + 128, 50}, // only the low 8 bits of the factor count
        {101, 0, 256, 0},
    };
    for (const Case& c : cases) {
        // The same channel value in red, green and blue, each blended on its own.
        const uint32_t grey = 0x010101u;
        const Image image = makeImage(1, 1, {0xFF000000u | c.source * grey});
        auto frame = makeFrame(0x7F000000u | c.destination * grey);
        blendImage(*frame, image, c.factor);
        EXPECT_EQ(frame->at(0, 0), 0x7F000000u | c.expected * grey)
            << c.source << " over " << c.destination << " at " << c.factor;
    }
}

TEST(BlendImage, DrawsAtTheTopLeftAndShowsOnlyWhatFits) {
    const Image image = makeFilledImage(400, 300, 0xFFFFFFFF);
    auto frame = makeFrame();
    blendImage(*frame, image, 128);
    EXPECT_EQ(changedPixels(*frame), frameWidth * frameHeight);
    EXPECT_EQ(frame->at(319, 199), 0x007F7F7Fu);
}

TEST(DrawImageRecolored, ReplacesOnlyOpaquePureWhite) {
    const uint32_t colour = 0x12345678;
    const uint32_t background = 0xFF0A0B0C;
    struct Case {
        const char* what;
        uint32_t source, expected;
    };
    const Case cases[] = {
        {"white with alpha 255 takes the colour", 0xFFFFFFFF, colour},
        {"white with alpha 0 is transparent", 0x00FFFFFF, background},
        {"white with alpha 254 is copied", 0xFEFFFFFF, 0xFEFFFFFF},
        {"near-white is copied", 0xFFFFFFFE, 0xFFFFFFFE},
        {"other colours are copied", 0xFF102030, 0xFF102030},
    };
    for (const Case& c : cases) {
        const Image image = makeImage(1, 1, {c.source});
        auto frame = makeFrame(background);
        drawImageRecolored(*frame, image, 7, colour);
        EXPECT_EQ(frame->at(7, 0), c.expected) << c.what;
    }
}

TEST(DrawImageRecolored, AlwaysStartsAtRowZero) {
    const Image image = makeFilledImage(3, 2, 0xFFFFFFFF);
    auto frame = makeFrame();
    drawImageRecolored(*frame, image, -1, 0xFF00FF00);
    EXPECT_EQ(changedPixels(*frame), 4);
    EXPECT_EQ(frame->at(0, 0), 0xFF00FF00u);
    EXPECT_EQ(frame->at(1, 1), 0xFF00FF00u);
}

TEST(Blitters, TransparentPixelsLeaveTheFrameUntouched) {
    const uint32_t background = 0xFF336699;
    // Alpha 0 with every kind of colour, white included.
    const Image image = makeImage(4, 1, {0x00000000, 0x00FFFFFF, 0x00123456, 0x00FF0000});
    auto frame = makeFrame(background);
    drawImage(*frame, image, 0, 0);
    drawImageMirrored(*frame, image, 0, 0);
    blendImage(*frame, image, 200);
    drawImageRecolored(*frame, image, 0, 0xFFFFFFFF);
    EXPECT_EQ(changedPixels(*frame, background), 0);
}

} // namespace
