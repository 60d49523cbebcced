// Block letters: big letters drawn on a coarse grid of cells, each cell inked, blank or cut
// along a diagonal, then enlarged to pixels. The logo and the closing picture set their words
// in them (sources in assets/ui/block_letters.txt).
#pragma once

#include "canvas.h"

#include <string>
#include <vector>

struct BlockLetter {
    char letter = 0;
    std::vector<std::string> rows; // one character per cell: # . 7 9 1 3
};

struct BlockAlphabet {
    int32_t rows = 0; // cells from the top of every letter to its bottom
    std::vector<BlockLetter> letters;

    const BlockLetter* find(char letter) const;
};

// False, with the reason and its line in `error`, when the text is not a valid alphabet.
bool parseBlockLetters(const std::string& text, BlockAlphabet& alphabet, std::string& error);
bool loadBlockLetters(const std::string& path, BlockAlphabet& alphabet, std::string& error);

// A word of block letters as a mask: opaque white where inked, each cell cellSize pixels
// square, letters gapPixels apart, a blank as wide as the gap plus spaceCells cells. The rows
// are sheared to the right by one pixel for every `slant` rows above the bottom (0: upright).
// False, naming the character, when the alphabet has no letter for one.
bool blockWord(const BlockAlphabet& alphabet, const std::string& word, int32_t cellSize,
               int32_t gapPixels, int32_t spaceCells, int32_t slant, Canvas& mask,
               std::string& error);
