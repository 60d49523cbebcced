// Little-endian writing into a growing byte buffer, with patching at fixed offsets for fields
// whose value is known only later. Used by the IT module writer and the WAV writer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ByteWriter {
    std::vector<uint8_t> bytes;

    size_t size() const { return bytes.size(); }
    void u8(uint32_t value) { bytes.push_back(static_cast<uint8_t>(value)); }
    void u16(uint32_t value) {
        u8(value);
        u8(value >> 8);
    }
    void u32(uint32_t value) {
        u16(value);
        u16(value >> 16);
    }
    void zeros(size_t count) { bytes.insert(bytes.end(), count, 0); }
    // Exactly `width` bytes: the text, cut or padded with zeros.
    void text(const std::string& value, size_t width) {
        for (size_t i = 0; i < width; ++i) {
            u8(i < value.size() ? static_cast<uint8_t>(value[i]) : 0);
        }
    }
    void patchU16(size_t offset, uint32_t value) {
        bytes[offset] = static_cast<uint8_t>(value);
        bytes[offset + 1] = static_cast<uint8_t>(value >> 8);
    }
    void patchU32(size_t offset, uint32_t value) {
        patchU16(offset, value);
        patchU16(offset + 2, value >> 16);
    }
};
