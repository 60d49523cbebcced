// UTF-8 to UTF-16 conversion for resource names and other narrow text that becomes a WString.
// Well-formed input converts exactly; every ill-formed sequence becomes U+FFFD and the
// conversion goes on. Pure functions, safe on any thread.
#pragma once

#include <cstddef>
#include <cstdint>

// Number of UTF-16 units that `utf8ToUtf16` produces for these bytes.
int32_t utf16LengthOfUtf8(const char* text, size_t lengthBytes);

// Converts `lengthBytes` bytes of UTF-8 into `out`, which has room for `capacityUnits` units.
// Returns the number of units written; conversion stops early when `out` is full.
int32_t utf8ToUtf16(const char* text, size_t lengthBytes, char16_t* out, int32_t capacityUnits);
