// Writing packed archives: stored blobs (masked zlib streams) first, then the directory, then
// the header that points at it. The packer builds every archive with it, and the tests build
// archives with hand-written directories. Build-time tools and tests only.
#pragma once

#include "core/wstring.h"
#include "resources/pack_archive.h"

#include <cstdint>
#include <string>
#include <vector>

// Bytes 0-19 of the header, which the reader ignores: a magic and the packer's format version.
constexpr char qarMagic[] = "QAR packed data\x1a";
constexpr uint32_t qarFormatVersion = 1;

// Where a blob went and what the directory must say about it.
struct StoredBlob {
    int32_t offset = 0;
    int32_t compressedSize = 0;
    int32_t uncompressedSize = 0;
};

// The bytes compressed at zlib level 9, with the first two masked as the reader expects.
std::vector<uint8_t> maskedStream(const uint8_t* data, size_t lengthBytes);

struct ArchiveWriter {
    std::vector<uint8_t> bytes = std::vector<uint8_t>(archiveHeaderBytes); // header: by finish

    // Stores the bytes as the next blob. False when the file would pass the 2 GiB that 32-bit
    // offsets reach.
    bool addBlob(const uint8_t* data, size_t lengthBytes, StoredBlob& blob);
    // Stores the directory text as the last blob and fills in the header; false as addBlob.
    bool finish(const std::string& directoryText);
};

// One directory line: name, offset, stored size and unpacked size, ending in a line feed.
std::string directoryLine(const std::string& name, const StoredBlob& blob);

// An entry name as UTF-8, as the reader's lookups take it; unpaired surrogates become U+FFFD.
std::string utf8Of(const WString& name);
