#include "block_letters.h"

#include "text.h"

#include <sstream>

namespace {

constexpr uint32_t ink = 0xFFFFFFFF;

// Whether the pixel at (px, py) of a cellSize square is inked by the cell's character. The
// diagonal itself belongs to the ink, so that edges of 45 degrees run in clean one-pixel steps.
bool cellInk(char cell, int32_t px, int32_t py, int32_t cellSize) {
    const int32_t last = cellSize - 1;
    switch (cell) {
    case '#':
        return true;
    case '7':
        return px + py <= last;
    case '9':
        return px >= py;
    case '1':
        return px <= py;
    case '3':
        return px + py >= last;
    default:
        return false;
    }
}

} // namespace

const BlockLetter* BlockAlphabet::find(char letter) const {
    for (const BlockLetter& l : letters) {
        if (l.letter == letter) {
            return &l;
        }
    }
    return nullptr;
}

bool parseBlockLetters(const std::string& text, BlockAlphabet& alphabet, std::string& error) {
    alphabet = BlockAlphabet{};
    std::istringstream lines(text);
    std::string raw;
    int32_t lineNumber = 0;
    auto fail = [&](const std::string& message) {
        error = "line " + std::to_string(lineNumber) + ": " + message;
        return false;
    };
    // Checks the letter just finished against the others.
    auto letterComplete = [&]() {
        if (alphabet.letters.empty()) {
            return true;
        }
        const auto rows = static_cast<int32_t>(alphabet.letters.back().rows.size());
        if (rows == 0) {
            return fail("letter " + std::string(1, alphabet.letters.back().letter) +
                        " has no rows");
        }
        if (alphabet.rows != 0 && rows != alphabet.rows) {
            return fail("letter " + std::string(1, alphabet.letters.back().letter) + " has " +
                        std::to_string(rows) + " rows, the others " +
                        std::to_string(alphabet.rows));
        }
        alphabet.rows = rows;
        return true;
    };
    while (std::getline(lines, raw)) {
        ++lineNumber;
        const std::string line = trimmed(raw);
        if (line.empty() || line[0] == ';') {
            continue;
        }
        if (line.rfind("letter ", 0) == 0) {
            if (!letterComplete()) {
                return false;
            }
            const std::string name = trimmed(line.substr(7));
            if (name.size() != 1) {
                return fail("a letter is one character");
            }
            if (alphabet.find(name[0]) != nullptr) {
                return fail("letter " + name + " is drawn twice");
            }
            alphabet.letters.push_back(BlockLetter{name[0], {}});
            continue;
        }
        if (alphabet.letters.empty()) {
            return fail("a row before the first letter");
        }
        if (line.find_first_not_of("#.7913") != std::string::npos) {
            return fail("cells are # . 7 9 1 3");
        }
        std::vector<std::string>& rows = alphabet.letters.back().rows;
        if (!rows.empty() && line.size() != rows[0].size()) {
            return fail("row of " + std::to_string(line.size()) + " cells, expected " +
                        std::to_string(rows[0].size()));
        }
        rows.push_back(line);
    }
    if (alphabet.letters.empty()) {
        return fail("no letters");
    }
    return letterComplete();
}

bool loadBlockLetters(const std::string& path, BlockAlphabet& alphabet, std::string& error) {
    std::string text;
    if (!readTextFile(path, text, error)) {
        return false;
    }
    if (!parseBlockLetters(text, alphabet, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

bool blockWord(const BlockAlphabet& alphabet, const std::string& word, int32_t cellSize,
               int32_t gapPixels, int32_t spaceCells, int32_t slant, Canvas& mask,
               std::string& error) {
    // Lay the letters out upright first.
    const int32_t height = alphabet.rows * cellSize;
    std::vector<std::pair<const BlockLetter*, int32_t>> placed; // letter and its left column
    int32_t width = 0;
    for (char c : word) {
        if (c == ' ') {
            width += spaceCells * cellSize + gapPixels;
            continue;
        }
        const BlockLetter* letter = alphabet.find(c);
        if (letter == nullptr) {
            error = "no block letter " + std::string(1, c);
            return false;
        }
        if (!placed.empty() || width > 0) {
            width += gapPixels;
        }
        placed.emplace_back(letter, width);
        width += static_cast<int32_t>(letter->rows[0].size()) * cellSize;
    }
    const int32_t lean = slant > 0 ? (height - 1) / slant : 0;
    mask = Canvas(width + lean, height);
    for (const auto& [letter, left] : placed) {
        for (int32_t y = 0; y < height; ++y) {
            const std::string& cells = letter->rows[static_cast<size_t>(y / cellSize)];
            const int32_t shift = slant > 0 ? (height - 1 - y) / slant : 0;
            for (int32_t x = 0; x < static_cast<int32_t>(cells.size()) * cellSize; ++x) {
                if (cellInk(cells[static_cast<size_t>(x / cellSize)], x % cellSize, y % cellSize,
                            cellSize)) {
                    mask.set(left + x + shift, y, ink);
                }
            }
        }
    }
    return true;
}
