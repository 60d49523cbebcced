// The interface's pictures apart from the room, read back from the generated files, checked
// against how the program draws them and tests its clicks: sizes, places, hit boxes, the
// cracktro's palette and legible text.
#include "atlas_font.h"
#include "canvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string assetDir = UI_ASSET_DIR;

Canvas load(const std::string& name) {
    Canvas picture;
    std::string error;
    if (!readPng(assetDir + "/" + name, picture, error)) {
        ADD_FAILURE() << error;
    }
    return picture;
}

bool opaque(const Canvas& c, int32_t x, int32_t y) {
    return c.contains(x, y) && (c.at(x, y) >> 24) != 0;
}

// Relative luminance and contrast ratio as the web's accessibility guidelines define them.
double luminance(uint32_t colour) {
    auto channel = [](uint32_t value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel((colour >> 16) & 0xFF) + 0.7152 * channel((colour >> 8) & 0xFF) +
           0.0722 * channel(colour & 0xFF);
}

double contrast(uint32_t a, uint32_t b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

const uint32_t homePalette[16] = {
    0xFF000000, 0xFFFFFFFF, 0xFF68372B, 0xFF70A4B2, 0xFF6F3D86, 0xFF588D43, 0xFF352879, 0xFFB8C76F,
    0xFF6F4F25, 0xFF433900, 0xFF9A6759, 0xFF444444, 0xFF6C6C6C, 0xFF9AD284, 0xFF6C5EB5, 0xFF959595};

// The cracktro scrolls the text as one line in its own font, drawing a line break as a blank.
TEST(InterfacePictures, TheScrollerIsOneLineTheCracktrosFontCanDraw) {
    std::ifstream file(assetDir + "/scroller.txt", std::ios::binary);
    ASSERT_TRUE(file);
    std::stringstream contents;
    contents << file.rdbuf();
    const std::string text = contents.str();
    EXPECT_GE(text.size(), 600u);
    EXPECT_LE(text.size(), 2500u);
    AtlasFont font;
    std::string error;
    ASSERT_TRUE(loadAtlasFont(assetDir, "sfintermosaic", font, error)) << error;
    for (unsigned char c : text) {
        ASSERT_TRUE(c >= 32 && c <= 126) << "not printable ASCII: " << static_cast<int>(c);
        ASSERT_TRUE(font.hasGlyph(c)) << "the font has no '" << c << "'";
    }
}

// The cracktro copies the logo's rows whole onto the screen's top rows, each picture of a band
// in turn, shifted up to 6 pixels sideways by the wobble.
TEST(InterfacePictures, TheLogoIsOneDesignInFourColouringsOfThePalette) {
    const Canvas logos[4] = {load("vorthanelogo_blue.png"), load("vorthanelogo_green.png"),
                             load("vorthanelogo_red.png"), load("vorthanelogo_grey.png")};
    for (const Canvas& logo : logos) {
        ASSERT_EQ(logo.width, 320);
        ASSERT_EQ(logo.height, logos[0].height);
    }
    ASSERT_LE(logos[0].height, 60) << "the cracktro's texts start on row 64";
    for (int k = 0; k < 4; ++k) {
        for (uint32_t p : logos[k].pixels) {
            ASSERT_NE(std::find(std::begin(homePalette), std::end(homePalette), p),
                      std::end(homePalette))
                << "logo " << k << " has a colour outside the palette: " << std::hex << p;
        }
    }
    // One design: a pixel is the black background in all four pictures or in none.
    for (size_t i = 0; i < logos[0].pixels.size(); ++i) {
        const bool background = logos[0].pixels[i] == homePalette[0];
        for (int k = 1; k < 4; ++k) {
            ASSERT_EQ(logos[k].pixels[i] == homePalette[0], background)
                << "logo " << k << " differs in shape at " << i % 320 << ", " << i / 320;
        }
    }
    for (int k = 1; k < 4; ++k) {
        EXPECT_NE(logos[k].pixels, logos[0].pixels) << "logo " << k << " is not a new colouring";
    }
    // The wobble shifts the outer 6 columns out of view: nothing of the logo may be there.
    for (int32_t y = 0; y < logos[0].height; ++y) {
        for (int32_t x : {0, 1, 2, 3, 4, 5, 314, 315, 316, 317, 318, 319}) {
            ASSERT_EQ(logos[0].at(x, y), homePalette[0])
                << "the wobble cuts off " << x << ", " << y;
        }
    }
}

TEST(InterfacePictures, ThePointerIsCentredOnItsHotSpot) {
    const Canvas cursor = load("cursor.png");
    ASSERT_EQ(cursor.width, 13);
    ASSERT_EQ(cursor.height, 13);
    EXPECT_TRUE(opaque(cursor, 6, 6)) << "the hot spot itself shows nothing";
    for (int32_t y = 0; y < 13; ++y) {
        for (int32_t x = 0; x < 13; ++x) {
            EXPECT_EQ(opaque(cursor, x, y), opaque(cursor, 12 - x, y)) << x << ", " << y;
            EXPECT_EQ(opaque(cursor, x, y), opaque(cursor, x, 12 - y)) << x << ", " << y;
        }
    }
}

TEST(InterfacePictures, TheFullScreenPicturesHaveNoHoles) {
    const Canvas black = load("black.png");
    ASSERT_EQ(black.width, 320);
    ASSERT_EQ(black.height, 200);
    for (uint32_t p : black.pixels) {
        ASSERT_EQ(p, 0xFF000000u) << "the closing fade is not to black";
    }
    const Canvas end = load("endscreen.png");
    ASSERT_EQ(end.width, 320);
    ASSERT_EQ(end.height, 200);
    for (uint32_t p : end.pixels) {
        ASSERT_EQ(p >> 24, 0xFFu) << "the closing picture has a hole, which the fade skips";
    }
}

// The player panel: drawn at (x, 50), hidden at x = -140.
struct PanelKey {
    const char* name;
    int32_t x; // where the program draws the key and tests it, in the panel
};
const PanelKey panelKeys[] = {
    {"play", 0}, {"previous", 14}, {"next", 30}, {"pause", 46}, {"eject", 60}};
constexpr int32_t panelKeyY = 102;

TEST(InterfacePictures, ThePanelHidesOutOfViewAndFitsTheScreen) {
    const Canvas panel = load("player_background.png");
    EXPECT_LE(panel.width, 140) << "it would show while it waits at x = -140";
    EXPECT_GE(panel.width, 130) << "the titles run to x 130";
    EXPECT_LE(50 + panel.height, 200);
    EXPECT_GT(panel.height, panelKeyY + 12);
}

// The program tests a click against the slider, then the keys from play to eject, each box
// its picture's rectangle moved one pixel right and down: boxes that overlapped would let an
// earlier test take another key's clicks.
TEST(InterfacePictures, ThePanelsHitBoxesDoNotOverlap) {
    const Canvas panel = load("player_background.png");
    const Canvas knob = load("player_sliderbutton.png");
    EXPECT_LE(93 + knob.height, panelKeyY + 1) << "the slider takes the keys' clicks";
    EXPECT_LE(knob.width, 16);
    for (size_t k = 0; k < std::size(panelKeys); ++k) {
        const Canvas key = load(std::string("player_button_") + panelKeys[k].name + ".png");
        EXPECT_GE(key.width, 12) << panelKeys[k].name;
        EXPECT_LE(key.height, 14) << panelKeys[k].name;
        EXPECT_GE(key.height, 12) << panelKeys[k].name;
        const int32_t right = panelKeys[k].x + key.width;
        if (k + 1 < std::size(panelKeys)) {
            EXPECT_LE(right, panelKeys[k + 1].x)
                << panelKeys[k].name << " reaches into " << panelKeys[k + 1].name;
        }
        EXPECT_LE(right, panel.width);
        EXPECT_LE(panelKeyY + key.height, panel.height);
    }
}

// The normal look of each key is painted into the background; the highlighted picture is drawn
// over it. Its rim must land on the painted key's rim, and the painted key must not stick out
// around it.
TEST(InterfacePictures, TheHighlightedKeysCoverTheirPaintedKeys) {
    const Canvas panel = load("player_background.png");
    for (const PanelKey& k : panelKeys) {
        const Canvas key = load(std::string("player_button_") + k.name + ".png");
        const uint32_t rim = key.at(key.width / 2, 0);
        for (int32_t x = 0; x < key.width; ++x) {
            for (int32_t y : {0, key.height - 1}) {
                if (opaque(key, x, y)) {
                    EXPECT_EQ(panel.at(k.x + x, panelKeyY + y), key.at(x, y))
                        << k.name << " at " << x << ", " << y;
                }
            }
        }
        for (int32_t y = 0; y < key.height; ++y) {
            for (int32_t x : {0, key.width - 1}) {
                if (opaque(key, x, y)) {
                    EXPECT_EQ(panel.at(k.x + x, panelKeyY + y), key.at(x, y))
                        << k.name << " at " << x << ", " << y;
                }
            }
        }
        // Just outside the picture's rectangle the painted key has ended.
        EXPECT_NE(panel.at(k.x + key.width / 2, panelKeyY - 1), rim) << k.name;
        EXPECT_NE(panel.at(k.x + key.width / 2, panelKeyY + key.height), rim) << k.name;
        EXPECT_NE(panel.at(k.x + key.width, panelKeyY + key.height / 2), rim) << k.name;
    }
}

// The program writes the titles at (10, 20 + 11 i), the current one light green and the
// others brown; the panel under them must let both colours read.
TEST(InterfacePictures, BothTitleColoursReadOnThePanel) {
    const Canvas panel = load("player_background.png");
    const uint32_t current = 0xFF9AD284;
    const uint32_t other = 0xFF433900;
    for (int32_t i = 0; i < 6; ++i) {
        for (int32_t y = 20 + 11 * i; y < 29 + 11 * i; ++y) {
            for (int32_t x = 10; x < 130; ++x) {
                const uint32_t p = panel.at(x, y);
                ASSERT_GE(contrast(p, current), 2.0) << "light green on " << x << ", " << y;
                ASSERT_GE(contrast(p, other), 2.0) << "brown on " << x << ", " << y;
            }
        }
    }
}

struct VerbKey {
    const char* name;
    const char* label;
    int32_t x;
    int32_t y;
    int32_t columnRight; // the next column's x, or where the sentence's plain part starts
};
const VerbKey verbKeys[] = {
    {"walk", "Walk to", 0, 170, 48},      {"open", "Open", 0, 185, 48},
    {"lookat", "Look at", 48, 170, 112},  {"talkto", "Talk to", 48, 185, 112},
    {"pickup", "Pick up", 112, 170, 182}, {"giveit", "Give", 112, 185, 182},
    {"close", "Close", 182, 170, 232},    {"use", "Use", 182, 185, 232},
};

TEST(InterfacePictures, TheVerbBarLeavesItsRightPartPlainForTheSentence) {
    const Canvas bar = load("hud_background.png");
    ASSERT_EQ(bar.width, 320);
    ASSERT_EQ(bar.height, 32);
    // The sentence line is drawn from y 170, the bar's third row, in green.
    const uint32_t plain = bar.at(232, 2);
    for (int32_t y = 2; y < 32; ++y) {
        for (int32_t x = 232; x < 320; ++x) {
            ASSERT_EQ(bar.at(x, y), plain) << x << ", " << y;
        }
    }
    EXPECT_GE(contrast(plain, 0xFF588D43), 4.5);
}

// Each key's hit box, its normal picture's rectangle moved one pixel right and down, stays in
// its column and on the screen (at most 14 rows keeps the two rows' boxes apart); the
// highlighted picture covers the normal one exactly.
TEST(InterfacePictures, TheVerbKeysStayInTheirColumns) {
    for (const VerbKey& v : verbKeys) {
        const Canvas off = load(std::string("commands_off_") + v.name + ".png");
        const Canvas on = load(std::string("commands_on_") + v.name + ".png");
        EXPECT_LE(off.height, 14) << v.name;
        EXPECT_LT(v.x + off.width, v.columnRight) << v.name << " is not narrower than its column";
        EXPECT_EQ(on.width, off.width) << v.name;
        EXPECT_EQ(on.height, off.height) << v.name;
        EXPECT_LE(v.y + off.height, 199) << v.name << " reaches past the screen";
    }
}

// Where `text`, set in `font`, shows in `picture`: an offset at which every ink pixel of the
// text has one colour and no other pixel of the text's box has it. False when there is none.
bool findText(const Canvas& picture, const AtlasFont& font, const std::string& text,
              uint32_t& inkColour, uint32_t& groundColour) {
    Canvas mask(textWidth(font, text), textDepth(font, text));
    drawText(mask, font, text, 0, 0, 0xFFFFFFFF);
    for (int32_t oy = 0; oy + mask.height <= picture.height; ++oy) {
        for (int32_t ox = 0; ox + mask.width <= picture.width; ++ox) {
            bool found = true;
            uint32_t ink = 0;
            std::map<uint32_t, int> ground;
            for (int32_t y = 0; y < mask.height && found; ++y) {
                for (int32_t x = 0; x < mask.width && found; ++x) {
                    const uint32_t p = picture.at(ox + x, oy + y);
                    if (mask.at(x, y) != 0) {
                        found = ink == 0 || p == ink;
                        ink = p;
                    } else {
                        ++ground[p];
                    }
                }
            }
            if (found && ground.find(ink) == ground.end()) {
                inkColour = ink;
                groundColour = std::max_element(
                                   ground.begin(), ground.end(),
                                   [](const auto& a, const auto& b) { return a.second < b.second; })
                                   ->first;
                return true;
            }
        }
    }
    return false;
}

TEST(InterfacePictures, EveryVerbKeySaysItsVerbLegibly) {
    AtlasFont font;
    std::string error;
    ASSERT_TRUE(loadAtlasFont(assetDir, "silkywonderland", font, error)) << error;
    for (const VerbKey& v : verbKeys) {
        for (const char* state : {"off", "on"}) {
            const std::string name = std::string("commands_") + state + "_" + v.name + ".png";
            const Canvas key = load(name);
            uint32_t ink = 0;
            uint32_t ground = 0;
            ASSERT_TRUE(findText(key, font, v.label, ink, ground)) << name << " lacks its label";
            EXPECT_GE(contrast(ink, ground), 4.5) << name;
        }
    }
}

} // namespace
