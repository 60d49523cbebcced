#include "pixel_sheet.h"

#include "text.h"

#include <cstdlib>
#include <map>
#include <sstream>
#include <vector>

namespace {

bool parseColour(const std::string& text, uint32_t& colour) {
    if (text == "transparent") {
        colour = 0;
        return true;
    }
    if (text.size() != 7 && text.size() != 9) {
        return false;
    }
    if (text[0] != '#') {
        return false;
    }
    char* end = nullptr;
    unsigned long value = std::strtoul(text.c_str() + 1, &end, 16);
    if (*end != '\0') {
        return false;
    }
    colour = text.size() == 7 ? 0xFF000000u | static_cast<uint32_t>(value)
                              : static_cast<uint32_t>(value);
    return true;
}

} // namespace

bool parsePixelSheet(const std::string& text, Canvas& sheet, std::string& error) {
    std::map<char, uint32_t> legend;
    std::vector<std::string> rows;
    std::istringstream lines(text);
    std::string raw;
    int lineNumber = 0;
    while (std::getline(lines, raw)) {
        ++lineNumber;
        std::string line = trimmed(raw);
        if (line.empty() || line[0] == '#') {
            continue;
        }
        bool isLegend =
            rows.empty() && line.size() >= 3 && trimmed(line.substr(1)).rfind('=', 0) == 0;
        if (isLegend) {
            uint32_t colour = 0;
            if (!parseColour(trimmed(trimmed(line.substr(1)).substr(1)), colour)) {
                error = "line " + std::to_string(lineNumber) + ": bad colour";
                return false;
            }
            legend[line[0]] = colour;
            continue;
        }
        if (!rows.empty() && line.size() != rows[0].size()) {
            error = "line " + std::to_string(lineNumber) + ": row of " +
                    std::to_string(line.size()) + " pixels, expected " +
                    std::to_string(rows[0].size());
            return false;
        }
        for (char c : line) {
            if (legend.find(c) == legend.end()) {
                error = "line " + std::to_string(lineNumber) + ": '" + std::string(1, c) +
                        "' is not in the legend";
                return false;
            }
        }
        rows.push_back(line);
    }
    if (rows.empty()) {
        error = "no rows";
        return false;
    }
    sheet = Canvas(static_cast<int32_t>(rows[0].size()), static_cast<int32_t>(rows.size()));
    for (int32_t y = 0; y < sheet.height; ++y) {
        for (int32_t x = 0; x < sheet.width; ++x) {
            sheet.set(x, y, legend[rows[static_cast<size_t>(y)][static_cast<size_t>(x)]]);
        }
    }
    return true;
}

bool loadPixelSheet(const std::string& path, Canvas& sheet, std::string& error) {
    std::string text;
    if (!readTextFile(path, text, error)) {
        return false;
    }
    if (!parsePixelSheet(text, sheet, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}
