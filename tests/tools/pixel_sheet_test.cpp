#include "pixel_sheet.h"

#include <gtest/gtest.h>

namespace {

TEST(PixelSheet, LegendCharactersBecomeTheirColours) {
    const char* text = "# a lamp\n"
                       ". = transparent\n"
                       "K = #1a1c2c\n"
                       "W = #ffffff\n"
                       "h = #80ff0000\n"
                       "\n"
                       ".KK.\n"
                       "KWWh\n";
    Canvas sheet;
    std::string error;
    ASSERT_TRUE(parsePixelSheet(text, sheet, error)) << error;
    EXPECT_EQ(sheet.width, 4);
    EXPECT_EQ(sheet.height, 2);
    EXPECT_EQ(sheet.at(0, 0), 0u);
    EXPECT_EQ(sheet.at(1, 0), 0xFF1A1C2Cu);
    EXPECT_EQ(sheet.at(1, 1), 0xFFFFFFFFu);
    EXPECT_EQ(sheet.at(3, 1), 0x80FF0000u);
}

TEST(PixelSheet, BrokenSheetsAreRefusedWithTheLine) {
    struct Case {
        const char* text;
        const char* errorPart;
    };
    const Case cases[] = {
        {"K = #000000\nKK\nK\n", "line 3"},
        {"K = #000000\nKX\n", "'X' is not in the legend"},
        {"K = #00000\nK\n", "bad colour"},
        {"K = #000000\n", "no rows"},
    };
    for (const Case& c : cases) {
        Canvas sheet;
        std::string error;
        EXPECT_FALSE(parsePixelSheet(c.text, sheet, error)) << c.text;
        EXPECT_NE(error.find(c.errorPart), std::string::npos) << error;
    }
}

} // namespace
