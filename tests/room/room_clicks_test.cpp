// What a click in the room does: the table of both modes and every verb, the pointer's test
// against a prop's rectangle, pending props and their cancelling, the stairs climb and the
// guitar's pick-up that starts the music.
#include "room_fixture.h"

#include "core/wstring.h"

#include <string>

namespace {

struct Point {
    int32_t x;
    int32_t y;
};

std::string narrow(const WString& text) {
    return std::string(text.characters, text.characters + text.length);
}

// Where the tests click: the view's scroll and a frame point.
struct Place {
    const char* name;
    int32_t scrollX;
    Point click;
    Point plainWalkTarget[2]; // where a plain walk from there goes, on floor 0 and floor 1
};

const Place overGuitar{"over the guitar", 320, {199, 99}, {{518, 142}, {518, 108}}};
const Place overStairs{"over the stairs", 0, {289, 121}, {{288, 142}, {288, 121}}};
const Place elsewhere{"elsewhere", 0, {301, 115}, {{300, 142}, {300, 115}}};

enum class Outcome {
    useGuitar,    // the guitar pending, walking to its walk point
    useStairs,    // the stairs pending, walking to their walk point
    walkToGuitar, // walking to the guitar's walk point, nothing pending
    walkToStairs, // walking to the stairs' walk point, nothing pending
    plainWalk,    // the walk-target search from the click
    nothing,      // standing, nothing pending
};

const char* describe(Outcome o) {
    switch (o) {
    case Outcome::useGuitar:
        return "use the guitar";
    case Outcome::useStairs:
        return "use the stairs";
    case Outcome::walkToGuitar:
        return "walk to the guitar";
    case Outcome::walkToStairs:
        return "walk to the stairs";
    case Outcome::plainWalk:
        return "plain walk";
    case Outcome::nothing:
        return "nothing";
    }
    return "?";
}

class Clicks : public RoomTest {
  protected:
    // The actor standing on a floor: the ground floor's start or the top of the stairs.
    void standOn(int32_t floor, int32_t scrollX) {
        room.floor = floor;
        room.actorX = floor == 0 ? 50 : 280;
        room.actorY = floor == 0 ? 150 : 120;
        room.walking = false;
        room.targetX = room.actorX;
        room.targetY = room.actorY;
        room.pendingProp = WString();
        room.scrollX = scrollX;
    }

    void expectOutcome(Outcome expected, const Place& place, int32_t floor) {
        SCOPED_TRACE(describe(expected));
        Point target{room.actorX, room.actorY};
        const char* pending = "";
        bool walking = true;
        switch (expected) {
        case Outcome::useGuitar:
            target = {500, 114}, pending = "guitar";
            break;
        case Outcome::useStairs:
            target = {214, 160}, pending = "stairs";
            break;
        case Outcome::walkToGuitar:
            target = {500, 114};
            break;
        case Outcome::walkToStairs:
            target = {214, 160};
            break;
        case Outcome::plainWalk:
            target = place.plainWalkTarget[floor];
            break;
        case Outcome::nothing:
            walking = false;
            break;
        }
        EXPECT_EQ(narrow(room.pendingProp), pending);
        EXPECT_EQ(room.walking, walking);
        EXPECT_EQ(room.targetX, target.x);
        EXPECT_EQ(room.targetY, target.y);
    }
};

TEST_F(Clicks, DirectModeUsesThePropUnderThePointerOrWalks) {
    enter(Mode::direct);
    struct Case {
        int32_t floor;
        const Place& place;
        Outcome outcome;
    };
    const Case cases[] = {
        {0, overGuitar, Outcome::useGuitar}, {0, overStairs, Outcome::useStairs},
        {0, elsewhere, Outcome::plainWalk},  {1, overGuitar, Outcome::useGuitar},
        {1, overStairs, Outcome::plainWalk}, {1, elsewhere, Outcome::plainWalk},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "floor " << c.floor << ", " << c.place.name);
        standOn(c.floor, c.place.scrollX);
        click(c.place.click.x, c.place.click.y);
        expectOutcome(c.outcome, c.place, c.floor);
    }
}

TEST_F(Clicks, OldSchoolModeSpendsTheVerbOnOneRoomClick) {
    enter(Mode::oldSchool);
    using O = Outcome;
    struct Case {
        int32_t verb;
        int32_t floor;
        Outcome guitar, stairs, elsewhere;
    };
    std::vector<Case> cases = {
        {0, 0, O::plainWalk, O::walkToStairs, O::plainWalk},
        {0, 1, O::walkToGuitar, O::plainWalk, O::plainWalk},
        {7, 0, O::useGuitar, O::useStairs, O::nothing},
        {7, 1, O::useGuitar, O::nothing, O::nothing},
        {-1, 0, O::nothing, O::nothing, O::nothing},
        {-1, 1, O::nothing, O::nothing, O::nothing},
    };
    for (int32_t verb = 1; verb <= 6; ++verb) {
        cases.push_back({verb, 0, O::nothing, O::nothing, O::nothing});
        cases.push_back({verb, 1, O::nothing, O::nothing, O::nothing});
    }
    for (const Case& c : cases) {
        const std::pair<const Place&, Outcome> columns[] = {
            {overGuitar, c.guitar}, {overStairs, c.stairs}, {elsewhere, c.elsewhere}};
        for (const auto& [place, outcome] : columns) {
            SCOPED_TRACE(testing::Message()
                         << "verb " << c.verb << ", floor " << c.floor << ", " << place.name);
            standOn(c.floor, place.scrollX);
            room.commandBar.currentVerb = c.verb;
            click(place.click.x, place.click.y);
            expectOutcome(outcome, place, c.floor);
            EXPECT_EQ(room.commandBar.currentVerb, -1);
        }
    }
}

// With the stairs' picture moved over the guitar, a click on both.
TEST_F(Clicks, OverBothPropsTheGuitarWins) {
    enter(Mode::direct);
    PropRecord& stairs = room.props.getProp(WString("stairs"));
    stairs.x = 514;
    stairs.y = 79;
    struct Case {
        bool oldskoolMode;
        int32_t verb;
        Outcome outcome;
    };
    const Case cases[] = {
        {false, -1, Outcome::useGuitar},
        {true, 7, Outcome::useGuitar},
        {true, 0, Outcome::walkToStairs}, // "Walk to" reaches the guitar only from floor 1
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "old-school " << c.oldskoolMode << ", verb " << c.verb);
        room.oldskoolMode = c.oldskoolMode;
        room.commandBar.currentVerb = c.verb;
        standOn(0, overGuitar.scrollX);
        click(overGuitar.click.x, overGuitar.click.y);
        expectOutcome(c.outcome, overGuitar, 0);
    }
}

TEST_F(Clicks, ThePointerIsOverAPropInsideItsRectangleMovedOnePixelRightAndDown) {
    enter(Mode::direct);
    room.scrollX = 320;
    const int32_t left = 514 - 320, top = 79;
    const int32_t w = room.propGuitar.width, h = room.propGuitar.height;
    ASSERT_GT(w, 0);
    struct Case {
        const char* what;
        Point pointer;
        bool over;
    };
    const Case cases[] = {
        {"left edge", {left, top + 1}, false},
        {"top edge", {left + 1, top}, false},
        {"first pixel inside", {left + 1, top + 1}, true},
        {"just right of and below the picture", {left + w, top + h}, true},
        {"two right of the picture", {left + w + 1, top + 1}, false},
        {"two below the picture", {left + 1, top + h + 1}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        pointAt(c.pointer.x, c.pointer.y);
        EXPECT_EQ(room.isMouseOver("guitar"), c.over);
    }
    EXPECT_FALSE(room.isMouseOver("piano")) << "a name the room does not hold";
    EXPECT_FALSE(room.props.hasProp(WString("piano"))) << "asking does not add it";
}

// In a window wider than the enlarged frame the pointer can lie left of the frame, and a prop
// scrolled partly out of the view is still found under it.
TEST_F(Clicks, ThePointerOnTheBorderBesideTheFrameCanBeOverAProp) {
    run.platform.dialogMode = {800, 600}; // factor 2 at (80, 100)
    enter(Mode::direct);
    room.scrollX = 240; // the stairs' picture at frame columns -26 to 53
    run.platform.messages.push_back({MessageType::MouseMove, 0, 40, 100 + 2 * 100});
    run.drain(0);
    EXPECT_TRUE(room.isMouseOver("stairs")) << "frame point (-20, 100)";
}

TEST_F(Clicks, AnotherClickCancelsThePendingProp) {
    enter(Mode::direct);
    struct Case {
        const char* what;
        bool oldskoolMode;
        Point endsAt;
    };
    const Case cases[] = {
        {"direct mode: a click on the floor walks there instead", false, {98, 150}},
        {"old-school mode: a click without a verb leaves the walk alone", true, {214, 160}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        room.oldskoolMode = c.oldskoolMode;
        standOn(0, 0);
        room.commandBar.currentVerb = 7;
        click(overStairs.click.x, overStairs.click.y);
        ASSERT_EQ(narrow(room.pendingProp), "stairs");
        run.runTicks(5);
        click(101, 150);
        EXPECT_EQ(narrow(room.pendingProp), "");
        run.runTicks(60);
        EXPECT_FALSE(room.walking);
        EXPECT_EQ(room.actorX, c.endsAt.x);
        EXPECT_EQ(room.actorY, c.endsAt.y);
        EXPECT_FALSE(room.stairsActive) << "the stairs are not climbed";
        EXPECT_EQ(room.floor, 0);
    }
}

// Old-school mode: "Walk to" on the stairs only walks there; "Use" on them then starts the
// climb on the next tick. A walk started during the climb does not survive it.
TEST_F(Clicks, TheClimbEndsOnTheGalleryWhateverWasClickedMeanwhile) {
    enter(Mode::oldSchool);
    const Point walkButton{10, 175}, useButton{190, 190};
    click(walkButton.x, walkButton.y);
    ASSERT_EQ(room.commandBar.currentVerb, 0);
    EXPECT_FALSE(room.walking) << "choosing a verb does not move the actor";
    click(overStairs.click.x, overStairs.click.y);
    ASSERT_GT(ticksUntil([&] { return !room.walking; }), 0);
    run.runTicks(1);
    EXPECT_EQ(room.actorX, 214);
    EXPECT_EQ(room.actorY, 160);
    EXPECT_FALSE(room.stairsActive) << "\"Walk to\" does not climb";

    click(useButton.x, useButton.y);
    click(254 - room.scrollX, 121); // the view has followed the actor meanwhile
    run.runTicks(1);
    ASSERT_TRUE(room.stairsActive);
    EXPECT_EQ(room.stairsFrame, 0) << "the climb's first picture shows on the arrival tick";

    click(walkButton.x, walkButton.y);
    click(101, 150);
    EXPECT_TRUE(room.walking);
    int32_t ticks = 0, scrollBefore = 0;
    while (room.stairsActive && ticks < 20) {
        scrollBefore = room.scrollX;
        run.runTicks(1);
        ++ticks;
    }
    EXPECT_EQ(ticks, 10) << "the climb ends on the tenth tick after the arrival";
    EXPECT_EQ(room.actorX, 280);
    EXPECT_EQ(room.actorY, 120);
    EXPECT_EQ(room.floor, 1);
    EXPECT_FALSE(room.walking);
    EXPECT_FALSE(room.facingLeft);
    EXPECT_EQ(room.walkFrame, 0);
    EXPECT_EQ(room.scrollX, scrollBefore + 4) << "the view follows the actor moved by the climb";
}

TEST_F(Clicks, TheClimbSoundsFiveFootsteps) {
    enter(Mode::direct);
    click(overStairs.click.x, overStairs.click.y);
    ASSERT_GT(ticksUntil([&] { return room.stairsActive; }), 0);
    std::vector<int32_t> framesWithFootsteps;
    while (room.stairsActive) {
        const int32_t heard = tickListeningForFootsteps();
        if (heard >= 0) {
            framesWithFootsteps.push_back(room.stairsFrame);
        }
    }
    EXPECT_EQ(framesWithFootsteps, (std::vector<int32_t>{1, 3, 4, 6, 8}));
}

TEST_F(Clicks, PickingUpTheGuitarStopsTheAmbientModuleAndStartsTrack0) {
    enter(Mode::direct);
    const uint32_t ambient = clipChannel(room.ambientClip);
    ASSERT_NE(ambient, 0u);
    ASSERT_EQ(program.music.tracks.count, 6);
    const uint32_t track0 = program.music.tracks[0].stream;
    EXPECT_EQ(audio::channelIsActive(ambient), audio::channelPlaying) << "the room's own music";

    room.scrollX = overGuitar.scrollX;
    click(overGuitar.click.x, overGuitar.click.y);
    ASSERT_GT(ticksUntil([&] { return room.pickupActive; }), 0);
    EXPECT_EQ(room.actorX, 498) << "within 2 pixels of the walk point";
    EXPECT_EQ(room.actorY, 114);
    EXPECT_TRUE(room.guitarTaken);
    EXPECT_EQ(room.pickupFrame, 0);
    EXPECT_EQ(room.playerPanel.x, -136) << "the panel slides in from the arrival tick on";

    for (int32_t frame = 1; frame < 12; ++frame) {
        run.runTicks(1);
        ASSERT_TRUE(room.pickupActive);
        EXPECT_EQ(room.pickupFrame, frame);
        EXPECT_EQ(audio::channelIsActive(ambient), audio::channelPlaying);
        EXPECT_EQ(audio::channelIsActive(track0), audio::channelStopped);
    }
    run.runTicks(1);
    EXPECT_FALSE(room.pickupActive);
    EXPECT_TRUE(room.rockoutActive);
    EXPECT_EQ(audio::channelIsActive(ambient), audio::channelStopped);
    EXPECT_EQ(audio::channelIsActive(track0), audio::channelPlaying);
    EXPECT_EQ(program.music.current, 0);

    // From the arrival on, only the panel hears clicks.
    const int32_t verbBefore = room.commandBar.currentVerb;
    EXPECT_FALSE(room.onClick(elsewhere.click.x, elsewhere.click.y));
    EXPECT_FALSE(room.walking);
    EXPECT_EQ(room.commandBar.currentVerb, verbBefore);
    run.runTicks(40);
    EXPECT_EQ(room.playerPanel.x, 0) << "the panel is in and stays";
}

} // namespace
