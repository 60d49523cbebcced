// The room's pictures as the main screen will use them: names, sizes, walk masks, frames
// that line up, lamps the program can tint and cones that follow the swing.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb_image.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels; // 0xAARRGGBB, as the program holds them

    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    bool opaque(int x, int y) const {
        return x >= 0 && y >= 0 && x < width && y < height && (at(x, y) >> 24) != 0;
    }
    bool walkable(int x, int y) const {
        return x >= 0 && y >= 0 && x < width && y < height && (at(x, y) >> 24) > 127;
    }
    bool hasInk() const {
        for (uint32_t p : pixels) {
            if ((p >> 24) != 0) {
                return true;
            }
        }
        return false;
    }
};

Picture load(const std::string& name) {
    Picture picture;
    int channels = 0;
    std::string path = std::string(ROOM_ASSET_DIR) + "/" + name;
    unsigned char* data = stbi_load(path.c_str(), &picture.width, &picture.height, &channels, 4);
    if (data == nullptr) {
        ADD_FAILURE() << name << ": missing or not a PNG";
        return Picture{};
    }
    picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
    for (size_t i = 0; i < picture.pixels.size(); ++i) {
        const unsigned char* p = data + 4 * i;
        picture.pixels[i] = static_cast<uint32_t>(p[3]) << 24 | static_cast<uint32_t>(p[0]) << 16 |
                            static_cast<uint32_t>(p[1]) << 8 | p[2];
    }
    stbi_image_free(data);
    return picture;
}

std::string numbered(const std::string& stem, int number) {
    char name[64];
    std::snprintf(name, sizeof name, "%s_%02d.png", stem.c_str(), number);
    return name;
}

struct Series {
    const char* stem;
    int count;
};
const Series animations[] = {{"actor_walk", 10},
                             {"anim_stairs", 10},
                             {"anim_pickup", 13},
                             {"anim_rockout", 16},
                             {"anim_pantsoff", 5}};

std::vector<Picture> loadSeries(const Series& series) {
    std::vector<Picture> frames;
    for (int i = 1; i <= series.count; ++i) {
        frames.push_back(load(numbered(series.stem, i)));
    }
    return frames;
}

// Every pixel the `under` picture draws at room point (ux, uy) is drawn the same by `over` at
// (ox, oy): the two pictures show the same thing there. Returns the pixels compared.
int expectSameWhereDrawn(const Picture& under, int ux, int uy, const Picture& over, int ox, int oy,
                         const std::string& what) {
    int compared = 0;
    for (int y = 0; y < under.height; ++y) {
        for (int x = 0; x < under.width; ++x) {
            if (!under.opaque(x, y)) {
                continue;
            }
            int rx = ux + x - ox;
            int ry = uy + y - oy;
            if (!over.opaque(rx, ry)) {
                ADD_FAILURE() << what << ": nothing at room point (" << ux + x << ", " << uy + y
                              << ")";
                continue;
            }
            EXPECT_EQ(over.at(rx, ry), under.at(x, y))
                << what << " at (" << ux + x << ", " << uy + y << ")";
            ++compared;
        }
    }
    return compared;
}

// The x of the middle of the opaque pixels whose colour passes `pick`.
template <typename Pick> double centreX(const Picture& picture, Pick pick) {
    double sum = 0;
    int count = 0;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            if (picture.opaque(x, y) && pick(picture.at(x, y))) {
                sum += x;
                ++count;
            }
        }
    }
    return count == 0 ? -1.0 : sum / count;
}

TEST(RoomPictures, EveryNameTheRoomLoadsIsThere) {
    std::vector<std::string> names = {"background.png",          "foreground.png",
                                      "walkable_surface_01.png", "walkable_surface_02.png",
                                      "prop_stairs.png",         "prop_guitar.png"};
    for (char letter = 'a'; letter <= 'e'; ++letter) {
        names.push_back(std::string("lightfixture_off_") + letter + ".png");
        names.push_back(std::string("lightfixture_on_") + letter + ".png");
        names.push_back(std::string("lightcone_") + letter + ".png");
    }
    for (const Series& series : animations) {
        for (int i = 1; i <= series.count; ++i) {
            names.push_back(numbered(series.stem, i));
        }
    }
    for (const std::string& name : names) {
        Picture picture = load(name);
        EXPECT_GT(picture.width, 0) << name;
        EXPECT_GT(picture.height, 0) << name;
    }
}

TEST(RoomPictures, BackFrontAndMasksCoverTheWholeRoom) {
    Picture background = load("background.png");
    EXPECT_GE(background.width, 620) << "the view cannot reach the guitar";
    EXPECT_EQ(background.height, 200);
    for (const char* name :
         {"foreground.png", "walkable_surface_01.png", "walkable_surface_02.png"}) {
        Picture picture = load(name);
        EXPECT_EQ(picture.width, background.width) << name;
        EXPECT_GE(picture.height, 200) << name;
    }
    for (uint32_t p : background.pixels) {
        ASSERT_EQ(p >> 24, 0xFFu) << "the background has a hole";
    }
}

TEST(RoomPictures, TheWalkPointsLieOnTheirFloors) {
    struct Case {
        const char* what;
        int floor;
        int x;
        int y;
    };
    const Case cases[] = {
        {"start", 0, 50, 150},
        {"foot of the stairs", 0, 214, 160},
        {"top of the stairs", 1, 280, 120},
        {"guitar spot", 1, 500, 114},
    };
    Picture masks[2] = {load("walkable_surface_01.png"), load("walkable_surface_02.png")};
    for (const Case& c : cases) {
        EXPECT_TRUE(masks[c.floor].walkable(c.x, c.y)) << c.what;
    }
}

TEST(RoomPictures, TheGroundFloorStaysAboveTheVerbBar) {
    Picture ground = load("walkable_surface_01.png");
    for (int y = 168; y < ground.height; ++y) {
        for (int x = 0; x < ground.width; ++x) {
            ASSERT_FALSE(ground.walkable(x, y))
                << "walkable under the verb bar at " << x << ", " << y;
        }
    }
}

// A click above a floor walks down to its top edge and a click below walks up to its bottom
// edge: that lands on the floor only if each column's walkable pixels are one unbroken run.
TEST(RoomPictures, EachColumnOfAFloorIsOneUnbrokenBand) {
    for (const char* name : {"walkable_surface_01.png", "walkable_surface_02.png"}) {
        Picture mask = load(name);
        for (int x = 0; x < mask.width; ++x) {
            int runs = 0;
            for (int y = 0; y < mask.height; ++y) {
                if (mask.walkable(x, y) && !mask.walkable(x, y - 1)) {
                    ++runs;
                }
            }
            ASSERT_LE(runs, 1) << name << ", column " << x;
        }
    }
}

TEST(RoomPictures, EveryFrameHasInkAndTheSameSizeAsItsSeries) {
    for (const Series& series : animations) {
        std::vector<Picture> frames = loadSeries(series);
        for (size_t i = 0; i < frames.size(); ++i) {
            EXPECT_TRUE(frames[i].hasInk()) << numbered(series.stem, static_cast<int>(i) + 1);
            EXPECT_EQ(frames[i].width, frames[0].width)
                << numbered(series.stem, static_cast<int>(i) + 1);
            EXPECT_EQ(frames[i].height, frames[0].height)
                << numbered(series.stem, static_cast<int>(i) + 1);
        }
    }
}

// In the order the program shows them, no picture follows an identical one (the animation
// would seem to stop). Numbers are 1-based picture numbers.
TEST(RoomPictures, NoPictureFollowsAnIdenticalOne) {
    struct Case {
        const char* stem;
        int count;
        std::vector<int> order;
    };
    const Case cases[] = {
        {"actor_walk", 10, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 1}},
        {"anim_stairs", 10, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
        {"anim_pickup", 13, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}},
        {"anim_rockout", 16, {1, 2,  1, 3,  4,  3,  5,  6,  5,  7,  8,  7,
                              9, 10, 9, 11, 12, 11, 13, 14, 13, 15, 16, 15}},
        {"anim_pantsoff", 5, {1, 2, 3, 4, 5, 4}},
    };
    for (const Case& c : cases) {
        std::vector<Picture> frames = loadSeries({c.stem, c.count});
        for (size_t i = 1; i < c.order.size(); ++i) {
            const Picture& a = frames[static_cast<size_t>(c.order[i - 1] - 1)];
            const Picture& b = frames[static_cast<size_t>(c.order[i] - 1)];
            EXPECT_NE(a.pixels, b.pixels)
                << c.stem << " " << c.order[i - 1] << " then " << c.order[i];
        }
    }
}

// The walk pictures are drawn with pixel (10, 55) on the foot point: a foot is on row 55 in
// every frame (nothing floats), nothing reaches below it, and the standing pose's feet are
// under the foot point.
TEST(RoomPictures, TheWalkingActorStandsOnItsFootPoint) {
    std::vector<Picture> frames = loadSeries({"actor_walk", 10});
    for (size_t i = 0; i < frames.size(); ++i) {
        const Picture& frame = frames[i];
        ASSERT_GE(frame.height, 56);
        bool onFloor = false;
        for (int x = 0; x < frame.width; ++x) {
            onFloor = onFloor || frame.opaque(x, 55);
            for (int y = 56; y < frame.height; ++y) {
                EXPECT_FALSE(frame.opaque(x, y))
                    << "frame " << i + 1 << " below the floor at " << x;
            }
        }
        EXPECT_TRUE(onFloor) << "frame " << i + 1 << " floats";
    }
    EXPECT_TRUE(frames[0].opaque(10, 55));
}

// The scripted animations take over from the walking actor and hand back to it without a
// jump: the first pick-up picture shows the actor standing on the guitar spot and the guitar
// on its stand, the last climb picture the actor standing at the top of the stairs.
TEST(RoomPictures, ScriptedAnimationsMeetTheStandingActor) {
    Picture standing = load("actor_walk_01.png");
    Picture pickup = load("anim_pickup_01.png");
    Picture guitar = load("prop_guitar.png");
    EXPECT_GT(expectSameWhereDrawn(standing, 500 - 10, 114 - 55, pickup, 496, 60, "pick-up start"),
              0);
    EXPECT_GT(expectSameWhereDrawn(guitar, 514, 79, pickup, 496, 60, "guitar at the pick-up"), 0);
    Picture climbEnd = load("anim_stairs_10.png");
    EXPECT_GT(
        expectSameWhereDrawn(standing, 280 - 10, 120 - 55, climbEnd, 214, 66, "top of the stairs"),
        0);
}

// The guitar stands on the gallery's floor, not above or in it.
TEST(RoomPictures, TheGuitarStandsOnTheGallery) {
    Picture guitar = load("prop_guitar.png");
    int lowest = -1;
    for (int y = 0; y < guitar.height; ++y) {
        for (int x = 0; x < guitar.width; ++x) {
            if (guitar.opaque(x, y)) {
                lowest = y;
            }
        }
    }
    EXPECT_NEAR(79 + lowest, 115, 2);
}

TEST(RoomPictures, LampShadesAreExactlyTheColourTheProgramReplaces) {
    for (const char* state : {"off", "on"}) {
        for (char letter = 'a'; letter <= 'e'; ++letter) {
            std::string name = std::string("lightfixture_") + state + "_" + letter + ".png";
            Picture lamp = load(name);
            int tintable = 0;
            for (uint32_t p : lamp.pixels) {
                uint32_t r = (p >> 16) & 0xFF;
                uint32_t g = (p >> 8) & 0xFF;
                uint32_t b = p & 0xFF;
                if (p == 0xFFFFFFFFu) {
                    ++tintable;
                } else if ((p >> 24) != 0) {
                    // A near-white pixel would stay white beside the tinted shade.
                    EXPECT_FALSE(r > 0xF0 && g > 0xF0 && b > 0xF0)
                        << name << std::hex << " has 0x" << p;
                }
            }
            EXPECT_GE(tintable, 20) << name;
        }
    }
}

// a and e are the extremes, c hangs straight down under its socket; the shade and its cone
// move the same way from a to e, and no cone is cut off at the side of its picture.
TEST(RoomPictures, LampsAndConesSwingTogether) {
    auto white = [](uint32_t p) { return p == 0xFFFFFFFFu; };
    auto lit = [](uint32_t p) { return ((p >> 16) & 0xFF) > 0; };
    double shade[5];
    double cone[5];
    for (int k = 0; k < 5; ++k) {
        char letter = static_cast<char>('a' + k);
        Picture off = load(std::string("lightfixture_off_") + letter + ".png");
        Picture on = load(std::string("lightfixture_on_") + letter + ".png");
        Picture mask = load(std::string("lightcone_") + letter + ".png");
        EXPECT_LE(mask.height, 200) << letter;
        for (int y = 0; y < mask.height; ++y) {
            EXPECT_FALSE(lit(mask.at(0, y)) || lit(mask.at(mask.width - 1, y)))
                << "cone " << letter << " is cut off by its picture's edge on row " << y;
        }
        EXPECT_EQ(centreX(on, white), centreX(off, white)) << letter;
        shade[k] = centreX(off, white);
        cone[k] = centreX(mask, lit);
        ASSERT_GE(cone[k], 0) << "cone " << letter << " lights nothing";
    }
    for (int k = 1; k < 5; ++k) {
        EXPECT_GT(shade[k], shade[k - 1]) << "shade " << k;
        EXPECT_GT(cone[k], cone[k - 1]) << "cone " << k;
    }
    EXPECT_NEAR(cone[2], shade[2], 1.0);
    EXPECT_NEAR(shade[0] - shade[2], shade[2] - shade[4], 1.0);
}

} // namespace
