// The block letters' source format and how a word of them becomes pixels.
#include "block_letters.h"

#include <gtest/gtest.h>

namespace {

bool inked(const Canvas& mask, int32_t x, int32_t y) {
    return (mask.at(x, y) >> 24) != 0;
}

TEST(BlockLetters, BrokenSourcesAreRefusedWithTheLine) {
    struct Case {
        const char* text;
        const char* errorPart;
    };
    const Case cases[] = {
        {"letter A\n##\n#\n", "line 3"},
        {"letter A\n#x\n", "cells are"},
        {"letter A\n##\n##\nletter B\n##\n", "letter B has 1 rows"},
        {"letter A\n#\nletter A\n#\n", "drawn twice"},
        {"##\nletter A\n##\n", "before the first letter"},
        {"letter AB\n#\n", "one character"},
        {"; only a comment\n", "no letters"},
        {"letter A\nletter B\n#\n", "letter A has no rows"},
    };
    for (const Case& c : cases) {
        BlockAlphabet alphabet;
        std::string error;
        EXPECT_FALSE(parseBlockLetters(c.text, alphabet, error)) << c.text;
        EXPECT_NE(error.find(c.errorPart), std::string::npos) << c.text << ": " << error;
    }
}

// A diagonal cell keeps its ink in the corner its digit names on a numeric keypad, the
// diagonal itself included.
TEST(BlockLetters, DiagonalCellsKeepTheCornerTheirDigitNames) {
    struct Case {
        char cell;
        int32_t inkedX; // a corner pixel that must be inked
        int32_t inkedY;
        int32_t blankX; // the opposite corner, which must not be
        int32_t blankY;
    };
    const Case cases[] = {
        {'7', 0, 0, 3, 3},
        {'9', 3, 0, 0, 3},
        {'1', 0, 3, 3, 0},
        {'3', 3, 3, 0, 0},
    };
    for (const Case& c : cases) {
        BlockAlphabet alphabet;
        std::string error;
        ASSERT_TRUE(parseBlockLetters(std::string("letter A\n") + c.cell + "\n", alphabet, error))
            << error;
        Canvas mask;
        ASSERT_TRUE(blockWord(alphabet, "A", 4, 0, 0, 0, mask, error)) << error;
        ASSERT_EQ(mask.width, 4);
        EXPECT_TRUE(inked(mask, c.inkedX, c.inkedY)) << c.cell;
        EXPECT_FALSE(inked(mask, c.blankX, c.blankY)) << c.cell;
        int32_t ink = 0;
        for (uint32_t p : mask.pixels) {
            ink += (p >> 24) != 0 ? 1 : 0;
        }
        EXPECT_EQ(ink, 10) << c.cell << ": the half and the diagonal";
        for (int32_t d = 0; d < 4; ++d) {
            const bool rising = c.cell == '7' || c.cell == '3';
            EXPECT_TRUE(inked(mask, rising ? 3 - d : d, d)) << c.cell << ": the diagonal, " << d;
        }
    }
}

TEST(BlockLetters, AWordSetsItsLettersApartAndLeansThemOver) {
    BlockAlphabet alphabet;
    std::string error;
    ASSERT_TRUE(parseBlockLetters("letter I\n#\n#\n#\n", alphabet, error)) << error;
    Canvas mask;
    // Cells of 2 pixels, letters 3 pixels apart, a blank 1 cell plus the gap wide.
    ASSERT_TRUE(blockWord(alphabet, "I I", 2, 3, 1, 0, mask, error)) << error;
    EXPECT_EQ(mask.width, 2 + 3 + 2 + 3 + 2);
    EXPECT_EQ(mask.height, 6);
    EXPECT_TRUE(inked(mask, 1, 0));
    EXPECT_FALSE(inked(mask, 2, 0));
    EXPECT_TRUE(inked(mask, 10, 5));

    // One pixel to the right for every 2 rows above the bottom row.
    ASSERT_TRUE(blockWord(alphabet, "I", 2, 0, 0, 2, mask, error)) << error;
    EXPECT_EQ(mask.width, 2 + 2);
    EXPECT_TRUE(inked(mask, 0, 5));
    EXPECT_FALSE(inked(mask, 2, 5));
    EXPECT_FALSE(inked(mask, 1, 0));
    EXPECT_TRUE(inked(mask, 2, 0));
    EXPECT_TRUE(inked(mask, 3, 0));

    EXPECT_FALSE(blockWord(alphabet, "IX", 2, 0, 0, 0, mask, error));
    EXPECT_NE(error.find("X"), std::string::npos) << error;
}

} // namespace
