#include "room.h"

#include "guitar.h"
#include "layout.h"
#include "paint.h"

#include <algorithm>
#include <cmath>

namespace {

// Materials. The light comes through the window on the left, low and warm: lit faces are
// the left and upper ones.
constexpr Ramp wood = {rgb(0x24140c), rgb(0x4a2c1a), rgb(0x6b4226), rgb(0x8e5c34)};
constexpr Ramp pine = {rgb(0x3a2010), rgb(0x8a5a30), rgb(0xae7840), rgb(0xd09a58)};
constexpr Ramp darkWood = {rgb(0x1a0e08), rgb(0x2e1c12), rgb(0x40281a), rgb(0x563824)};
constexpr Ramp plaster = {rgb(0x3a4658), rgb(0x4a586c), rgb(0x58687c), rgb(0x6a7a8c)};
constexpr Ramp brick = {rgb(0x3a201c), rgb(0x6a3428), rgb(0x7e4232), rgb(0x94543e)};
constexpr Ramp metal = {rgb(0x2a2a30), rgb(0x5a5c66), rgb(0x8a8c98), rgb(0xb8bac4)};
constexpr Ramp beige = {rgb(0x4a4032), rgb(0x9a8c6c), rgb(0xbcae8a), rgb(0xd8ccaa)};
constexpr Ramp tolex = {rgb(0x0c0c0e), rgb(0x1a1a1e), rgb(0x26262c), rgb(0x3a3a42)};
constexpr Ramp cardboard = {rgb(0x4a3218), rgb(0x8a6434), rgb(0xa87c44), rgb(0xc49a5c)};
constexpr uint32_t mortar = rgb(0x4e3a34);
constexpr uint32_t ceilingDark = rgb(0x1e120c);
constexpr uint32_t ceilingBase = rgb(0x2c1c12);
constexpr uint32_t floorSeam = rgb(0x3a2212);
constexpr uint32_t floorA = rgb(0x76482a);
constexpr uint32_t floorB = rgb(0x6c4226);
constexpr uint32_t floorSunA = rgb(0x9c6838);
constexpr uint32_t floorSunB = rgb(0x905e32);

// The stairs' near stringer starts on the floor this far right of the foot point, and its
// underside climbs from there to the gallery's lip; the ground floor stops in front of it.
constexpr int32_t stringerLeftX = stairsFootX + 5;
int32_t stringerUndersideY(int32_t x) {
    return 164 - (x - stringerLeftX) * 33 / 53;
}

// A fixed pattern value for brick and board variation: the same on every build.
uint32_t hashOf(int32_t a, int32_t b) {
    uint32_t h = static_cast<uint32_t>(a) * 73856093u ^ static_cast<uint32_t>(b) * 19349663u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    return h ^ (h >> 15);
}

// Shades a mask of `colour` pixels and draws it at (x, y).
void drawShaded(Canvas& canvas, const Canvas& mask, const Ramp& ramp, int32_t x = 0,
                int32_t y = 0) {
    canvas.draw(shadePart(mask, ramp), x, y);
}

void shadedRect(Canvas& canvas, int32_t x, int32_t y, int32_t w, int32_t h, const Ramp& ramp) {
    Canvas mask(w, h, rgb(0));
    drawShaded(canvas, mask, ramp, x, y);
}

// The ceiling: roof boards with rafters, and the tie beam with the lamp sockets.
void drawCeiling(Canvas& c) {
    for (int32_t y = 0; y < tieBeamTopY; ++y) {
        for (int32_t x = 0; x < roomWidth; ++x) {
            c.set(x, y, (y % 5 == 4) ? ceilingDark : ceilingBase);
        }
    }
    for (int32_t x = 40; x < roomWidth; x += 120) {
        shadedRect(c, x, -2, 10, tieBeamTopY + 2, darkWood);
    }
    shadedRect(c, -2, tieBeamTopY, roomWidth + 4, 7, wood);
    for (int32_t x = 0; x < roomWidth; x += 2) {
        c.set(x, tieBeamTopY + 7, ceilingDark); // the beam's shadow on the wall
    }
    for (int32_t lampX : lampXs) {
        int32_t socket = lampX + lampPivotX;
        c.fillRect(socket - 2, tieBeamTopY + 5, 5, 1, metal.outline);
        c.fillRect(socket - 1, tieBeamTopY + 6, 3, 1, metal.base);
        c.set(socket - 1, tieBeamTopY + 6, metal.light);
        c.fillRect(socket, lampPivotY - 1, 1, 2, metal.dark);
    }
}

void drawPlasterWall(Canvas& c) {
    int32_t top = tieBeamTopY + 7;
    for (int32_t y = top; y <= wallBaseY; ++y) {
        for (int32_t x = leftPostX + postWidth; x < midPostX; ++x) {
            uint32_t colour = plaster.base;
            if (y < top + 3) {
                colour = ((x + y) & 1) ? plaster.dark : plaster.base;
            }
            c.set(x, y, colour);
        }
    }
    // Wainscot panels with a rail on top and a skirting board.
    for (int32_t x = leftPostX + postWidth; x < midPostX; x += 24) {
        shadedRect(c, x, 112, 24, 26, darkWood);
        shadedRect(c, x + 3, 115, 18, 20, wood);
    }
    shadedRect(c, leftPostX + postWidth, 109, midPostX - postWidth, 4, wood);
    shadedRect(c, leftPostX + postWidth, 136, midPostX - postWidth, 5, darkWood);
}

void drawBrickWall(Canvas& c) {
    int32_t top = tieBeamTopY + 7;
    for (int32_t y = top; y < deckBackY; ++y) {
        int32_t course = (y - top) / 4;
        int32_t inCourse = (y - top) % 4;
        int32_t offset = (course & 1) * 5;
        for (int32_t x = midPostX + postWidth; x < roomWidth; ++x) {
            int32_t column = (x + offset) / 10;
            int32_t inBrick = (x + offset) % 10;
            uint32_t colour;
            if (inCourse == 3 || inBrick == 9) {
                colour = mortar;
            } else {
                uint32_t tone = hashOf(column, course) % 4;
                colour = tone == 0 ? brick.dark : (tone == 1 ? brick.light : brick.base);
                if (inCourse == 0 && tone != 0) {
                    colour = brick.light; // each brick's top catches the light
                }
            }
            if (y < top + 3 && ((x + y) & 1)) {
                colour = brick.outline;
            }
            c.set(x, y, colour);
        }
    }
}

void drawPosts(Canvas& c) {
    for (int32_t x : {leftPostX, midPostX}) {
        shadedRect(c, x, tieBeamTopY + 6, postWidth, wallBaseY - tieBeamTopY - 5, wood);
    }
}

// The window with a sunset over the roofs: the room's light source.
void drawWindow(Canvas& c) {
    const int32_t left = 40, top = 34, right = 118, bottom = 100;
    const uint32_t sky[] = {rgb(0x3a3470), rgb(0x5c3c7c), rgb(0x8e4a7c), rgb(0xc45c6c),
                            rgb(0xe47c5c), rgb(0xf4a45c), rgb(0xf8cc78)};
    const int32_t bandHeight = (bottom - top) / 7 + 1;
    for (int32_t y = top; y < bottom; ++y) {
        int32_t band = std::min(6, (y - top) / bandHeight);
        int32_t inBand = (y - top) % bandHeight;
        for (int32_t x = left; x < right; ++x) {
            uint32_t colour = sky[band];
            // Two rows of checker between bands, so the gradient steps softly.
            if (band < 6 && inBand >= bandHeight - 2 && ((x + y) & 1)) {
                colour = sky[band + 1];
            }
            c.set(x, y, colour);
        }
    }
    fillEllipse(c, {94.0f, 86.0f}, 8.0f, 8.0f, rgb(0xfce49c));
    fillEllipse(c, {94.0f, 86.0f}, 6.0f, 6.0f, rgb(0xfff4c8));
    // Roofs and chimneys against the sky, a few windows lit.
    const uint32_t city = rgb(0x2a1c34);
    const int32_t roofs[][3] = {{40, 84, 14}, {54, 88, 10}, {64, 80, 12}, {76, 90, 8},
                                {84, 86, 10}, {94, 92, 12}, {106, 82, 12}};
    for (const auto& roof : roofs) {
        c.fillRect(roof[0], roof[1], roof[2], bottom - roof[1], city);
    }
    c.fillRect(70, 74, 3, 6, city);
    c.fillRect(110, 76, 2, 6, city);
    fillPolygon(c, {{54, 88}, {59, 83}, {64, 88}}, city);
    const int32_t lit[][2] = {{44, 88}, {48, 92},  {67, 84},  {70, 90},
                              {88, 90}, {100, 96}, {110, 86}, {113, 92}};
    for (const auto& w : lit) {
        c.fillRect(w[0], w[1], 2, 2, rgb(0xf8d878));
    }
    // Frame, mullions and sill.
    Canvas frame(right - left + 8, bottom - top + 8);
    for (int32_t y = 0; y < frame.height; ++y) {
        for (int32_t x = 0; x < frame.width; ++x) {
            bool border = x < 4 || y < 4 || x >= frame.width - 4 || y >= frame.height - 4;
            bool mullion =
                std::abs(x - frame.width / 2) <= 1 || std::abs(y - frame.height / 2) <= 1;
            if (border || mullion) {
                frame.set(x, y, rgb(0));
            }
        }
    }
    drawShaded(c, frame, wood, left - 4, top - 4);
    shadedRect(c, left - 8, bottom + 4, right - left + 16, 4, wood);
}

// A light patch where the low sun falls on the floor, right of the window.
bool inSunPatch(int32_t x, int32_t y) {
    if (y < wallBaseY + 1 || y > 168) {
        return false;
    }
    float t = static_cast<float>(y - wallBaseY) / 28.0f;
    float from = 58.0f + 40.0f * t;
    float to = 122.0f + 58.0f * t;
    return x >= from && x <= to;
}

void drawFloor(Canvas& c) {
    int32_t y = wallBaseY + 1;
    int32_t height = 3;
    int32_t board = 0;
    while (y < roomHeight) {
        int32_t jointLength = 40 + 12 * height;
        int32_t jointOffset =
            static_cast<int32_t>(hashOf(board, 7) % static_cast<uint32_t>(jointLength));
        for (int32_t row = y; row < std::min(roomHeight, y + height); ++row) {
            for (int32_t x = 0; x < roomWidth; ++x) {
                bool sun = inSunPatch(x, row);
                uint32_t colour =
                    (board & 1) ? (sun ? floorSunB : floorB) : (sun ? floorSunA : floorA);
                if (row == y + height - 1 || (x + jointOffset) % jointLength == 0) {
                    colour = floorSeam;
                }
                // The front of the room, nearest the viewer, lies in shadow.
                if (row >= 168 && ((row >= 172) || ((x + row) & 1))) {
                    colour = colour == floorSeam ? rgb(0x24140a)
                                                 : ((board & 1) ? rgb(0x4a2c18) : rgb(0x52321c));
                }
                c.set(x, row, colour);
            }
        }
        y += height;
        ++board;
        if (board % 2 == 0) {
            ++height;
        }
    }
}

// The gallery: its deck seen from above, the lip and the boarded face down to the floor.
void drawGallery(Canvas& c) {
    const int32_t left = midPostX + postWidth;
    int32_t y = deckBackY;
    int32_t height = 2;
    int32_t board = 0;
    while (y <= deckFrontY) {
        for (int32_t row = y; row < std::min(deckFrontY + 1, y + height); ++row) {
            for (int32_t x = left; x < roomWidth; ++x) {
                uint32_t colour = (board & 1) ? wood.base : wood.light;
                if (row == y + height - 1 || (x + board * 37) % 70 == 0) {
                    colour = wood.dark;
                }
                c.set(x, row, colour);
            }
        }
        y += height;
        ++board;
        height = std::min(4, height + 1);
    }
    shadedRect(c, left - 2, deckFrontY + 1, roomWidth - left + 4, lipBottomY - deckFrontY, wood);
    for (int32_t x = left; x < roomWidth; x += 7) {
        shadedRect(c, x, lipBottomY + 1, 7, wallBaseY - lipBottomY, darkWood);
    }
    for (int32_t x = left; x < roomWidth; ++x) {
        c.set(x, lipBottomY + 1, darkWood.outline); // shadow under the lip
    }
}

// The home computer on its desk, its monitor showing a blue start-up screen.
void drawDesk(Canvas& c) {
    shadedRect(c, 130, 116, 74, 4, wood);
    shadedRect(c, 133, 120, 4, 20, darkWood);
    shadedRect(c, 197, 120, 4, 20, darkWood);
    shadedRect(c, 136, 120, 24, 12, wood); // drawer block
    c.fillRect(146, 125, 4, 1, metal.light);
    // Monitor.
    shadedRect(c, 140, 90, 30, 26, beige);
    c.fillRect(143, 93, 24, 17, rgb(0x14141c));
    c.fillRect(144, 94, 22, 15, rgb(0x6c5eb5));
    c.fillRect(146, 96, 18, 11, rgb(0x352879));
    for (int32_t row : {97, 99, 101}) {
        c.fillRect(147, row, row == 99 ? 9 : 14, 1, rgb(0x6c5eb5));
    }
    c.fillRect(147, 104, 2, 2, rgb(0x6c5eb5)); // the cursor block
    c.fillRect(163, 112, 3, 2, rgb(0xd84030));
    // Computer and floppy drive.
    Canvas computer(30, 6);
    fillPolygon(computer, {{2, 0}, {28, 0}, {30, 6}, {0, 6}}, rgb(0));
    drawShaded(c, computer, beige, 172, 110);
    for (int32_t x = 177; x < 198; x += 2) {
        c.set(x, 112, beige.outline);
        c.set(x + 1, 114, beige.outline);
    }
    shadedRect(c, 176, 103, 22, 7, beige);
    c.fillRect(180, 106, 10, 1, beige.outline);
    c.set(193, 105, rgb(0x58d048));
}

void drawPoster(Canvas& c, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t paper, uint32_t ink,
                uint32_t accent) {
    Canvas sheet(w, h, paper);
    fillPolygon(sheet,
                {{w * 0.55f, 3},
                 {w * 0.25f, h * 0.5f},
                 {w * 0.5f, h * 0.5f},
                 {w * 0.35f, h - 8.0f},
                 {w * 0.8f, h * 0.42f},
                 {w * 0.55f, h * 0.42f},
                 {w * 0.75f, 3}},
                accent);
    sheet.fillRect(3, h - 6, w - 6, 2, ink);
    sheet.fillRect(5, h - 3, w - 10, 1, ink);
    c.draw(withOutline(sheet, rgb(0x20181c)), x, y);
    c.set(x + w / 2, y, metal.light); // the pin
}

void drawUnderStairs(Canvas& c) {
    shadedRect(c, 226, 124, 18, 16, cardboard);
    shadedRect(c, 244, 128, 16, 12, cardboard);
    shadedRect(c, 230, 112, 14, 12, cardboard);
    c.fillRect(232, 130, 10, 2, cardboard.dark);
}

void drawRadiator(Canvas& c) {
    for (int32_t x = 54; x < 102; x += 4) {
        shadedRect(c, x, 116, 4, 20, metal);
    }
    shadedRect(c, 52, 114, 52, 3, metal);
}

// Band gear along the gallery's back wall.
void drawSpeaker(Canvas& c, int32_t x, int32_t y, int32_t w, int32_t h) {
    shadedRect(c, x, y, w, h, tolex);
    int32_t r = w / 2 - 3;
    fillEllipse(c, {x + w / 2.0f, y + h - r - 4.0f}, static_cast<float>(r), static_cast<float>(r),
                rgb(0x101012));
    fillEllipse(c, {x + w / 2.0f, y + h - r - 4.0f}, r - 2.0f, r - 2.0f, rgb(0x3a3a40));
    fillEllipse(c, {x + w / 2.0f, y + h - r - 4.0f}, 1.5f, 1.5f, metal.light);
    fillEllipse(c, {x + w / 2.0f, y + 7.0f}, 3.0f, 2.0f, rgb(0x101012));
}

void drawAmpStack(Canvas& c, int32_t x) {
    for (int32_t cab = 0; cab < 2; ++cab) {
        int32_t y = deckBackY - 20 * (cab + 1);
        shadedRect(c, x, y, 30, 20, tolex);
        ditherRect(c, x + 3, y + 3, 24, 14, rgb(0x3a342c), rgb(0x2a2620));
        c.fillRect(x + 3, y + 17, 24, 1, rgb(0xa89060));
    }
    shadedRect(c, x, deckBackY - 50, 30, 10, tolex);
    c.fillRect(x + 3, deckBackY - 47, 24, 3, rgb(0xa89060));
    for (int32_t k = 0; k < 6; ++k) {
        c.set(x + 5 + 4 * k, deckBackY - 46, rgb(0x202020));
    }
    c.set(x + 26, deckBackY - 43, rgb(0xf04030));
}

void drawDrums(Canvas& c, int32_t cx) {
    const Ramp shell = {rgb(0x10183a), rgb(0x203070), rgb(0x3050a0), rgb(0x5a7ccc)};
    const Ramp head = {rgb(0x6a6450), rgb(0xb8b098), rgb(0xe4dcc4), rgb(0xf4eee0)};
    const uint32_t brass = rgb(0xc8a040);
    const uint32_t brassLight = rgb(0xf0d070);
    // A drum seen from the front and a little above: a shell with its head on top.
    auto drum = [&](float x, float top, float w, float h) {
        Canvas m(roomWidth, roomHeight);
        fillPolygon(m, {{x, top}, {x + w, top}, {x + w, top + h}, {x, top + h}}, rgb(0));
        fillEllipse(m, {x + w / 2, top + h}, w / 2, 1.8f, rgb(0));
        drawShaded(c, m, shell);
        Canvas skin(roomWidth, roomHeight);
        fillEllipse(skin, {x + w / 2, top}, w / 2, 2.2f, rgb(0));
        drawShaded(c, skin, head);
    };
    auto legs = [&](int32_t x, int32_t from) {
        drawLine(c, x, from, x - 3, deckBackY + 1, metal.dark);
        drawLine(c, x, from, x + 3, deckBackY + 1, metal.dark);
    };
    auto cymbal = [&](int32_t x, int32_t y, int32_t r) {
        drawLine(c, x, y, x, deckBackY - 4, metal.dark);
        legs(x, deckBackY - 4);
        fillEllipse(c, {x + 0.5f, y + 0.5f}, static_cast<float>(r), 1.5f, brass);
        c.fillRect(x - r + 2, y, r, 1, brassLight);
        c.set(x, y - 1, metal.base);
    };
    cymbal(cx - 28, 76, 8);
    cymbal(cx + 26, 72, 9);
    // Hi-hat on the left, snare in front of it.
    drawLine(c, cx - 36, 86, cx - 36, deckBackY - 4, metal.dark);
    legs(cx - 36, deckBackY - 4);
    fillEllipse(c, {cx - 35.5f, 86.5f}, 6.0f, 1.2f, brass);
    fillEllipse(c, {cx - 35.5f, 88.5f}, 6.0f, 1.2f, brass);
    legs(cx - 20, deckBackY - 6);
    drum(cx - 27.0f, 92.0f, 14.0f, 7.0f);
    // Toms on the bass drum, the floor tom on the right, the bass drum facing us.
    drum(cx - 12.0f, 80.0f, 10.0f, 7.0f);
    drum(cx + 2.0f, 80.0f, 10.0f, 7.0f);
    drum(cx + 14.0f, 90.0f, 13.0f, 13.0f);
    Canvas bass(roomWidth, roomHeight);
    fillEllipse(bass, {static_cast<float>(cx), deckBackY - 12.0f}, 12.0f, 12.0f, rgb(0));
    drawShaded(c, bass, shell);
    Canvas front(roomWidth, roomHeight);
    fillEllipse(front, {static_cast<float>(cx), deckBackY - 12.0f}, 9.5f, 9.5f, rgb(0));
    drawShaded(c, front, head);
    fillPolygon(c,
                {{cx - 1.0f, deckBackY - 19.0f},
                 {cx - 6.0f, deckBackY - 11.0f},
                 {cx - 1.0f, deckBackY - 11.0f},
                 {cx - 3.0f, deckBackY - 5.0f},
                 {cx + 5.0f, deckBackY - 14.0f},
                 {cx + 0.0f, deckBackY - 14.0f},
                 {cx + 3.0f, deckBackY - 19.0f}},
                rgb(0xc82a24)); // a lightning bolt on the front head
}

// A rag rug on the ground floor, in front of the gallery.
void drawRug(Canvas& c) {
    const int32_t left = 330, right = 560, top = 145, bottom = 163;
    const uint32_t stripes[] = {rgb(0x7a2a2a), rgb(0xb86a3a), rgb(0x3a5a6a), rgb(0xb86a3a)};
    Canvas rug(roomWidth, roomHeight);
    fillPolygon(rug,
                {{left + 8.0f, top},
                 {right - 8.0f, top},
                 {right + 0.0f, bottom + 1.0f},
                 {left + 0.0f, bottom + 1.0f}},
                rgb(0));
    for (int32_t y = top; y <= bottom; ++y) {
        for (int32_t x = left; x <= right; ++x) {
            if ((rug.at(x, y) >> 24) == 0) {
                continue;
            }
            int32_t band = (y - top) / 3;
            bool edge = y == top || y == bottom || (rug.at(x - 1, y) >> 24) == 0 ||
                        (rug.at(x + 1, y) >> 24) == 0;
            uint32_t colour = edge ? rgb(0x3a1a14) : stripes[band % 4];
            if (!edge && (y - top) % 3 == 2 && ((x + y) & 1)) {
                colour = rgb(0x4a2018); // a woven seam between stripes
            }
            c.set(x, y, colour);
        }
    }
}

void drawMicStand(Canvas& c, int32_t x) {
    drawLine(c, x, 80, x, deckBackY, metal.dark);
    drawLine(c, x, deckBackY, x - 4, deckBackY + 2, metal.dark);
    drawLine(c, x, deckBackY, x + 4, deckBackY + 2, metal.dark);
    drawLine(c, x, 80, x + 6, 76, metal.base);
    fillEllipse(c, {x + 7.5f, 75.5f}, 2.0f, 1.5f, rgb(0x30303a));
}

void drawGuitarStand(Canvas& c) {
    // An A-frame stand: the guitar rests on its cradle and leans on its upright.
    const int32_t foot = guitarSpotY + 1;
    drawLine(c, 520, foot, 524, 104, metal.outline);
    drawLine(c, 530, foot, 526, 104, metal.outline);
    drawLine(c, 525, 104, 527, 88, metal.outline);
    drawLine(c, 519, 107, 531, 107, metal.outline);
    c.set(526, 88, metal.light);
}

void drawBanner(Canvas& c) {
    const int32_t left = 404, top = 30, w = 120, h = 26;
    Canvas cloth(w, h, rgb(0x5a1830));
    for (int32_t x = 0; x < w; ++x) {
        for (int32_t y = h - 4 + ((x / 6) & 1) * 2; y < h; ++y) {
            cloth.set(x, y, 0); // a zigzag hem
        }
    }
    fillPolygon(cloth, {{64, 2}, {50, 13}, {60, 13}, {52, 23}, {72, 10}, {62, 10}, {72, 2}},
                rgb(0xf8d038));
    for (int32_t k = 0; k < 2; ++k) {
        int32_t sx = k == 0 ? 24 : 96;
        fillPolygon(cloth,
                    {{sx + 0.0f, 4},
                     {sx + 2.0f, 10},
                     {sx + 8.0f, 11},
                     {sx + 2.0f, 14},
                     {sx + 4.0f, 20},
                     {sx + 0.0f, 16},
                     {sx - 4.0f, 20},
                     {sx - 2.0f, 14},
                     {sx - 8.0f, 11},
                     {sx - 2.0f, 10}},
                    rgb(0xe8dcc0));
    }
    c.draw(withOutline(cloth, rgb(0x200810)), left, top);
    drawLine(c, left + 2, top - 1, left + 14, tieBeamTopY + 7, metal.dark);
    drawLine(c, left + w - 3, top - 1, left + w - 15, tieBeamTopY + 7, metal.dark);
}

} // namespace

Canvas drawBackground() {
    Canvas c(roomWidth, roomHeight, rgb(0));
    drawFloor(c);
    drawPlasterWall(c);
    drawBrickWall(c);
    drawGallery(c);
    drawPosts(c);
    drawCeiling(c);
    drawWindow(c);
    drawRadiator(c);
    drawDesk(c);
    drawPoster(c, 150, 40, 24, 34, rgb(0xd8c8a0), rgb(0x3a2a30), rgb(0xd04030));
    drawPoster(c, 204, 36, 26, 36, rgb(0x30406a), rgb(0xe8dcc0), rgb(0x70d0c8));
    drawUnderStairs(c);
    drawRug(c);
    drawSpeaker(c, 282, 72, 20, deckBackY - 72);
    drawDrums(c, 392);
    drawMicStand(c, 462);
    drawBanner(c);
    drawSpeaker(c, 546, 86, 18, deckBackY - 86);
    drawAmpStack(c, 584);
    drawGuitarStand(c);
    return c;
}

Canvas drawForeground() {
    Canvas c(roomWidth, roomHeight);
    // A potted palm in the front left corner.
    const Ramp leaf = {rgb(0x0e2a14), rgb(0x1e5428), rgb(0x2e7a36), rgb(0x56a450)};
    const Ramp leafBack = {rgb(0x0a1e0e), rgb(0x16401e), rgb(0x20582a), rgb(0x367a3a)};
    const Ramp pot = {rgb(0x3a1a10), rgb(0x8a3e24), rgb(0xb05430), rgb(0xd07444)};
    // Each frond a curved, tapering blade from the pot, drawn back to front.
    const float fronds[][4] = {{-10, 116, 0.6f, 1}, {40, 124, -0.7f, 1}, {48, 150, -0.4f, 0},
                               {-8, 146, 0.3f, 0},  {12, 104, 0.2f, 1},  {32, 108, -0.5f, 0},
                               {2, 126, 0.5f, 0}};
    for (const auto& f : fronds) {
        Canvas blade(roomWidth, roomHeight);
        Point base{17.0f, 172.0f};
        Point tip{f[0], f[1]};
        Point bend{(base.x + tip.x) / 2 + f[2] * 14.0f, (base.y + tip.y) / 2 - 10.0f};
        const int steps = 14;
        for (int k = 0; k < steps; ++k) {
            float t0 = static_cast<float>(k) / steps;
            float t1 = static_cast<float>(k + 1) / steps;
            Point a = lerp(lerp(base, bend, t0), lerp(bend, tip, t0), t0);
            Point b = lerp(lerp(base, bend, t1), lerp(bend, tip, t1), t1);
            float width = 3.2f * std::sin(3.0f * (t0 + 0.08f)) + 0.6f;
            fillCapsule(blade, a, b, std::max(0.6f, width), rgb(0));
        }
        c.draw(shadePart(blade, f[3] > 0 ? leafBack : leaf), 0, 0);
    }
    Canvas potMask(30, 30);
    fillPolygon(potMask, {{0, 0}, {30, 0}, {25, 30}, {5, 30}}, rgb(0));
    c.draw(shadePart(potMask, pot), 2, 170);
    c.fillRect(3, 174, 28, 1, pot.outline);
    // The edge of a timber pillar at the right.
    Canvas pillar(16, roomHeight, rgb(0));
    c.draw(shadePart(pillar, darkWood), roomWidth - 16, 0);
    for (int32_t y = 0; y < roomHeight; y += 40) {
        c.fillRect(roomWidth - 15, y + 20, 14, 1, darkWood.outline);
    }
    return c;
}

Canvas drawWalkMask(int floor) {
    Canvas mask(roomWidth, roomHeight);
    const uint32_t walkable = rgb(0xFFFFFF);
    if (floor == 0) {
        for (int32_t x = groundLeftX; x <= groundRightX; ++x) {
            // In front of the stairs only: the floor under them is out of reach.
            int32_t top = groundTopY;
            if (x >= stringerLeftX && x < galleryLeftX) {
                top = std::max(top, stringerUndersideY(x) + 2);
            }
            mask.fillRect(x, top, 1, groundBottomY - top + 1, walkable);
        }
    } else {
        mask.fillRect(galleryWalkLeftX, galleryTopY, galleryWalkRightX - galleryWalkLeftX + 1,
                      galleryBottomY - galleryTopY + 1, walkable);
    }
    return mask;
}

Canvas drawStairsProp() {
    Canvas c(stairsWidth, stairsHeight);
    auto local = [](int32_t x, int32_t y) {
        return Point{static_cast<float>(x - stairsX), static_cast<float>(y - stairsY)};
    };
    // The far handrail, behind anyone on the stairs: newel posts, balusters and the rail.
    const int32_t footPost = treadFirstX;
    const int32_t topPost = galleryLeftX + 2;
    auto railY = [&](int32_t x) { return 126 - (x - footPost) * 34 / (topPost - footPost); };
    for (int32_t x = footPost + 6; x < topPost; x += 6) {
        int32_t k = std::min(treadCount - 1, (x - treadFirstX) / treadRun);
        int32_t foot = treadFirstTopY - treadRise * k - 4;
        Point top = local(x, railY(x));
        int32_t column = static_cast<int32_t>(top.x);
        for (int32_t y = static_cast<int32_t>(top.y); y <= foot - stairsY; ++y) {
            c.set(column, y, pine.light);
            c.set(column + 1, y, pine.dark);
        }
    }
    c.draw(
        [&] {
            Canvas m(stairsWidth, stairsHeight);
            Point a = local(footPost, railY(footPost));
            Point b = local(topPost, railY(topPost));
            fillCapsule(m, a, b, 1.2f, rgb(0));
            return shadePart(m, pine);
        }(),
        0, 0);
    for (int32_t post : {footPost, topPost}) {
        int32_t bottom = post == footPost ? treadFirstTopY - 4 : deckFrontY - 6;
        Canvas m(stairsWidth, stairsHeight);
        m.fillRect(post - 2 - stairsX, railY(post) - 3 - stairsY, 4, bottom - railY(post) + 3,
                   rgb(0));
        m.fillRect(post - 3 - stairsX, railY(post) - 5 - stairsY, 6, 3, rgb(0));
        c.draw(shadePart(m, pine), 0, 0);
    }
    // The near stringer: a board under the treads whose top follows the steps.
    Canvas stringer(stairsWidth, stairsHeight);
    for (int32_t x = stringerLeftX; x < galleryLeftX + 4; ++x) {
        int32_t k = std::clamp((x - treadFirstX) / treadRun, 0, treadCount - 1);
        int32_t top = treadFirstTopY - treadRise * k + 1;
        if (x >= treadFirstX + treadRun * treadCount) {
            top = lipBottomY - 3;
        }
        for (int32_t y = top; y <= stringerUndersideY(x); ++y) {
            stringer.set(x - stairsX, y - stairsY, rgb(0));
        }
    }
    c.draw(shadePart(stringer, pine), 0, 0);
    // The treads, seen from above, lit on their front edge.
    for (int32_t k = 0; k < treadCount; ++k) {
        int32_t x = treadFirstX + treadRun * k;
        int32_t y = treadFirstTopY - treadRise * k;
        Canvas tread(treadRun + 2, 6, rgb(0));
        c.draw(shadePart(tread, pine), x - 1 - stairsX, y - 5 - stairsY);
        c.fillRect(x - stairsX, y - 3 - stairsY, treadRun, 2, pine.light);
        c.fillRect(x - stairsX, y - stairsY, treadRun, 1, pine.dark);
    }
    return c;
}

Canvas drawGuitarProp() {
    Canvas c(guitarPropWidth, guitarPropHeight);
    drawGuitar(c, guitarPropCentre, guitarPropLean);
    return c;
}
