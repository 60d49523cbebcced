// The packed archive reader: "interface.qar" and "music.qar" hold every resource by name.
// Opening reads and parses the directory once; reading an entry inflates it once and caches
// it. Every offset and size from a file is checked before use. Main thread only.
#pragma once

#include "core/grow_array.h"
#include "core/wstring.h"

#include <cstdint>
#include <memory>

// Masks of the header fields and of the first two bytes of every stored stream.
constexpr uint32_t directoryOffsetMask = 0x2C6D5A93;
constexpr uint32_t directoryCompressedSizeMask = 0x53B7C6E9;
constexpr uint32_t directoryUncompressedSizeMask = 0x1F4E7D2A;
constexpr uint16_t streamMask = 0x6C2E;

struct PackEntry {
    WString name;                 // empty for an entry appended by `entry`
    int32_t compressedSize = 0;   // bytes of the stored blob
    int32_t uncompressedSize = 0; // declared; after inflating, the length really produced
    int32_t offset = 0;           // absolute position of the stored blob in the file
    std::unique_ptr<uint8_t[]> compressedData; // the stored blob, unmasked, once read
    std::unique_ptr<uint8_t[]> data; // uncompressedSize + 1 bytes, the last one 0, once inflated

    PackEntry() = default;
    PackEntry(const PackEntry& other);
    PackEntry& operator=(const PackEntry& other);
};

struct PackArchive {
    PackEntry directoryEntry;            // the directory blob itself; its name stays empty
    WString path;                        // the path given to open, reopened for every read
    KeyedTable<PackEntry> directory{10}; // every entry by name, in file order

    // Reads the header and the directory. False only when the file cannot be opened.
    bool open(const char* utf8Path);
    // True when an entry has exactly this name.
    bool contains(const char* name) const;
    // The entry stored under the name; an absent name is first appended as an empty entry.
    PackEntry& entry(const char* name);
    // Copies the entry's bytes into `buffer` (capacityBytes long; at most the entry's
    // uncompressedSize bytes are written). '/' in the name is looked up as '\'. False when the
    // entry is absent, damaged, or the file cannot be reopened.
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
