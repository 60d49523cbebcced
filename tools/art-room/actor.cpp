#include "actor.h"

#include "guitar.h"
#include "layout.h"
#include "paint.h"
#include "pixel_sheet.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Actor space: x forward (the actor faces right), y down, origin at the foot point on the
// floor (the bottom edge of the soles). Bone lengths in pixels.
constexpr float thighLength = 10.5f;
constexpr float shinLength = 10.0f;
constexpr float torsoLength = 12.0f;
constexpr float shoulderHeight = 10.3f; // above the hip, along the torso
constexpr float upperArmLength = 8.0f;
constexpr float forearmLength = 7.0f;
constexpr float ankleHeight = 2.5f;
constexpr float standingHipY = -23.0f;
// The head sheet's pixel that sits on the neck point: the neck's centre in the last row.
constexpr float headAnchorX = 6.0f;
constexpr float headAnchorY = 12.0f;

constexpr Ramp skin = {rgb(0x6a3a28), rgb(0xb06a48), rgb(0xe09a70), rgb(0xf4c094)};
constexpr Ramp skinFar = {rgb(0x5a2e20), rgb(0x8e5038), rgb(0xb87a58), rgb(0xcc9470)};
constexpr Ramp shirt = {rgb(0x0e3438), rgb(0x1a6468), rgb(0x289494), rgb(0x52bcb4)};
constexpr Ramp shirtFar = {rgb(0x0a2628), rgb(0x14484c), rgb(0x1e6a6c), rgb(0x2e8684)};
constexpr Ramp jeans = {rgb(0x141a38), rgb(0x263468), rgb(0x36508c), rgb(0x5470ac)};
constexpr Ramp jeansFar = {rgb(0x0e1228), rgb(0x1c2650), rgb(0x283a6a), rgb(0x384e84)};
constexpr Ramp shoes = {rgb(0x2a1c1c), rgb(0x9c9890), rgb(0xd4d0c4), rgb(0xece8dc)};
constexpr Ramp shoesFar = {rgb(0x201414), rgb(0x747068), rgb(0xa4a096), rgb(0xb8b4aa)};
constexpr Ramp boxers = {rgb(0x5c0c14), rgb(0xa01c24), rgb(0xd8303a), rgb(0xf05a50)};
constexpr uint32_t boxerDots = rgb(0xf8e040);
constexpr uint32_t strapColour = rgb(0x241410);
constexpr uint32_t soleColour = rgb(0xb83028);

enum class Head { side, shout, down, front, wink, oops };
enum class Trousers { on, slipping, down };
enum class GuitarAt { none, hands, back, free };

struct Foot {
    Point ankle;     // actor space
    float pitch = 0; // degrees, positive tips the toe down
};

struct Pose {
    Point hip{0.5f, standingHipY}; // the pelvis's centre, where both thighs join
    float lean = 3;                // torso tilt from upright in degrees, positive forward
    Foot nearFoot{{0.5f, -ankleHeight}};
    Foot farFoot{{0.5f, -ankleHeight}};
    Point nearHand{0.0f, -9.0f}; // wrist targets; an arm that cannot reach points at them
    Point farHand{0.0f, -9.0f};
    Head head = Head::side;
    Trousers trousers = Trousers::on;
    GuitarAt guitar = GuitarAt::none;
    Point guitarCentre;    // for GuitarAt::free, in actor space
    float guitarAngle = 0; // the neck's angle from straight up, held or free
};

Point add(Point a, Point b) {
    return {a.x + b.x, a.y + b.y};
}
Point scaled(Point a, float s) {
    return {a.x * s, a.y * s};
}

float radiansOf(float degrees) {
    return degrees * std::numbers::pi_v<float> / 180.0f;
}

// The torso's axes: up along the spine, forward across it.
Point torsoUp(const Pose& pose) {
    return {std::sin(radiansOf(pose.lean)), -std::cos(radiansOf(pose.lean))};
}
Point torsoForward(const Pose& pose) {
    return {std::cos(radiansOf(pose.lean)), std::sin(radiansOf(pose.lean))};
}
Point onTorso(const Pose& pose, float forward, float up) {
    return add(pose.hip, add(scaled(torsoForward(pose), forward), scaled(torsoUp(pose), up)));
}

// Where the strap holds the guitar's body: in front of the belly.
Point heldGuitarCentre(const Pose& pose) {
    return onTorso(pose, 4.2f, 2.0f);
}

// Two-bone reach: the middle joint for a chain from `root` toward `target`, bending to the
// side given by `bendSign` (+1 bends the joint clockwise of the root-target line on screen).
Point middleJoint(Point root, Point target, float first, float second, float bendSign, Point& end) {
    float dx = target.x - root.x;
    float dy = target.y - root.y;
    float distance = std::sqrt(dx * dx + dy * dy);
    float reach = first + second - 0.01f;
    if (distance > reach) {
        dx *= reach / distance;
        dy *= reach / distance;
        distance = reach;
    }
    end = {root.x + dx, root.y + dy};
    if (distance < 0.01f) {
        return {root.x, root.y + first};
    }
    float cosine = (first * first + distance * distance - second * second) / (2 * first * distance);
    float angle = std::acos(std::clamp(cosine, -1.0f, 1.0f)) * bendSign;
    float ux = dx / distance;
    float uy = dy / distance;
    float c = std::cos(angle);
    float s = std::sin(angle);
    return {root.x + first * (ux * c - uy * s), root.y + first * (ux * s + uy * c)};
}

// Draws poses onto a picture whose actor-space origin lies at `origin`, part by part from
// the far side to the near side.
struct Painter {
    Canvas& canvas;
    Point origin;
    const ActorSheets& sheets;

    void draw(const Pose& pose) {
        Point neck = onTorso(pose, 0.0f, torsoLength);
        if (pose.guitar == GuitarAt::back) {
            drawGuitar(canvas, at(onTorso(pose, -4.0f, 7.5f)), 10.0f + pose.lean);
        }
        drawArm(pose, false, pose.farHand, shirtFar, skinFar);
        drawLeg(pose, pose.farFoot, false);
        drawLeg(pose, pose.nearFoot, true);
        drawTorso(pose);
        drawHead(pose, neck);
        if (pose.guitar == GuitarAt::hands) {
            drawGuitar(canvas, at(heldGuitarCentre(pose)), pose.guitarAngle);
            drawHand(pose.farHand, false);
        } else if (pose.guitar == GuitarAt::free) {
            drawGuitar(canvas, at(pose.guitarCentre), pose.guitarAngle);
        }
        drawArm(pose, true, pose.nearHand, shirt, skin);
    }

    Point at(Point actor) const { return add(origin, actor); }

    void layer(const Canvas& mask, const Ramp& ramp) { canvas.draw(shadePart(mask, ramp), 0, 0); }
    Canvas blank() const { return Canvas(canvas.width, canvas.height); }

    void drawLeg(const Pose& pose, const Foot& foot, bool near) {
        Point ankle;
        Point knee = middleJoint(pose.hip, foot.ankle, thighLength, shinLength, -1.0f, ankle);
        Point hip = at(pose.hip);
        Point kneePx = at(knee);
        Point anklePx = at(ankle);
        const Ramp& cloth = near ? jeans : jeansFar;
        const Ramp& bare = near ? skin : skinFar;
        // The shoe: flat from heel to toe, pitched about the ankle.
        Canvas shoe = blank();
        auto shoePoint = [&](float x, float y) {
            return rotated({anklePx.x + x, anklePx.y + y}, anklePx, foot.pitch);
        };
        fillPolygon(shoe,
                    {shoePoint(-2.2f, -1.2f), shoePoint(1.2f, -1.2f), shoePoint(4.6f, 0.8f),
                     shoePoint(4.6f, ankleHeight), shoePoint(-2.2f, ankleHeight)},
                    rgb(0));
        Canvas leg = blank();
        if (pose.trousers == Trousers::on) {
            fillCapsule(leg, hip, kneePx, 2.3f, rgb(0));
            fillCapsule(leg, kneePx, anklePx, 2.0f, rgb(0));
            layer(leg, cloth);
            layer(shoe, near ? shoes : shoesFar);
            paintSole(shoe);
            return;
        }
        fillCapsule(leg, hip, kneePx, 1.9f, rgb(0));
        fillCapsule(leg, kneePx, anklePx, 1.6f, rgb(0));
        layer(leg, bare);
        layer(shoe, near ? shoes : shoesFar);
        paintSole(shoe);
        Canvas shorts = blank();
        fillCapsule(shorts, hip, lerp(hip, kneePx, 0.55f), 2.5f, rgb(0));
        layerBoxers(shorts);
        // The dropped trousers: bunched at the knees while slipping, at the ankles when down.
        Canvas bunch = blank();
        if (pose.trousers == Trousers::slipping) {
            fillCapsule(bunch, lerp(hip, kneePx, 0.75f), lerp(kneePx, anklePx, 0.3f), 2.6f, rgb(0));
            fillCapsule(bunch, lerp(kneePx, anklePx, 0.3f), anklePx, 2.0f, rgb(0));
        } else {
            fillEllipse(bunch, {anklePx.x + 0.5f, anklePx.y - 1.0f}, 3.4f, 2.2f, rgb(0));
        }
        layer(bunch, cloth);
    }

    void paintSole(const Canvas& shoe) {
        for (int32_t y = 0; y < shoe.height; ++y) {
            for (int32_t x = 0; x < shoe.width; ++x) {
                bool bottom = (shoe.at(x, y) >> 24) != 0 &&
                              (y + 1 >= shoe.height || (shoe.at(x, y + 1) >> 24) == 0);
                if (bottom) {
                    canvas.set(x, y, soleColour);
                }
            }
        }
    }

    void layerBoxers(const Canvas& mask) {
        Canvas shaded = shadePart(mask, boxers);
        for (int32_t y = 0; y < shaded.height; ++y) {
            for (int32_t x = 0; x < shaded.width; ++x) {
                uint32_t c = shaded.at(x, y);
                if ((c == boxers.base || c == boxers.light) && (x + 2 * y) % 5 == 0) {
                    shaded.set(x, y, boxerDots); // loud polka dots
                }
            }
        }
        canvas.draw(shaded, 0, 0);
    }

    void drawTorso(const Pose& pose) {
        auto p = [&](float forward, float up) { return at(onTorso(pose, forward, up)); };
        Canvas body = blank();
        fillPolygon(body,
                    {p(-2.8f, -0.5f), p(-3.2f, 5.0f), p(-3.0f, 10.0f), p(-1.8f, 12.3f),
                     p(1.8f, 12.3f), p(3.0f, 10.5f), p(3.4f, 6.5f), p(3.0f, 2.0f), p(2.8f, -0.5f)},
                    rgb(0));
        Canvas pelvis = blank();
        fillEllipse(pelvis, p(0.0f, -1.2f), 3.3f, 2.6f, rgb(0));
        if (pose.trousers == Trousers::on) {
            layer(pelvis, jeans);
        } else {
            layerBoxers(pelvis);
        }
        layer(body, shirt);
        // The belt, or the boxers' waistband once the trousers have gone.
        Point beltBack = p(-2.8f, 0.4f);
        Point beltFront = p(2.8f, 0.4f);
        drawLine(canvas, static_cast<int32_t>(beltBack.x), static_cast<int32_t>(beltBack.y),
                 static_cast<int32_t>(beltFront.x), static_cast<int32_t>(beltFront.y),
                 pose.trousers == Trousers::on ? rgb(0x3a2010) : boxers.light);
        if (pose.guitar == GuitarAt::hands || pose.guitar == GuitarAt::back) {
            Point from = p(-2.0f, 10.5f);
            Point to = p(2.5f, 1.5f);
            drawLine(canvas, static_cast<int32_t>(from.x), static_cast<int32_t>(from.y),
                     static_cast<int32_t>(to.x), static_cast<int32_t>(to.y), strapColour);
        }
    }

    void drawHead(const Pose& pose, Point neck) {
        const Canvas* sheet = &sheets.side;
        switch (pose.head) {
        case Head::side:
            sheet = &sheets.side;
            break;
        case Head::shout:
            sheet = &sheets.shout;
            break;
        case Head::down:
            sheet = &sheets.down;
            break;
        case Head::front:
            sheet = &sheets.front;
            break;
        case Head::wink:
            sheet = &sheets.wink;
            break;
        case Head::oops:
            sheet = &sheets.oops;
            break;
        }
        Point n = at(neck);
        canvas.draw(*sheet, static_cast<int32_t>(std::floor(n.x - headAnchorX)),
                    static_cast<int32_t>(std::floor(n.y - headAnchorY)));
    }

    void drawArm(const Pose& pose, bool near, Point hand, const Ramp& sleeveRamp,
                 const Ramp& skinRamp) {
        Point shoulder = onTorso(pose, near ? 0.3f : -0.3f, shoulderHeight);
        Point wrist;
        Point elbow = middleJoint(shoulder, hand, upperArmLength, forearmLength, 1.0f, wrist);
        Canvas arm = blank();
        fillCapsule(arm, at(lerp(shoulder, elbow, 0.5f)), at(elbow), 1.4f, rgb(0));
        fillCapsule(arm, at(elbow), at(wrist), 1.3f, rgb(0));
        layer(arm, skinRamp);
        Canvas sleeve = blank();
        fillCapsule(sleeve, at(shoulder), at(lerp(shoulder, elbow, 0.55f)), 2.0f, rgb(0));
        layer(sleeve, sleeveRamp);
        drawHand(wrist, near);
    }

    void drawHand(Point wrist, bool near) {
        Canvas hand = blank();
        fillEllipse(hand, at(wrist), 1.7f, 1.7f, rgb(0));
        layer(hand, near ? skin : skinFar);
    }
};

Canvas render(int32_t width, int32_t height, Point origin, const ActorSheets& sheets,
              const Pose& pose) {
    Canvas canvas(width, height);
    Painter{canvas, origin, sheets}.draw(pose);
    return canvas;
}

// The same pose with its foot point moved to `foot`.
Pose movedTo(Pose pose, Point foot) {
    for (Point* p : {&pose.hip, &pose.nearFoot.ankle, &pose.farFoot.ankle, &pose.nearHand,
                     &pose.farHand, &pose.guitarCentre}) {
        *p = add(*p, foot);
    }
    return pose;
}

// A hand at the end of an arm that hangs straight, swung `degrees` forward.
Point hangingHand(const Pose& pose, bool near, float degrees) {
    Point shoulder = onTorso(pose, near ? 0.3f : -0.3f, shoulderHeight);
    float reach = upperArmLength + forearmLength;
    return {shoulder.x + reach * std::sin(radiansOf(degrees)),
            shoulder.y + reach * std::cos(radiansOf(degrees))};
}

// One frame of the walk cycle. The near foot lands on frame 3 and the far foot on frame 8,
// where the footsteps sound; a planted foot moves back 4 pixels a frame, as far as the
// actor moves forward, so the feet do not slide. Frame 0 doubles as the standing pose.
Pose walking(int frame) {
    struct FootKey {
        float x;
        float lift;
        float pitch;
    };
    // The near foot's track; the far foot runs the same track five frames later.
    const FootKey track[10] = {{0.5f, 0.0f, 0.0f},  {4.0f, 2.0f, 10.0f}, {7.5f, 0.8f, -15.0f},
                               {8.5f, 0.0f, 0.0f},  {4.5f, 0.0f, 0.0f},  {0.5f, 0.0f, 0.0f},
                               {-3.5f, 0.0f, 0.0f}, {-7.5f, 0.0f, 0.0f}, {-8.5f, 1.5f, 30.0f},
                               {-4.5f, 2.5f, 15.0f}};
    const float hipY[10] = {-23.0f, -22.6f, -22.0f, -21.6f, -22.3f,
                            -23.0f, -22.6f, -22.0f, -21.6f, -22.3f};
    // How far the near arm swings forward, in degrees; the far arm swings against it.
    const float armSwing[10] = {0, -10, -16, -18, -12, 0, 10, 16, 18, 12};
    Pose pose;
    pose.hip = {1.0f, hipY[frame]};
    FootKey nearKey = track[frame];
    FootKey farKey = track[(frame + 5) % 10];
    if (frame == 5) {
        farKey = {0.5f, 1.5f, 10.0f}; // the far foot passes lifted, not standing
    }
    pose.nearFoot = {{nearKey.x, -ankleHeight - nearKey.lift}, nearKey.pitch};
    pose.farFoot = {{farKey.x, -ankleHeight - farKey.lift}, farKey.pitch};
    pose.nearHand = hangingHand(pose, true, armSwing[frame]);
    pose.farHand = hangingHand(pose, false, -armSwing[frame]);
    return pose;
}

} // namespace

bool loadActorSheets(const std::string& folder, ActorSheets& sheets, std::string& error) {
    return loadPixelSheet(folder + "/head_side.txt", sheets.side, error) &&
           loadPixelSheet(folder + "/head_shout.txt", sheets.shout, error) &&
           loadPixelSheet(folder + "/head_down.txt", sheets.down, error) &&
           loadPixelSheet(folder + "/head_front.txt", sheets.front, error) &&
           loadPixelSheet(folder + "/head_wink.txt", sheets.wink, error) &&
           loadPixelSheet(folder + "/head_oops.txt", sheets.oops, error);
}

std::vector<Canvas> drawWalkCycle(const ActorSheets& sheets) {
    std::vector<Canvas> frames;
    const Point origin{walkFootPixelX + 0.5f, walkFootPixelY + 1.0f};
    for (int frame = 0; frame < 10; ++frame) {
        frames.push_back(render(24, 60, origin, sheets, walking(frame)));
    }
    return frames;
}

std::vector<Canvas> drawStairsClimb(const ActorSheets& sheets) {
    // Room coordinates; each foot is set on the floor, a tread or the deck.
    struct Key {
        Point hip;
        float lean;
        Foot nearFoot;
        Foot farFoot;
        float armSwing; // degrees
    };
    auto sole = [](float row) { return row + 1.0f - ankleHeight; };
    const float floorY = sole(stairsFootY);
    auto tread = [&](int k) {
        return sole(static_cast<float>(treadFirstTopY - 2 - treadRise * k));
    };
    const float deckY = sole(stairsTopY);
    const Key keys[8] = {
        {{222.5f, 136.5f}, 8, {{227.5f, tread(0)}}, {{217.5f, floorY - 1.5f}, 30}, -12},
        {{228.5f, 129.5f}, 10, {{227.5f, tread(0)}}, {{233.5f, tread(0) - 4.0f}, 10}, 0},
        {{234.0f, 127.0f}, 10, {{227.5f, tread(0) - 1.5f}, 30}, {{240.5f, tread(1)}}, 12},
        {{246.0f, 121.0f}, 10, {{253.5f, tread(2)}}, {{240.5f, tread(1)}}, -12},
        {{252.0f, 113.5f}, 10, {{253.5f, tread(2)}}, {{258.5f, tread(2) - 4.5f}, 10}, 0},
        {{259.0f, 111.0f}, 10, {{253.5f, tread(2) - 1.5f}, 30}, {{266.5f, tread(3)}}, 12},
        {{266.0f, 104.5f}, 10, {{272.0f, tread(3) - 5.5f}, 10}, {{266.5f, tread(3)}}, 0},
        {{272.5f, 102.5f}, 8, {{277.5f, deckY}}, {{266.5f, tread(3) - 2.0f}, 30}, -12},
    };
    // The climb starts one step onto the stairs from the foot (the picture cannot reach left of
    // the stairs) and ends standing exactly as the walk goes on at the top.
    std::vector<Pose> poses = {movedTo(walking(0), {stairsFootX + 5.5f, stairsFootY + 1.0f})};
    for (const Key& key : keys) {
        Pose pose;
        pose.hip = key.hip;
        pose.lean = key.lean;
        pose.nearFoot = key.nearFoot;
        pose.farFoot = key.farFoot;
        pose.nearHand = hangingHand(pose, true, key.armSwing);
        pose.farHand = hangingHand(pose, false, -key.armSwing);
        poses.push_back(pose);
    }
    poses.push_back(movedTo(walking(0), {stairsTopX + 0.5f, stairsTopY + 1.0f}));
    std::vector<Canvas> frames;
    const Point origin{-static_cast<float>(stairsX), -static_cast<float>(stairsY)};
    for (const Pose& pose : poses) {
        frames.push_back(render(stairsWidth, stairsHeight, origin, sheets, pose));
    }
    return frames;
}

namespace {

// The rock-out poses share one frame: actor space with its origin on the guitar spot
// (500, 114). The guitar hangs in front of the belly on its strap.
struct RockKey {
    float hipX;
    float hipY;
    float lean;
    float nearX; // ankles
    float farX;
    float nearLift;
    float nearPitch;
    float farLift;
    float neckAngle; // the guitar neck's angle from straight up
    float strum;     // the picking hand: 0 on the strings, positive below, negative above
    Head head;
};

Pose rockPose(const RockKey& key) {
    Pose pose;
    pose.hip = {key.hipX, key.hipY};
    pose.lean = key.lean;
    pose.nearFoot = {{key.nearX, -ankleHeight - key.nearLift}, key.nearPitch};
    pose.farFoot = {{key.farX, -ankleHeight - key.farLift}, 0};
    pose.head = key.head;
    pose.guitar = GuitarAt::hands;
    pose.guitarAngle = key.neckAngle;
    Point centre = heldGuitarCentre(pose);
    Point neckDirection{std::sin(radiansOf(key.neckAngle)), -std::cos(radiansOf(key.neckAngle))};
    pose.farHand = add(centre, scaled(neckDirection, 9.5f));
    pose.nearHand = {centre.x - 0.5f, centre.y - 1.0f + key.strum};
    return pose;
}

const RockKey relaxed = {9.0f, -22.8f, 2, 12.0f, 6.5f, 0, 0, 0, 62, 0, Head::side};

} // namespace

std::vector<Canvas> drawRockout(const ActorSheets& sheets) {
    const RockKey keys[16] = {
        // Set one: 0 easy strumming, 1 knees bent and nodding, 2 leaning back,
        // 3 the big finish (also the pose while the music winds down).
        relaxed,
        {9.0f, -22.2f, 3, 12.0f, 6.5f, 0, 0, 0, 60, 3.0f, Head::side},
        {9.0f, -21.6f, 6, 12.5f, 6.0f, 0, 0, 0, 64, -2.5f, Head::side},
        {9.5f, -21.0f, 10, 12.5f, 6.0f, 0, 0, 0, 66, 3.0f, Head::down},
        {8.5f, -22.5f, -8, 12.5f, 6.0f, 0, 0, 0, 46, -2.0f, Head::shout},
        {8.0f, -22.0f, -12, 13.0f, 6.0f, 2.5f, -20, 0, 40, 3.0f, Head::shout},
        {9.5f, -20.0f, 18, 15.0f, 3.5f, 0, 0, 0, 72, 3.0f, Head::down},
        {9.5f, -20.8f, 6, 15.0f, 3.5f, 0, 0, 0, 58, -6.0f, Head::shout},
        // Set two: 0 tapping a foot, 1 knee lifts, 2 the neck held high, 3 head-banging.
        {9.0f, -22.8f, 2, 12.5f, 6.5f, 1.5f, -25, 0, 60, -1.5f, Head::side},
        {9.0f, -22.6f, 2, 12.5f, 6.5f, 0, 0, 0, 60, 2.5f, Head::side},
        {8.5f, -23.0f, 4, 14.0f, 6.5f, 7.0f, 15, 0, 58, 2.5f, Head::side},
        {9.5f, -23.0f, 4, 12.5f, 7.5f, 0, 0, 6.0f, 62, -2.0f, Head::side},
        {8.5f, -22.5f, -10, 12.5f, 6.0f, 0, 0, 0, 28, 2.0f, Head::shout},
        {8.5f, -22.0f, -6, 12.5f, 6.0f, 0, 0, 0, 34, -2.0f, Head::shout},
        {9.5f, -20.5f, 30, 14.5f, 4.5f, 0, 0, 0, 80, 3.0f, Head::down},
        {9.5f, -21.0f, 16, 14.5f, 4.5f, 0, 0, 0, 70, -2.0f, Head::shout},
    };
    std::vector<Canvas> frames;
    const Point origin{guitarSpotX - rockoutX + 0.5f, guitarSpotY + 1.0f - rockoutY};
    for (const RockKey& key : keys) {
        frames.push_back(render(40, 60, origin, sheets, rockPose(key)));
    }
    return frames;
}

std::vector<Canvas> drawPickup(const ActorSheets& sheets) {
    const Point origin{guitarSpotX - pickupX + 0.5f, guitarSpotY + 1.0f - pickupY};
    // The guitar on its stand, where the prop shows it, in actor space.
    const Point onStand{guitarX + guitarPropCentre.x - (guitarSpotX + 0.5f),
                        guitarY + guitarPropCentre.y - (guitarSpotY + 1.0f)};
    const float standAngle = guitarPropLean;
    std::vector<Pose> poses;

    Pose pose = walking(0);
    pose.guitar = GuitarAt::free;
    pose.guitarCentre = onStand;
    pose.guitarAngle = standAngle;
    poses.push_back(pose); // 1: standing where the walk left off

    auto place = [&](Point hip, float lean, Foot nearFoot, Foot farFoot) {
        pose.hip = hip;
        pose.lean = lean;
        pose.nearFoot = nearFoot;
        pose.farFoot = farFoot;
    };
    auto grip = [&](float along) {
        Point direction{std::sin(radiansOf(pose.guitarAngle)),
                        -std::cos(radiansOf(pose.guitarAngle))};
        return add(pose.guitarCentre, scaled(direction, along));
    };
    const float ground = -ankleHeight;

    // 2-4: two steps toward the guitar, reaching out.
    place({3.5f, -22.4f}, 5, {{6.5f, ground - 2.0f}, 10}, {{0.5f, ground}});
    pose.nearHand = {10.0f, -24.0f};
    pose.farHand = {-1.5f, -20.0f};
    poses.push_back(pose);
    place({6.0f, -21.8f}, 8, {{9.5f, ground}}, {{1.5f, ground - 1.5f}, 30});
    pose.nearHand = {15.0f, -24.0f};
    pose.farHand = {1.0f, -19.0f};
    poses.push_back(pose);
    place({8.5f, -22.4f}, 14, {{10.0f, ground}}, {{6.5f, ground - 1.5f}, 10});
    pose.nearHand = grip(-6.0f);
    pose.farHand = {5.0f, -18.0f};
    poses.push_back(pose);
    // 5: grip the neck.
    place({9.5f, -21.6f}, 22, {{12.0f, ground}}, {{7.0f, ground}});
    pose.nearHand = grip(-11.0f);
    poses.push_back(pose);
    // 6-8: lift it off the stand and swing it round in front of the body.
    const float lift[3][3] = {
        {20.0f, -13.0f, 5.0f}, {16.5f, -18.0f, 24.0f}, {13.5f, -20.5f, 44.0f}};
    const float leans[3] = {14, 7, 3};
    for (int k = 0; k < 3; ++k) {
        place({9.5f - 0.2f * k, -22.0f - 0.3f * k}, leans[k], {{12.0f, ground}}, {{6.8f, ground}});
        pose.guitarCentre = {lift[k][0], lift[k][1]};
        pose.guitarAngle = lift[k][2];
        pose.nearHand = grip(-10.0f);
        pose.farHand = k == 0 ? Point{8.0f, -18.0f} : grip(1.0f);
        if (k == 1) {
            pose.head = Head::down; // ducking through the strap
        } else {
            pose.head = Head::side;
        }
        poses.push_back(pose);
    }
    // 9-13: hands change over into the playing grip, the first chords.
    const RockKey settle[5] = {
        {9.0f, -22.6f, 2, 12.0f, 6.5f, 0, 0, 0, 54, -4.0f, Head::side},
        {9.0f, -22.4f, 3, 12.0f, 6.5f, 0, 0, 0, 58, -2.0f, Head::side},
        {9.0f, -22.2f, 3, 12.0f, 6.5f, 0, 0, 0, 61, 3.0f, Head::side},
        {9.0f, -22.6f, 2, 12.0f, 6.5f, 0, 0, 0, 62, -1.0f, Head::side},
        relaxed,
    };
    for (const RockKey& key : settle) {
        poses.push_back(rockPose(key));
    }
    std::vector<Canvas> frames;
    for (const Pose& p : poses) {
        frames.push_back(render(40, 60, origin, sheets, p));
    }
    return frames;
}

std::vector<Canvas> drawPantsOff(const ActorSheets& sheets) {
    const Point origin{guitarSpotX - pantsOffX + 0.5f, guitarSpotY + 1.0f - pantsOffY};
    const float ground = -ankleHeight;
    auto base = [&](Trousers trousers, Head head) {
        Pose pose;
        pose.hip = {9.0f, standingHipY};
        pose.lean = 0;
        pose.nearFoot = {{11.0f, ground}};
        pose.farFoot = {{7.0f, ground}};
        pose.guitar = GuitarAt::back;
        pose.trousers = trousers;
        pose.head = head;
        return pose;
    };
    std::vector<Pose> poses;
    // 1: the trousers slip; he grabs at his belt.
    Pose pose = base(Trousers::slipping, Head::oops);
    pose.hip.y += 0.6f;
    pose.nearHand = {12.5f, -20.0f};
    pose.farHand = {7.0f, -20.0f};
    poses.push_back(pose);
    // 2: down round the ankles, boxer shorts for all to see, arms out in surprise.
    pose = base(Trousers::down, Head::oops);
    pose.nearHand = {19.0f, -30.0f};
    pose.farHand = {0.0f, -30.0f};
    poses.push_back(pose);
    // 3: a deep bow.
    pose = base(Trousers::down, Head::down);
    pose.hip = {7.5f, -22.5f};
    pose.lean = 62;
    pose.nearHand = {15.0f, -12.0f};
    pose.farHand = {13.0f, -12.5f};
    poses.push_back(pose);
    // 4: ta-da, arms wide with a grin; 5: the same with a wink and a thumb up.
    pose = base(Trousers::down, Head::front);
    pose.nearHand = {20.0f, -37.0f};
    pose.farHand = {-0.5f, -37.0f};
    poses.push_back(pose);
    pose.head = Head::wink;
    pose.nearHand = {16.5f, -43.0f};
    poses.push_back(pose);
    std::vector<Canvas> frames;
    for (const Pose& p : poses) {
        frames.push_back(render(30, 48, origin, sheets, p));
    }
    return frames;
}
