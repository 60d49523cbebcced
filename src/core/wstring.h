// The program's wide string: UTF-16 units with a length, built from UTF-8 text. It is the key
// of every table looked up by name (archive directories, the room's props). Each WString owns
// its storage alone; copies are deep. Not thread-aware.
#pragma once

#include <cstdint>

struct WString {
    char16_t* characters; // length + 1 units, the last one 0; never null
    int32_t length;       // UTF-16 units before the terminator

    WString();
    explicit WString(const char* utf8Text);
    WString(const WString& other);
    WString& operator=(const WString& other);
    ~WString();

    // Ordinal comparison: equal lengths and equal units, no case folding.
    bool operator==(const WString& other) const;
};
