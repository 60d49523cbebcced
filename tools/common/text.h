// Small text helpers for the asset tools' readable source formats: reading a source file whole
// and trimming its lines. Build-time tools only.
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

// The whole file as it is on disk. False, with "PATH: cannot open" in `error`, when it cannot
// be read.
bool readTextFile(const std::string& path, std::string& text, std::string& error);
