#include "core/utf8.h"

namespace {

constexpr char32_t replacementCharacter = 0xFFFD;

// One decoded code point and how many input bytes it used.
struct Decoded {
    char32_t codePoint;
    size_t lengthBytes;
};

// Decodes the sequence at text[0]. An ill-formed sequence yields U+FFFD for its maximal
// subpart: the lead byte and as many continuation bytes as could still have been valid, so a
// truncated sequence costs one replacement and the byte that broke it is decoded afresh.
Decoded decodeOne(const unsigned char* text, size_t remaining) {
    unsigned char lead = text[0];
    if (lead < 0x80) {
        return {lead, 1};
    }

    size_t sequenceLength = 0;
    char32_t codePoint = 0;
    // Allowed range of the second byte; it excludes overlong forms, surrogates and
    // code points beyond U+10FFFF.
    unsigned char secondLow = 0x80, secondHigh = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        sequenceLength = 2;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        sequenceLength = 3;
        codePoint = lead & 0x0F;
        if (lead == 0xE0) {
            secondLow = 0xA0;
        } else if (lead == 0xED) {
            secondHigh = 0x9F;
        }
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        sequenceLength = 4;
        codePoint = lead & 0x07;
        if (lead == 0xF0) {
            secondLow = 0x90;
        } else if (lead == 0xF4) {
            secondHigh = 0x8F;
        }
    } else {
        return {replacementCharacter, 1};
    }

    for (size_t i = 1; i < sequenceLength; ++i) {
        unsigned char low = i == 1 ? secondLow : 0x80;
        unsigned char high = i == 1 ? secondHigh : 0xBF;
        if (i >= remaining || text[i] < low || text[i] > high) {
            return {replacementCharacter, i};
        }
        codePoint = (codePoint << 6) | (text[i] & 0x3F);
    }
    return {codePoint, sequenceLength};
}

int32_t unitsOf(char32_t codePoint) {
    return codePoint >= 0x10000 ? 2 : 1;
}

} // namespace

int32_t utf16LengthOfUtf8(const char* text, size_t lengthBytes) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    int32_t units = 0;
    for (size_t at = 0; at < lengthBytes;) {
        Decoded decoded = decodeOne(bytes + at, lengthBytes - at);
        units += unitsOf(decoded.codePoint);
        at += decoded.lengthBytes;
    }
    return units;
}

int32_t utf8ToUtf16(const char* text, size_t lengthBytes, char16_t* out, int32_t capacityUnits) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    int32_t written = 0;
    for (size_t at = 0; at < lengthBytes;) {
        Decoded decoded = decodeOne(bytes + at, lengthBytes - at);
        if (written + unitsOf(decoded.codePoint) > capacityUnits) {
            break;
        }
        if (decoded.codePoint >= 0x10000) {
            char32_t offset = decoded.codePoint - 0x10000;
            out[written++] = static_cast<char16_t>(0xD800 + (offset >> 10));
            out[written++] = static_cast<char16_t>(0xDC00 + (offset & 0x3FF));
        } else {
            out[written++] = static_cast<char16_t>(decoded.codePoint);
        }
        at += decoded.lengthBytes;
    }
    return written;
}
