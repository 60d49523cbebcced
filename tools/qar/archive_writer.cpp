#include "archive_writer.h"

#include "core/grow_array.h"

#include <zlib.h>

#include <cstring>

namespace {

void putLe32(uint8_t* at, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        at[i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

void appendUtf8(std::string& out, char32_t codePoint) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | codePoint >> 6);
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | codePoint >> 12);
        out += static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | codePoint >> 18);
        out += static_cast<char>(0x80 | (codePoint >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

} // namespace

static_assert(sizeof(qarMagic) - 1 == 16, "the magic fills bytes 0-15 of the header");

std::vector<uint8_t> maskedStream(const uint8_t* data, size_t lengthBytes) {
    uLongf streamBytes = compressBound(static_cast<uLong>(lengthBytes));
    std::vector<uint8_t> stream(streamBytes);
    // With room for the bound, only an exhausted allocation inside zlib can fail.
    if (compress2(stream.data(), &streamBytes, data, static_cast<uLong>(lengthBytes),
                  Z_BEST_COMPRESSION) != Z_OK) {
        outOfMemory();
    }
    stream.resize(streamBytes);
    stream[0] ^= static_cast<uint8_t>(streamMask & 0xFF);
    stream[1] ^= static_cast<uint8_t>(streamMask >> 8);
    return stream;
}

bool ArchiveWriter::addBlob(const uint8_t* data, size_t lengthBytes, StoredBlob& blob) {
    if (lengthBytes > static_cast<size_t>(INT32_MAX)) {
        return false;
    }
    std::vector<uint8_t> stream = maskedStream(data, lengthBytes);
    if (bytes.size() + stream.size() > static_cast<size_t>(INT32_MAX)) {
        return false;
    }
    blob.offset = static_cast<int32_t>(bytes.size());
    blob.compressedSize = static_cast<int32_t>(stream.size());
    blob.uncompressedSize = static_cast<int32_t>(lengthBytes);
    bytes.insert(bytes.end(), stream.begin(), stream.end());
    return true;
}

bool ArchiveWriter::finish(const std::string& directoryText) {
    StoredBlob directory;
    if (!addBlob(reinterpret_cast<const uint8_t*>(directoryText.data()), directoryText.size(),
                 directory)) {
        return false;
    }
    std::memcpy(bytes.data(), qarMagic, 16);
    putLe32(bytes.data() + 16, qarFormatVersion);
    putLe32(bytes.data() + directoryOffsetField,
            static_cast<uint32_t>(directory.offset) ^ directoryOffsetMask);
    putLe32(bytes.data() + directoryCompressedSizeField,
            static_cast<uint32_t>(directory.compressedSize) ^ directoryCompressedSizeMask);
    putLe32(bytes.data() + directoryUncompressedSizeField,
            static_cast<uint32_t>(directory.uncompressedSize) ^ directoryUncompressedSizeMask);
    return true;
}

std::string directoryLine(const std::string& name, const StoredBlob& blob) {
    return name + ' ' + std::to_string(blob.offset) + ' ' + std::to_string(blob.compressedSize) +
           ' ' + std::to_string(blob.uncompressedSize) + '\n';
}

std::string utf8Of(const WString& name) {
    std::string out;
    for (int32_t i = 0; i < name.length; ++i) {
        char32_t unit = name.characters[i];
        bool highSurrogate = unit >= 0xD800 && unit <= 0xDBFF;
        bool lowSurrogate = unit >= 0xDC00 && unit <= 0xDFFF;
        if (highSurrogate && i + 1 < name.length && name.characters[i + 1] >= 0xDC00 &&
            name.characters[i + 1] <= 0xDFFF) {
            char32_t low = name.characters[++i];
            appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        } else if (highSurrogate || lowSurrogate) {
            appendUtf8(out, 0xFFFD);
        } else {
            appendUtf8(out, unit);
        }
    }
    return out;
}
