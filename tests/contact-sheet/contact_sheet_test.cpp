// The contact sheet's grouping of numbered series and its drawing of each picture.
#include "contact_sheet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

NamedPicture picture(const std::string& name, int32_t width = 1, int32_t height = 1) {
    return NamedPicture{name, Canvas(width, height, 0xFF000000)};
}

TEST(ContactSheet, NumberedSeriesGatherIntoOneStripEach) {
    std::vector<NamedPicture> pictures;
    for (const char* name :
         {"walk_02.png", "walk_10.png", "walk_01.png", "lamp_on_b.png", "lamp_on_a.png",
          "lamp_on_c.png", "logo_blue.png", "logo_red.png", "font_0.png", "font2_0.png",
          "lone_01.png", "cone_a.png", "cone_01.png", "mask_01.png", "mask_02.png", "black.png",
          "_01.png", "_02.png"}) {
        pictures.push_back(picture(name));
    }
    struct Expected {
        const char* label;
        size_t frames;
    };
    const Expected expected[] = {
        {"_01.png", 1},         {"_02.png", 1},      {"black.png", 1},   {"cone_01.png", 1},
        {"cone_a.png", 1},      {"font2_0.png", 1},  {"font_0.png", 1},  {"lamp_on_a..c.png", 3},
        {"logo_blue.png", 1},   {"logo_red.png", 1}, {"lone_01.png", 1}, {"mask_01..02.png", 2},
        {"walk_01..10.png", 3},
    };
    const std::vector<SheetItem> items = gatherSeries(std::move(pictures));
    ASSERT_EQ(items.size(), std::size(expected));
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].label, expected[i].label);
        EXPECT_EQ(items[i].frames.size(), expected[i].frames) << expected[i].label;
    }
}

TEST(ContactSheet, FramesOfASeriesKeepTheirOrder) {
    std::vector<NamedPicture> pictures;
    for (int32_t width : {3, 1, 2}) {
        pictures.push_back(picture("run_0" + std::to_string(width) + ".png", width));
    }
    const std::vector<SheetItem> items = gatherSeries(std::move(pictures));
    ASSERT_EQ(items.size(), 1u);
    ASSERT_EQ(items[0].frames.size(), 3u);
    for (int32_t i = 0; i < 3; ++i) {
        EXPECT_EQ(items[0].frames[static_cast<size_t>(i)].width, i + 1);
    }
}

// Every picture shows doubled, pixel for pixel, its transparent pixels on the sheet's checker
// rather than in any colour of the picture's own.
TEST(ContactSheet, EachPictureShowsAtTwiceItsSize) {
    AtlasFont font; // no glyphs: the labels take no room
    Canvas art(3, 2, 0);
    art.set(0, 0, 0xFFFF0000);
    art.set(2, 1, 0xFF00FF00);
    Canvas other(1, 1, 0xFF0000FF);
    std::vector<NamedPicture> pictures = {{"art.png", art}, {"other.png", other}};
    const Canvas sheet = drawContactSheet(gatherSeries(std::move(pictures)), font, 400);

    auto count = [&sheet](uint32_t colour, int32_t& left, int32_t& top) {
        int32_t n = 0;
        left = sheet.width;
        top = sheet.height;
        for (int32_t y = 0; y < sheet.height; ++y) {
            for (int32_t x = 0; x < sheet.width; ++x) {
                if (sheet.at(x, y) == colour) {
                    ++n;
                    left = std::min(left, x);
                    top = std::min(top, y);
                }
            }
        }
        return n;
    };
    int32_t redX = 0;
    int32_t redY = 0;
    int32_t greenX = 0;
    int32_t greenY = 0;
    int32_t blueX = 0;
    int32_t blueY = 0;
    EXPECT_EQ(count(0xFFFF0000, redX, redY), 4);
    EXPECT_EQ(count(0xFF00FF00, greenX, greenY), 4);
    EXPECT_EQ(count(0xFF0000FF, blueX, blueY), 4);
    EXPECT_EQ(greenX - redX, 4);
    EXPECT_EQ(greenY - redY, 2);
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 6; ++x) {
            EXPECT_EQ(sheet.at(redX + x, redY + y) >> 24, 0xFFu) << "a hole in the sheet";
        }
    }
    EXPECT_NE(sheet.at(redX + 2, redY), sheet.at(0, 0)) << "transparency looks like the sheet";
}

} // namespace
