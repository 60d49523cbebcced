#include "screens/main_screen.h"

#include "audio/audio_library.h"
#include "core/program.h"
#include "render/blit.h"
#include "render/colour.h"
#include "render/font.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The ten lamps: room column, colour while off and on, and the hue of the cone.
struct Lamp {
    uint32_t offColour;
    uint32_t onColour;
    float hue;
};

constexpr Lamp lamps[lampCount] = {
    {0xFF6C362C, 0xFF9C665C, 0},   {0xFF5C8E44, 0xFF9CD284, 120}, {0xFF6C3E84, 0xFF6C5EB4, 255},
    {0xFF342A7C, 0xFF74A6B4, 190}, {0xFF444644, 0xFFFCFEFC, 255}, {0xFF6C4E24, 0xFFBCC66C, 85},
    {0xFF5C8E44, 0xFF9CD284, 120}, {0xFF342A7C, 0xFF74A6B4, 190}, {0xFF6C362C, 0xFF74A6B4, 0},
    {0xFF444644, 0xFFFCFEFC, 255},
};

int32_t lampX(int32_t i) {
    return 300 + 24 * i + 2 * (i % 4);
}

// A lamp's counter runs its picture back and forth through a, b, c, d, e, d, c, b.
constexpr int32_t swingPosition[8] = {0, 1, 2, 3, 4, 3, 2, 1};

// The closing gag's pictures for each third of a tick count after the delay.
constexpr int32_t pantsPictures[17] = {0, 1, 2, 3, 3, 3, 3, 3, 3, 4, 3, 3, 3, 3, 3, 4, 3};

constexpr int32_t roomViewWidth = 320;
constexpr uint32_t sentenceColour = c64Palette[5]; // green

const WString& guitarName() {
    static const WString name("guitar");
    return name;
}

const WString& stairsName() {
    static const WString name("stairs");
    return name;
}

bool isWalkable(const Image& mask, int32_t x, int32_t y) {
    return x >= 0 && y >= 0 && x < mask.width && y < mask.height &&
           (mask.pixels[static_cast<size_t>(y) * mask.width + x] >> 24) > 127;
}

// Draws images[index] when the index names one of them.
template <size_t count>
void drawFrameOf(Framebuffer& frame, const Image (&images)[count], int32_t index, int32_t x,
                 int32_t y) {
    if (index >= 0 && index < static_cast<int32_t>(count)) {
        drawImage(frame, images[index], x, y);
    }
}

void loadSeries(PackArchive& archive, Image* images, int32_t count, const char* format) {
    for (int32_t i = 0; i < count; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, format, i + 1);
        loadImage(archive, images[i], name);
    }
}

// The width of a text in the font: the widest of its lines, as the sum of their advances.
int32_t textWidth(const char* text, const BitmapFont& font) {
    int32_t widest = 0, line = 0;
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c == '\n') {
            line = 0;
        } else if (*c != '\r') {
            line += font.glyphs[static_cast<uint8_t>(*c)].xadvance;
        }
        widest = std::max(widest, line);
    }
    return widest;
}

// The 30 % step from a byte toward a target byte, for every pair: p + (t - p) * 0.3 in double
// precision, with the single-precision 0.3 (slightly above it) and truncated, so that 0
// toward 10 gives 3. Worked out while compiling; a cone pixel then costs three look-ups.
struct ConeMix {
    uint8_t toward[256][256]; // [t][p]
};

constexpr ConeMix buildConeMix() {
    ConeMix mix{};
    const double share = 0.3f;
    for (int32_t t = 0; t < 256; ++t) {
        for (int32_t p = 0; p < 256; ++p) {
            mix.toward[t][p] = static_cast<uint8_t>(p + (t - p) * share);
        }
    }
    return mix;
}

constexpr ConeMix coneMix = buildConeMix();

} // namespace

uint32_t tintConePixel(uint32_t pixel, const uint32_t (&tint)[256]) {
    const uint32_t r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    const uint32_t q = tint[std::max(r, std::max(g, b))];
    return (pixel & 0xFF000000u) | uint32_t{coneMix.toward[(q >> 16) & 0xFF][r]} << 16 |
           uint32_t{coneMix.toward[(q >> 8) & 0xFF][g]} << 8 | coneMix.toward[q & 0xFF][b];
}

void findConeSpans(const Image& cone, ConeRowSpan (&spans)[frameHeight]) {
    for (int32_t r = 0; r < frameHeight; ++r) {
        ConeRowSpan span;
        for (int32_t j = 0; r < cone.height && j < cone.width; ++j) {
            if (((cone.pixels[static_cast<size_t>(r) * cone.width + j] >> 16) & 0xFF) != 0) {
                span.first = span.end == 0 ? j : span.first;
                span.end = j + 1;
            }
        }
        spans[r] = span;
    }
}

void tintLightCone(Framebuffer& frame, const Image& cone, const ConeRowSpan (&spans)[frameHeight],
                   int32_t x, const uint32_t (&tint)[256]) {
    // Only the columns inside the frame are walked, so a cone at the edge is cut there.
    const int32_t firstColumn = std::max(0, -x);
    const int32_t endColumn = std::min(cone.width, frameWidth - x);
    const int32_t rows = std::min(cone.height, frameHeight);
    for (int32_t r = 0; r < rows; ++r) {
        const uint32_t* mask = &cone.pixels[static_cast<size_t>(r) * cone.width];
        const int32_t end = std::min(endColumn, spans[r].end);
        for (int32_t j = std::max(firstColumn, spans[r].first); j < end; ++j) {
            if (((mask[j] >> 16) & 0xFF) != 0) {
                uint32_t& pixel = frame.at(x + j, r);
                pixel = tintConePixel(pixel, tint);
            }
        }
    }
}

void MainScreen::load(PackArchive& archive) {
    playerPanel.load(archive);
    commandBar.load(archive);
    loadImage(archive, background, "background.png");
    loadImage(archive, foreground, "foreground.png");
    loadSeries(archive, actorWalk, 10, "actor_walk_%02d.png");
    loadSeries(archive, animStairs, 10, "anim_stairs_%02d.png");
    loadSeries(archive, animPickup, 13, "anim_pickup_%02d.png");
    loadSeries(archive, animRockout, 16, "anim_rockout_%02d.png");
    loadSeries(archive, animPantsOff, 5, "anim_pantsoff_%02d.png");
    loadImage(archive, cursor, "cursor.png");
    loadSeries(archive, walkableSurface, 2, "walkable_surface_%02d.png");
    for (int32_t k = 0; k < lampPositions; ++k) {
        char name[64];
        const char letter = static_cast<char>('a' + k);
        std::snprintf(name, sizeof name, "lightcone_%c.png", letter);
        loadImage(archive, lightCone[k], name);
        findConeSpans(lightCone[k], coneSpans[k]);
        std::snprintf(name, sizeof name, "lightfixture_on_%c.png", letter);
        loadImage(archive, lightFixtureOn[k], name);
        std::snprintf(name, sizeof name, "lightfixture_off_%c.png", letter);
        loadImage(archive, lightFixtureOff[k], name);
    }
    loadImage(archive, propGuitar, "prop_guitar.png");
    loadImage(archive, propStairs, "prop_stairs.png");
    loadImage(archive, blackImage, "black.png");
    for (int32_t i = 0; i < 4; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "fs_v3_%02d_Q.wav", i + 1);
        loadClip(archive, footstepClips[i], name);
    }
    loadClip(archive, ambientClip, "AMB8BIT.IT");

    props.getProp(guitarName()) = {&propGuitar, 514, 79, 500, 114, 1};
    props.getProp(stairsName()) = {&propStairs, 214, 66, 214, 160, 0};

    // The cone colours depend only on the lamp and the brightness of the pixel under the
    // cone, so they are worked out once here instead of for every pixel of every frame.
    for (int32_t i = 0; i < lampCount; ++i) {
        for (int32_t m = 0; m < 256; ++m) {
            float brightness = static_cast<float>(m / 255.0);
            coneTint[i][m] = hueColor(lamps[i].hue, 1.0f, 0.7f, brightness);
        }
    }
}

void enterRoom(Program& program) {
    program.tickPeriodMs = 75;
    loadPlaylist(program.music);
    audio::channelPlay(clipChannel(program.mainScreen.ambientClip), false);
}

bool MainScreen::isMouseOver(const char* name) {
    return isMouseOver(WString(name));
}

bool MainScreen::isMouseOver(const WString& name) {
    if (!props.hasProp(name)) {
        return false;
    }
    const PropRecord& r = props.getProp(name);
    FramePoint p = toFrameCoordinates(program.geometry, program.input.mouseX, program.input.mouseY);
    int32_t w = r.image != nullptr ? r.image->width : 0;
    int32_t h = r.image != nullptr ? r.image->height : 0;
    return r.x - scrollX < p.x && p.x <= r.x - scrollX + w && r.y < p.y && p.y <= r.y + h;
}

bool MainScreen::onClick(int32_t x, int32_t y) {
    if (playerPanel.onClick(x, y)) {
        return true;
    }
    if (guitarTaken) {
        return false;
    }
    if (oldskoolMode && commandBar.onClick(x, y)) {
        return true;
    }

    bool plainWalkAllowed = true;
    if (!oldskoolMode) {
        if (isMouseOver("guitar")) {
            pendingProp = guitarName();
        } else if (isMouseOver("stairs") && floor == 0) {
            pendingProp = stairsName();
        } else {
            pendingProp = WString();
        }
    } else {
        const int32_t verb = commandBar.currentVerb;
        plainWalkAllowed = verb == verbWalkTo;
        if (verb == verbUse && isMouseOver("guitar")) {
            pendingProp = guitarName();
        } else if (verb == verbUse && isMouseOver("stairs") && floor == 0) {
            pendingProp = stairsName();
        } else {
            // "Walk to" on a prop reachable from this floor walks to its walk point.
            if (verb == verbWalkTo) {
                for (int32_t i = 0; i < props.count(); ++i) {
                    const auto& prop = props.propAt(i);
                    if (prop.value.floor == floor && isMouseOver(prop.key)) {
                        walking = true;
                        targetX = prop.value.walkX;
                        targetY = prop.value.walkY;
                        plainWalkAllowed = false;
                        break;
                    }
                }
            }
            pendingProp = WString();
        }
        commandBar.currentVerb = noVerb;
    }

    if (pendingProp.length > 0) {
        const PropRecord& r = props.getProp(pendingProp);
        walking = true;
        targetX = r.walkX;
        targetY = r.walkY;
        return false;
    }
    if (!plainWalkAllowed) {
        return false;
    }
    walkTargetSearch(x, y);
    return true;
}

void MainScreen::walkTargetSearch(int32_t x, int32_t y) {
    const Image& mask = walkableSurface[floor];
    const int32_t column = x + scrollX;
    auto walkTo = [this, column](int32_t row) {
        targetX = column;
        targetY = row;
        walking = true;
    };
    if (isWalkable(mask, column, y)) {
        walkTo(y);
    } else {
        // Down from the clicked row first; up only when the actor stands.
        bool found = false;
        for (int32_t row = std::max(y, 0); row < mask.height && !found; ++row) {
            if (isWalkable(mask, column, row)) {
                walkTo(row);
                found = true;
            }
        }
        if (!found && !walking && y >= 0) {
            for (int32_t row = std::min(y, mask.height - 1); row >= 0; --row) {
                if (isWalkable(mask, column, row)) {
                    walkTo(row);
                    break;
                }
            }
        }
    }
    targetX &= ~1;
}

void MainScreen::tick() {
    if (playerPanel.closing && exitCountdownStep()) {
        return;
    }
    if (walking) {
        walkingStep();
    }
    if (pendingProp.length > 0) {
        arrivalStep();
    }
    if (stairsActive) {
        stairsStep();
    }
    if (pickupActive) {
        pickupStep();
    }
    ++rockTick;
    if (rockoutActive && rockTick >= 3) {
        rockStep();
    }
    pictureOverrides();
    scrollingStep();
    // The player panel slides in once the guitar is taken, and then stays.
    if (guitarTaken) {
        if (playerPanel.x < 0) {
            playerPanel.x += 4;
        }
        if (playerPanel.x > 0) {
            playerPanel.x = 0;
        }
    }
}

bool MainScreen::exitCountdownStep() {
    if (exitCounter == 0) {
        exitDelay = program.music.paused ? 0 : 28;
    }
    ++exitCounter;
    if (exitCounter > exitDelay + 60) {
        exitCounter = exitDelay + 60;
        uint32_t stream = currentStream(program.music);
        if (stream != 0) {
            audio::channelStop(stream);
        }
        program.screenId = 5;
        return true;
    }
    return false;
}

void MainScreen::walkingStep() {
    if (targetX > actorX) {
        actorX += 4;
        facingLeft = false;
    }
    if (targetY > actorY) {
        actorY += 1;
    }
    if (targetX < actorX) {
        actorX -= 4;
        facingLeft = true;
    }
    if (targetY < actorY) {
        actorY -= 1;
    }
    if (std::abs(targetX - actorX) < 4 && targetY == actorY) {
        walking = false;
        walkFrame = 0;
        return;
    }
    walkFrame = (walkFrame + 1) % 10;
    if (walkFrame == 3 || walkFrame == 8) {
        audio::channelPlay(clipChannel(footstepClips[program.random.next() & 3]), false);
    }
}

void MainScreen::arrivalStep() {
    const PropRecord& r = props.getProp(pendingProp);
    if (std::abs(actorX - r.walkX) >= 4 || actorY != r.walkY) {
        return;
    }
    if (pendingProp == stairsName()) {
        stairsActive = true;
        stairsFrame = -1;
    } else if (pendingProp == guitarName()) {
        pickupActive = true;
        pickupFrame = -1;
        guitarTaken = true;
    }
    pendingProp = WString();
}

void MainScreen::stairsStep() {
    ++stairsFrame;
    if (stairsFrame >= 10) {
        stairsActive = false;
        actorX = 280;
        actorY = 120;
        walking = false;
        facingLeft = false;
        walkFrame = 0;
        floor = 1;
    }
    if (stairsFrame == 1 || stairsFrame == 3 || stairsFrame == 4 || stairsFrame == 6 ||
        stairsFrame == 8) {
        audio::channelPlay(clipChannel(footstepClips[program.random.next() & 3]), false);
    }
}

void MainScreen::pickupStep() {
    ++pickupFrame;
    if (pickupFrame >= 12) {
        pickupActive = false;
        rockoutActive = true;
        audio::channelStop(clipChannel(ambientClip));
        playTrack(program.music, 0);
    }
}

void MainScreen::rockStep() {
    MusicState& music = program.music;
    const uint32_t stream = currentStream(music);
    // A lamp lights with a chance that grows with the square of the music's level.
    for (int32_t i = 0; i < lampCount; ++i) {
        uint32_t level = stream != 0 ? audio::channelGetLevel(stream) & 0xFFFF : 0;
        uint32_t chance = (level * level) >> 16;
        uint32_t draw = static_cast<uint32_t>(program.random.next());
        if (stream != 0 && draw < chance && !music.paused && !music.slowingDown) {
            lightTimer[i] = 10;
        }
    }
    for (int32_t i = 0; i < lampCount; ++i) {
        if (lightTimer[i] > 0) {
            ++lightPhase[i];
            --lightTimer[i];
        }
    }
    rockTick = 0;
    rockFrame = 2 * rockLevel + (rockToggle ? 1 : 0) + (rockAlt ? 8 : 0);
    rockToggle = !rockToggle;

    // The intensity drifts down and up; the second set of moves comes and goes.
    int32_t u = program.random.next() % 500;
    if (u <= 24) {
        rockLevel = std::max(rockLevel - 1, 0);
    } else if (u >= 26 && u <= 49) {
        rockLevel = std::min(rockLevel + 1, 3);
    } else if (rockAlt) {
        rockAlt = !(u >= 51 && u <= 99);
    } else {
        rockAlt = u >= 51 && u <= 59;
    }
}

void MainScreen::pictureOverrides() {
    if (program.music.paused) {
        rockFrame = 0;
    }
    if (playerPanel.closing) {
        rockFrame = rockToggle && !program.music.paused ? 7 : 6;
    }
}

void MainScreen::scrollingStep() {
    if (actorX - scrollX > 200 && scrollX < background.width - roomViewWidth) {
        scrollX += 4;
    }
    if (actorX - scrollX < 120 && scrollX > 0) {
        scrollX -= 4;
    }
}

void MainScreen::render() {
    Framebuffer& frame = program.framebuffer;
    drawImage(frame, background, -scrollX, 0);

    // The props; the actor holds the guitar from the pick-up on.
    for (int32_t i = 0; i < props.count(); ++i) {
        const auto& prop = props.propAt(i);
        if ((pickupActive || rockoutActive) && prop.key == guitarName()) {
            continue;
        }
        if (prop.value.image != nullptr) {
            drawImage(frame, *prop.value.image, prop.value.x - scrollX, prop.value.y);
        }
    }

    // Exactly one actor layer: a scripted animation, or the walking actor.
    if (stairsActive) {
        const PropRecord& stairs = props.getProp(stairsName());
        drawFrameOf(frame, animStairs, stairsFrame, stairs.x - scrollX, stairs.y);
    } else if (pickupActive) {
        drawFrameOf(frame, animPickup, pickupFrame, 496 - scrollX, 60);
    } else if (rockoutActive) {
        if (exitCounter > exitDelay) {
            int32_t n = (exitCounter - exitDelay) / 3;
            if (n > 16) {
                n = 9 + (n - 17) % 8;
            }
            drawFrameOf(frame, animPantsOff, pantsPictures[n], 499 - scrollX, 68);
        } else {
            drawFrameOf(frame, animRockout, rockFrame, 498 - scrollX, 60);
        }
    } else {
        const Image& actor = actorWalk[walkFrame];
        int32_t left = actorX - scrollX - 10, top = actorY - 55;
        if (facingLeft) {
            drawImageMirrored(frame, actor, left, top);
        } else {
            drawImage(frame, actor, left, top);
        }
    }

    for (int32_t i = 0; i < lampCount; ++i) {
        const int32_t x = lampX(i) - scrollX;
        const int32_t k = swingPosition[lightPhase[i] % 8];
        if (lightTimer[i] == 0) {
            drawImageRecolored(frame, lightFixtureOff[k], x, lamps[i].offColour);
            continue;
        }
        drawImageRecolored(frame, lightFixtureOn[k], x, lamps[i].onColour);
        tintLightCone(frame, lightCone[k], coneSpans[k], x, coneTint[i]);
    }

    drawImage(frame, foreground, -scrollX, 0);
    playerPanel.render();

    if (oldskoolMode) {
        char sentence[64] = {};
        auto append = [&sentence](const char* text) {
            std::strncat(sentence, text, sizeof sentence - 1 - std::strlen(sentence));
        };
        const int32_t verb = commandBar.currentVerb;
        if (verb >= 0 && verb < verbCount) {
            append(verbLabels[verb]);
        }
        if (isMouseOver("guitar")) {
            append(" guitar");
        }
        if (isMouseOver("stairs")) {
            append(" stairs");
        }
        commandBar.render();
        drawText(frame, sentence, program.silkyFont,
                 275 - textWidth(sentence, program.silkyFont) / 2, 170, sentenceColour);
    }

    FramePoint pointer =
        toFrameCoordinates(program.geometry, program.input.mouseX, program.input.mouseY);
    if (exitCounter == 0) {
        drawImage(frame, cursor, pointer.x - 6, pointer.y - 6);
    }
    if (exitCounter > exitDelay) {
        blendImage(frame, blackImage, static_cast<uint32_t>(4 * (exitCounter - exitDelay)));
    }
}
