// Small text helpers for the asset tools' readable source formats. Build-time tools only.
#pragma once

#include <string>

// The line without its leading and trailing blanks, tabs and carriage returns.
inline std::string trimmed(const std::string& line) {
    size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return "";
    }
    size_t last = line.find_last_not_of(" \t\r");
    return line.substr(first, last - first + 1);
}
