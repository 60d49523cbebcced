#include "core/wstring.h"

#include "core/utf8.h"

#include <cstring>

namespace {

char16_t* allocateUnits(int32_t length) {
    auto* units = new char16_t[static_cast<size_t>(length) + 1];
    units[length] = 0;
    return units;
}

} // namespace

WString::WString() : characters(allocateUnits(0)), length(0) {}

WString::WString(const char* utf8Text) {
    size_t lengthBytes = std::strlen(utf8Text);
    length = utf16LengthOfUtf8(utf8Text, lengthBytes);
    characters = allocateUnits(length);
    utf8ToUtf16(utf8Text, lengthBytes, characters, length + 1);
}

WString::WString(const WString& other)
    : characters(allocateUnits(other.length)), length(other.length) {
    std::memcpy(characters, other.characters, sizeof(char16_t) * static_cast<size_t>(length));
}

WString& WString::operator=(const WString& other) {
    if (this != &other) {
        char16_t* copy = allocateUnits(other.length);
        std::memcpy(copy, other.characters, sizeof(char16_t) * static_cast<size_t>(other.length));
        delete[] characters;
        characters = copy;
        length = other.length;
    }
    return *this;
}

WString::~WString() {
    delete[] characters;
    length = 0;
}

bool WString::operator==(const WString& other) const {
    return length == other.length &&
           std::memcmp(characters, other.characters,
                       sizeof(char16_t) * static_cast<size_t>(length)) == 0;
}
