// The ten ceiling lamps in rendered frames: unlit at their start positions in their off
// colours, and lit with cones whose pixels equal the tint worked out with hueColor for every
// pixel, cut at the view's edges. The room's foreground and cursor are taken out so that the
// lamps and cones can be seen whole.
#include "room_fixture.h"

#include "render/blit.h"
#include "support/cone_tint_reference.h"

#include <algorithm>
#include <utility>

namespace {

struct LampLook {
    int32_t roomX;
    int32_t startPosition; // 0 to 4 for the letters a to e
    uint32_t offColour;
    uint32_t onColour;
    float hue;
};

const LampLook lampLooks[lampCount] = {
    {300, 0, 0xFF6C362C, 0xFF9C665C, 0},   {326, 3, 0xFF5C8E44, 0xFF9CD284, 120},
    {352, 2, 0xFF6C3E84, 0xFF6C5EB4, 255}, {378, 1, 0xFF342A7C, 0xFF74A6B4, 190},
    {396, 4, 0xFF444644, 0xFFFCFEFC, 255}, {422, 1, 0xFF6C4E24, 0xFFBCC66C, 85},
    {448, 2, 0xFF5C8E44, 0xFF9CD284, 120}, {474, 3, 0xFF342A7C, 0xFF74A6B4, 190},
    {492, 0, 0xFF6C362C, 0xFF74A6B4, 0},   {518, 3, 0xFF444644, 0xFFFCFEFC, 255},
};

class LampFrames : public RoomTest {
  protected:
    Image noForeground, noCursor;

    void SetUp() override {
        enter(Mode::direct);
        std::swap(room.foreground, noForeground);
        std::swap(room.cursor, noCursor);
    }
    void TearDown() override {
        std::swap(room.foreground, noForeground);
        std::swap(room.cursor, noCursor);
    }

    const Framebuffer& render() {
        std::fill(std::begin(program.framebuffer.pixels), std::end(program.framebuffer.pixels), 0u);
        room.render();
        return program.framebuffer;
    }

    // The frame as it is drawn without any lamp picture or cone.
    Framebuffer renderWithoutLamps() {
        Image on[lampPositions], off[lampPositions], cones[lampPositions];
        std::swap(room.lightFixtureOn, on);
        std::swap(room.lightFixtureOff, off);
        std::swap(room.lightCone, cones);
        Framebuffer frame = render();
        std::swap(room.lightFixtureOn, on);
        std::swap(room.lightFixtureOff, off);
        std::swap(room.lightCone, cones);
        return frame;
    }

    static void expectSameFrame(const Framebuffer& actual, const Framebuffer& expected) {
        int32_t differences = 0;
        for (int32_t y = 0; y < frameHeight; ++y) {
            for (int32_t x = 0; x < frameWidth; ++x) {
                if (actual.at(x, y) != expected.at(x, y) && ++differences <= 5) {
                    ADD_FAILURE() << "(" << x << ", " << y << "): " << std::hex << actual.at(x, y)
                                  << " instead of " << expected.at(x, y);
                }
            }
        }
        EXPECT_EQ(differences, 0);
    }
};

TEST_F(LampFrames, BeforeTheMusicTheLampsHangUnlitAtTheirStartPositions) {
    room.scrollX = 280; // all ten lamps in view
    Framebuffer expected = renderWithoutLamps();
    const Framebuffer bare = expected;
    for (const LampLook& lamp : lampLooks) {
        ASSERT_GT(room.lightFixtureOff[lamp.startPosition].width, 0);
        drawImageRecolored(expected, room.lightFixtureOff[lamp.startPosition],
                           lamp.roomX - room.scrollX, lamp.offColour);
    }
    ASSERT_FALSE(
        std::equal(std::begin(bare.pixels), std::end(bare.pixels), std::begin(expected.pixels)))
        << "the lamps are seen";
    expectSameFrame(render(), expected);
}

// Every lamp lit, overlapping cones tinted once by each, seen from both ends of the room so
// that the first lamp's cone is cut at the left edge and the last one's at the right.
TEST_F(LampFrames, ALitConeTintsItsPixelsAsHueColorSaysCutAtTheViewsEdges) {
    std::fill(std::begin(room.lightTimer), std::end(room.lightTimer), 1);
    for (int32_t scrollX : {200, 320}) {
        SCOPED_TRACE(testing::Message() << "view at " << scrollX);
        room.scrollX = scrollX;
        Framebuffer expected = renderWithoutLamps();
        int32_t tinted = 0;
        for (const LampLook& lamp : lampLooks) {
            const int32_t left = lamp.roomX - scrollX;
            drawImageRecolored(expected, room.lightFixtureOn[lamp.startPosition], left,
                               lamp.onColour);
            const Image& cone = room.lightCone[lamp.startPosition];
            ASSERT_GT(cone.width, 0);
            for (int32_t r = 0; r < std::min(cone.height, frameHeight); ++r) {
                for (int32_t j = 0; j < cone.width; ++j) {
                    const int32_t column = left + j;
                    if ((cone.pixels[r * cone.width + j] >> 16 & 0xFF) != 0 && column >= 0 &&
                        column < frameWidth) {
                        expected.at(column, r) = tintWithHueColor(expected.at(column, r), lamp.hue);
                        ++tinted;
                    }
                }
            }
        }
        ASSERT_GT(tinted, 1000);
        expectSameFrame(render(), expected);
    }
}

} // namespace

// The lamps' tables, built once at loading, give every pixel the same bytes as hueColor
// evaluated for that pixel: on a grid through the colour cube, for each lamp.
TEST_F(LampFrames, TheTintTablesGiveTheBytesOfHueColorForEveryPixel) {
    for (int32_t i = 0; i < lampCount; ++i) {
        SCOPED_TRACE(testing::Message() << "lamp " << i);
        int32_t differences = 0;
        for (uint32_t r = 0; r < 256; r += 5) {
            for (uint32_t g = 0; g < 256; g += 5) {
                for (uint32_t b = 0; b < 256; b += 5) {
                    const uint32_t p = 0x80000000u | r << 16 | g << 8 | b;
                    if (tintConePixel(p, room.coneTint[i]) !=
                            tintWithHueColor(p, lampLooks[i].hue) &&
                        ++differences <= 3) {
                        ADD_FAILURE() << std::hex << "pixel " << p;
                    }
                }
            }
        }
        EXPECT_EQ(differences, 0);
    }
}

// The 30 % step uses the single-precision 0.3, slightly above 0.3, and truncates toward zero:
// 100 toward 70 gives 90 and 200 toward 80 gives 163, where the double 0.3 would give 91 and
// 164. The pixel's fourth byte stays.
TEST(ConeTint, MovesEachByteThirtyPercentTowardTheLampsColourForItsBrightness) {
    uint32_t tint[256] = {};
    tint[0] = 0xFF0A0A0A;
    tint[200] = 0xFF465046;
    struct Case {
        uint32_t pixel;
        uint32_t tinted;
    };
    const Case cases[] = {
        {0x12000000, 0x12030303}, // black toward (10, 10, 10)
        {0xFF64C828, 0xFF5AA331}, // (100, 200, 40) toward (70, 80, 70), by its brightness 200
    };
    for (const Case& c : cases) {
        EXPECT_EQ(tintConePixel(c.pixel, tint), c.tinted) << std::hex << c.pixel;
    }
}

// A cone mask with unlit pixels before, between and after its lit ones, laid over the frame's
// left and right edges: exactly the lit pixels inside the frame change, on their own row.
TEST(ConeTint, OnlyTheMasksLitPixelsInsideTheFrameAreTinted) {
    const char* rows[] = {
        ".XX.X.",
        "......",
        "X....X",
    };
    Image cone;
    cone.width = 6;
    cone.height = 3;
    cone.pixels = std::make_unique<uint32_t[]>(18);
    for (int32_t r = 0; r < 3; ++r) {
        for (int32_t j = 0; j < 6; ++j) {
            // Only the red byte counts: an unlit pixel may be opaque and green.
            cone.pixels[r * 6 + j] = rows[r][j] == 'X' ? 0x00010000 : 0xFF00FF00;
        }
    }
    ConeRowSpan spans[frameHeight];
    findConeSpans(cone, spans);
    uint32_t tint[256];
    std::fill(std::begin(tint), std::end(tint), 0xFFFFFFFF);
    const uint32_t untouched = 0xFF646464, tinted = tintConePixel(untouched, tint);

    for (int32_t x : {-2, 316}) {
        SCOPED_TRACE(testing::Message() << "mask at x " << x);
        auto frame = std::make_unique<Framebuffer>();
        std::fill(std::begin(frame->pixels), std::end(frame->pixels), untouched);
        tintLightCone(*frame, cone, spans, x, tint);
        int32_t changed = 0;
        for (int32_t y = 0; y < frameHeight; ++y) {
            for (int32_t column = 0; column < frameWidth; ++column) {
                const int32_t j = column - x;
                const bool lit = y < 3 && j >= 0 && j < 6 && rows[y][j] == 'X';
                EXPECT_EQ(frame->at(column, y), lit ? tinted : untouched)
                    << "(" << column << ", " << y << ")";
                changed += frame->at(column, y) != untouched;
            }
        }
        EXPECT_EQ(changed, 3) << "two of the five lit pixels lie outside";
    }
}
