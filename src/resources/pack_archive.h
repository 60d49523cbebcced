// The packed archive reader: "interface.qar" and "music.qar" hold every resource by name.
// Opening reads and parses the directory once; reading an entry inflates it once and caches
// it. Every offset and size from a file is checked before use. Main thread only; the packer
// (tools/qar) reads archives through it as well.
#pragma once

#include "core/grow_array.h"
#include "core/wstring.h"

#include <cstdint>
#include <memory>
#include <string>

// The file starts with a 32-byte header: bytes 0-19 are the packer's own (the reader ignores
// them), then three little-endian 32-bit fields, each XORed with its mask, describe the
// directory blob. Every stored blob is a zlib stream whose first two bytes, read as one
// little-endian word, are XORed with streamMask.
constexpr int32_t archiveHeaderBytes = 32;
constexpr int32_t directoryOffsetField = 20;
constexpr int32_t directoryCompressedSizeField = 24;
constexpr int32_t directoryUncompressedSizeField = 28;
constexpr uint32_t directoryOffsetMask = 0x2C6D5A93;
constexpr uint32_t directoryCompressedSizeMask = 0x53B7C6E9;
constexpr uint32_t directoryUncompressedSizeMask = 0x1F4E7D2A;
constexpr uint16_t streamMask = 0x6C2E;

// Limits on what a blob may declare. Deflate produces at most 1,032 bytes per stored byte, so
// a larger declared size is damage (or a trap), and no resource is anywhere near 256 MiB.
constexpr int64_t maxInflateRatio = 1032;
constexpr int32_t maxEntryBytes = 256 * 1024 * 1024;

// How the last inflate of a blob ended.
enum class StreamState : uint8_t {
    NotInflated, // not read yet, or refused before inflating
    Complete,    // the stream ended with a good checksum
    Overflowing, // the declared size was filled before the stream ended
    Damaged,     // not a valid zlib stream, cut short, or a bad checksum
};

struct PackEntry {
    WString name;                 // empty for an entry appended by `entry`
    int32_t compressedSize = 0;   // bytes of the stored blob
    int32_t uncompressedSize = 0; // declared; after inflating, the length really produced
    int32_t offset = 0;           // absolute position of the stored blob in the file
    std::unique_ptr<uint8_t[]> compressedData; // the stored blob, unmasked, once read
    std::unique_ptr<uint8_t[]> data; // uncompressedSize + 1 bytes, the last one 0, once inflated
    StreamState stream = StreamState::NotInflated;

    PackEntry() = default;
    PackEntry(const PackEntry& other);
    PackEntry& operator=(const PackEntry& other);
};

struct PackArchive {
    PackEntry directoryEntry;            // the directory blob itself; its name stays empty
    WString path;                        // the path given to open
    std::string filePath;                // the same path byte for byte, reopened for every read
    KeyedTable<PackEntry> directory{10}; // every entry by name, in file order

    // Reads the header and the directory. False only when the file cannot be opened or read;
    // the directory then keeps what it had. A damaged header or directory gives no entries.
    bool open(const char* utf8Path);
    // True when an entry has exactly this name.
    bool contains(const char* name) const;
    // The entry stored under the name; an absent name is first appended as an empty entry.
    // The reference stays valid until the next insertion.
    PackEntry& entry(const char* name);
    // Copies the entry's bytes, its uncompressedSize after inflating, into `buffer`. '/' in the
    // name is looked up as '\'. False, writing nothing, when the entry is absent, its blob lies
    // outside the file or declares an impossible size, the file cannot be reopened, or the
    // bytes do not fit in capacityBytes. A blob that does not inflate completely still yields
    // the zero-filled bytes or the part that was produced (see `stream`).
    bool read(const char* name, uint8_t* buffer, int32_t capacityBytes);
    // Releases every entry and its cached bytes.
    void clear();
};

// A loader's copy of one entry; the loader owns it.
struct ByteBuffer {
    std::unique_ptr<uint8_t[]> data;
    int32_t lengthBytes = 0; // the entry's bytes, not counting a text's terminating zero
};

enum class LoadAs {
    Binary,
    Text, // one more byte, zero, after the entry's bytes
};

// The sequence every loader uses: the name must be present with a size other than -1 and 0,
// then the entry is read into a new buffer of that size. False leaves `buffer` empty.
bool loadByName(PackArchive& archive, const char* name, ByteBuffer& buffer,
                LoadAs as = LoadAs::Binary);
