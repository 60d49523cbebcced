// The actor walks where the user clicks: the target search in the clicked column, the walk in
// straight steps with its cycle and footsteps, and the view that follows. The ground floor's
// walkable band is rows 142-165 left of the stairs, the gallery's rows 108-122 from x 276.
#include "room_fixture.h"

namespace {

struct Point {
    int32_t x;
    int32_t y;
};

class Walking : public RoomTest {
  protected:
    void SetUp() override { enter(Mode::direct); }
};

TEST_F(Walking, AClickPicksItsTargetInTheClickedColumnOnly) {
    struct Case {
        const char* what;
        int32_t floor;
        int32_t scrollX;
        bool alreadyWalking; // to (300, 150)
        Point click;         // frame point
        bool walks;
        Point target; // room point
    };
    const Case cases[] = {
        {"on the floor, even column", 0, 0, false, {100, 150}, true, {100, 150}},
        {"on the floor, odd column: the even one left of it",
         0,
         0,
         false,
         {101, 150},
         true,
         {100, 150}},
        {"above the band: straight down to its top", 0, 0, false, {100, 40}, true, {100, 142}},
        {"below the band: up to its bottom", 0, 0, false, {100, 190}, true, {100, 165}},
        {"below the band while walking: the walk goes on",
         0,
         0,
         true,
         {100, 190},
         true,
         {300, 150}},
        {"above the band while walking: a new target", 0, 0, true, {100, 40}, true, {100, 142}},
        {"a column with nothing walkable, standing", 0, 0, false, {10, 150}, false, {0, 0}},
        {"a column with nothing walkable, walking", 0, 0, true, {10, 150}, true, {300, 150}},
        {"the view scrolled by 200", 0, 200, false, {101, 150}, true, {300, 150}},
        {"the gallery from below", 1, 0, false, {301, 150}, true, {300, 122}},
        {"the gallery has no floor at x 100", 1, 0, false, {100, 115}, false, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        room.floor = c.floor;
        room.scrollX = c.scrollX;
        room.walking = c.alreadyWalking;
        room.targetX = c.alreadyWalking ? 300 : 0;
        room.targetY = c.alreadyWalking ? 150 : 0;
        click(c.click.x, c.click.y);
        EXPECT_EQ(room.walking, c.walks);
        EXPECT_EQ(room.targetX, c.target.x);
        EXPECT_EQ(room.targetY, c.target.y);
        EXPECT_EQ(room.actorX, 50) << "a click never moves the actor by itself";
    }
}

TEST_F(Walking, ATargetTwoPixelsRightAndOneDownIsReachedInOneTickFacingLeft) {
    click(53, 151);
    ASSERT_EQ(room.targetX, 52);
    ASSERT_EQ(room.targetY, 151);
    run.runTicks(1);
    EXPECT_FALSE(room.walking);
    EXPECT_EQ(room.actorX, 50) << "the two sideways steps cancel";
    EXPECT_EQ(room.actorY, 151);
    EXPECT_TRUE(room.facingLeft);
    EXPECT_EQ(room.walkFrame, 0);
}

TEST_F(Walking, StepsAreFourSidewaysAndOneUpOrDownUntilLevelAndAtMostTwoBeside) {
    click(151, 143); // (150, 143): 100 to the right, 7 up
    std::vector<Point> path;
    int32_t ticks = ticksUntil([&] {
        path.push_back({room.actorX, room.actorY});
        return !room.walking;
    });
    ASSERT_EQ(ticks, 25);
    EXPECT_EQ(path[0].x, 54);
    EXPECT_EQ(path[0].y, 149);
    EXPECT_EQ(path[6].y, 143) << "the vertical steps are done after seven ticks";
    EXPECT_EQ(path[6].x, 78) << "both axes move in the same ticks";
    EXPECT_EQ(path.back().x, 150);
    EXPECT_FALSE(room.facingLeft);
    EXPECT_EQ(room.walkFrame, 0) << "the actor stands again";
}

TEST_F(Walking, TheCycleRunsThroughTenPicturesWithFootstepsOnThe3rdAnd8th) {
    click(301, 150); // a walk of 63 ticks
    for (int32_t tick = 1; tick <= 30; ++tick) {
        SCOPED_TRACE(tick);
        const uint32_t randomBefore = program.random.state;
        const int32_t heard = tickListeningForFootsteps();
        ASSERT_TRUE(room.walking);
        EXPECT_EQ(room.walkFrame, tick % 10);
        const bool footstep = room.walkFrame == 3 || room.walkFrame == 8;
        EXPECT_EQ(heard >= 0, footstep);
        if (!footstep) {
            EXPECT_EQ(program.random.state, randomBefore) << "no random number is drawn";
        }
    }
}

TEST_F(Walking, TheViewFollowsTheActorInsideItsBand) {
    struct Case {
        int32_t actorX;
        int32_t scrollX;
        int32_t nextScrollX;
    };
    const Case cases[] = {
        {420, 200, 204}, // 220 from the left edge: right
        {300, 200, 196}, // 100 from the left edge: left
        {400, 200, 200}, // exactly 200: stays
        {320, 200, 200}, // exactly 120: stays
        {616, 320, 320}, // the room's right end: 640 - 320
        {50, 0, 0},      // the room's left end
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "actor at " << c.actorX << ", view at " << c.scrollX);
        room.actorX = c.actorX;
        room.scrollX = c.scrollX;
        run.runTicks(1);
        EXPECT_EQ(room.scrollX, c.nextScrollX);
    }
}

} // namespace
