#include "resources/pack_archive.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// An archive file open for reading, closed when it goes out of scope: no handle outlives the
// call that opened it.
struct ArchiveFile {
    std::FILE* handle = nullptr;
    int64_t sizeBytes = 0;

    ArchiveFile() = default;
    ArchiveFile(const ArchiveFile&) = delete;
    ArchiveFile& operator=(const ArchiveFile&) = delete;
    ~ArchiveFile() {
        if (handle != nullptr) {
            std::fclose(handle);
        }
    }
};

bool openArchiveFile(const std::string& path, ArchiveFile& file) {
    file.handle = std::fopen(path.c_str(), "rb");
    if (file.handle == nullptr || std::fseek(file.handle, 0, SEEK_END) != 0) {
        return false;
    }
    long sizeBytes = std::ftell(file.handle);
    file.sizeBytes = sizeBytes;
    return sizeBytes >= 0;
}

// Reads exactly lengthBytes bytes at offset; false on a short read or an error.
bool readAt(ArchiveFile& file, int64_t offset, uint8_t* out, int32_t lengthBytes) {
    return std::fseek(file.handle, static_cast<long>(offset), SEEK_SET) == 0 &&
           std::fread(out, 1, static_cast<size_t>(lengthBytes), file.handle) ==
               static_cast<size_t>(lengthBytes);
}

uint32_t readLe32(const uint8_t* bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

// A zero-filled buffer of allocatedBytes holding a copy of the first copiedBytes of `from`.
std::unique_ptr<uint8_t[]> copyBytes(const uint8_t* from, int32_t copiedBytes,
                                     int32_t allocatedBytes) {
    auto bytes = std::make_unique<uint8_t[]>(static_cast<size_t>(allocatedBytes));
    std::memcpy(bytes.get(), from, static_cast<size_t>(copiedBytes));
    return bytes;
}

// Whether a blob's sizes can describe a stored zlib stream at all: at least the two masked
// bytes, and no more output than deflate can produce from that many bytes.
bool sizesPossible(const PackEntry& blob) {
    return blob.compressedSize >= 2 && blob.uncompressedSize >= 0 &&
           blob.uncompressedSize <= maxEntryBytes &&
           blob.uncompressedSize <= maxInflateRatio * blob.compressedSize;
}

bool liesWithin(const PackEntry& blob, int64_t fileBytes) {
    return blob.offset >= 0 && static_cast<int64_t>(blob.offset) + blob.compressedSize <= fileBytes;
}

// Reads the stored blob and restores its zlib header.
bool readStoredBlob(ArchiveFile& file, PackEntry& blob) {
    auto stored = std::make_unique<uint8_t[]>(static_cast<size_t>(blob.compressedSize));
    if (!readAt(file, blob.offset, stored.get(), blob.compressedSize)) {
        return false;
    }
    stored[0] ^= static_cast<uint8_t>(streamMask & 0xFF);
    stored[1] ^= static_cast<uint8_t>(streamMask >> 8);
    blob.compressedData = std::move(stored);
    return true;
}

// Inflates the stored blob into uncompressedSize + 1 zero-filled bytes. zlib reports the
// length it produced even when it stops early, and that becomes the entry's size.
void inflateBlob(PackEntry& blob) {
    auto bytes = std::make_unique<uint8_t[]>(static_cast<size_t>(blob.uncompressedSize) + 1);
    uLongf producedBytes = static_cast<uLongf>(blob.uncompressedSize);
    int result = uncompress(bytes.get(), &producedBytes, blob.compressedData.get(),
                            static_cast<uLong>(blob.compressedSize));
    blob.uncompressedSize = static_cast<int32_t>(producedBytes);
    blob.stream = result == Z_OK          ? StreamState::Complete
                  : result == Z_BUF_ERROR ? StreamState::Overflowing
                                          : StreamState::Damaged;
    blob.data = std::move(bytes);
}

// The blanks of the directory text: those of the C locale's isspace.
bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reads one directory line the way "%s %d %d %d" would, but never past the line's end. The
// numbers that are missing or unreadable stay 0; digits beyond the 32-bit range saturate.
struct LineScanner {
    const char* at;
    const char* end;

    void skipBlanks() {
        while (at < end && isBlank(*at)) {
            ++at;
        }
    }

    std::string word() {
        skipBlanks();
        const char* start = at;
        while (at < end && !isBlank(*at)) {
            ++at;
        }
        return std::string(start, at);
    }

    bool number(int32_t& value) {
        skipBlanks();
        bool negative = at < end && *at == '-';
        if (at < end && (*at == '-' || *at == '+')) {
            ++at;
        }
        if (at == end || *at < '0' || *at > '9') {
            return false;
        }
        int64_t magnitude = 0;
        for (; at < end && *at >= '0' && *at <= '9'; ++at) {
            magnitude = std::min<int64_t>(magnitude * 10 + (*at - '0'), int64_t{INT32_MAX} + 1);
        }
        int64_t signedValue = negative ? -magnitude : magnitude;
        value = static_cast<int32_t>(std::clamp<int64_t>(signedValue, INT32_MIN, INT32_MAX));
        return true;
    }
};

// Enters one entry per line of the directory text, which ends at its first zero byte. The
// parse stops once two characters or fewer remain, so a trailing line feed does no harm.
void parseDirectory(const PackEntry& directoryBlob, KeyedTable<PackEntry>& directory) {
    const char* text = reinterpret_cast<const char*>(directoryBlob.data.get());
    const char* end = std::find(text, text + directoryBlob.uncompressedSize, '\0');
    const char* line = text;
    while (end - line > 2) {
        const char* lineEnd = std::find(line, end, '\n');
        LineScanner scanner{line, lineEnd};
        PackEntry parsed;
        parsed.name = WString(scanner.word().c_str());
        bool more = scanner.number(parsed.offset) && scanner.number(parsed.compressedSize);
        if (more) {
            scanner.number(parsed.uncompressedSize);
        }
        directory.set(parsed.name, parsed);
        if (lineEnd == end) {
            break;
        }
        line = lineEnd + 1;
    }
}

} // namespace

PackEntry::PackEntry(const PackEntry& other)
    : name(other.name), compressedSize(other.compressedSize),
      uncompressedSize(other.uncompressedSize), offset(other.offset), stream(other.stream) {
    if (other.compressedData) {
        compressedData = copyBytes(other.compressedData.get(), compressedSize, compressedSize);
    }
    if (other.data) {
        data = copyBytes(other.data.get(), uncompressedSize, uncompressedSize + 1);
    }
}

PackEntry& PackEntry::operator=(const PackEntry& other) {
    if (this != &other) {
        PackEntry copy(other);
        name = copy.name;
        compressedSize = copy.compressedSize;
        uncompressedSize = copy.uncompressedSize;
        offset = copy.offset;
        compressedData = std::move(copy.compressedData);
        data = std::move(copy.data);
        stream = copy.stream;
    }
    return *this;
}

bool PackArchive::open(const char* utf8Path) {
    path = WString(utf8Path);
    filePath = utf8Path;
    directoryEntry = PackEntry();

    ArchiveFile file;
    if (!openArchiveFile(filePath, file)) {
        return false;
    }
    // A file too short for the header holds no directory.
    if (file.sizeBytes < archiveHeaderBytes) {
        return true;
    }
    uint8_t header[archiveHeaderBytes];
    if (!readAt(file, 0, header, archiveHeaderBytes)) {
        return false;
    }
    directoryEntry.offset =
        static_cast<int32_t>(readLe32(header + directoryOffsetField) ^ directoryOffsetMask);
    directoryEntry.compressedSize = static_cast<int32_t>(
        readLe32(header + directoryCompressedSizeField) ^ directoryCompressedSizeMask);
    directoryEntry.uncompressedSize = static_cast<int32_t>(
        readLe32(header + directoryUncompressedSizeField) ^ directoryUncompressedSizeMask);

    // A damaged header or a directory blob that cannot be read gives an empty directory.
    if (!sizesPossible(directoryEntry) || !liesWithin(directoryEntry, file.sizeBytes) ||
        !readStoredBlob(file, directoryEntry)) {
        return true;
    }
    inflateBlob(directoryEntry);
    parseDirectory(directoryEntry, directory);
    return true;
}

bool PackArchive::contains(const char* name) const {
    return directory.contains(WString(name));
}

PackEntry& PackArchive::entry(const char* name) {
    return directory.get(WString(name));
}

bool PackArchive::read(const char* name, uint8_t* buffer, int32_t capacityBytes) {
    WString key(name);
    std::replace(key.characters, key.characters + key.length, u'/', u'\\');
    int32_t index = directory.find(key);
    if (index < 0) {
        return false;
    }
    PackEntry& stored = directory.pairs[index].value;
    if (!stored.data) {
        if (!sizesPossible(stored)) {
            return false;
        }
        if (!stored.compressedData) {
            ArchiveFile file;
            if (!openArchiveFile(filePath, file) || !liesWithin(stored, file.sizeBytes) ||
                !readStoredBlob(file, stored)) {
                return false;
            }
        }
        inflateBlob(stored);
    }
    if (stored.uncompressedSize > capacityBytes) {
        return false;
    }
    std::copy_n(stored.data.get(), stored.uncompressedSize, buffer);
    return true;
}

void PackArchive::clear() {
    directory = KeyedTable<PackEntry>(1);
}

bool loadByName(PackArchive& archive, const char* name, ByteBuffer& buffer, LoadAs as) {
    buffer = ByteBuffer();
    if (!archive.contains(name)) {
        return false;
    }
    int32_t sizeBytes = archive.entry(name).uncompressedSize;
    // Larger sizes could not be read anyway; refusing them first spares the allocation.
    if (sizeBytes <= 0 || sizeBytes > maxEntryBytes) {
        return false;
    }
    int32_t allocatedBytes = sizeBytes + (as == LoadAs::Text ? 1 : 0);
    auto bytes = std::make_unique<uint8_t[]>(static_cast<size_t>(allocatedBytes));
    if (!archive.read(name, bytes.get(), sizeBytes)) {
        return false;
    }
    buffer.data = std::move(bytes);
    buffer.lengthBytes = std::min(sizeBytes, archive.entry(name).uncompressedSize);
    return true;
}
