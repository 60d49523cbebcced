#include "resources/pack_archive.h"

#include "archive_writer.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

std::vector<uint8_t> bytesOf(const std::string& text) {
    return std::vector<uint8_t>(text.begin(), text.end());
}

// An archive in a temporary file: the test stores blobs, then writes the directory text itself,
// with the blobs' real places or with whatever numbers the case needs.
class ArchiveTest : public testing::Test {
  protected:
    TempDir dir;
    std::string path = dir.file("test.qar");
    ArchiveWriter writer;

    StoredBlob store(const std::vector<uint8_t>& content) {
        StoredBlob blob;
        EXPECT_TRUE(writer.addBlob(content.data(), content.size(), blob));
        return blob;
    }
    StoredBlob store(const std::string& content) { return store(bytesOf(content)); }

    // "offset stored unpacked" of a blob, as a directory line holds them.
    static std::string fields(const StoredBlob& blob) {
        return std::to_string(blob.offset) + ' ' + std::to_string(blob.compressedSize) + ' ' +
               std::to_string(blob.uncompressedSize);
    }

    // Where the next blob, or the directory, goes.
    int32_t blobsEnd() const { return static_cast<int32_t>(writer.bytes.size()); }

    void finish(const std::string& directoryText) {
        ASSERT_TRUE(writer.finish(directoryText));
        writeFileBytes(path, writer.bytes);
    }
};

// The entry's bytes through the loaders' sequence, or nothing when it does not load.
std::optional<std::string> load(PackArchive& archive, const char* name) {
    ByteBuffer buffer;
    if (!loadByName(archive, name, buffer)) {
        EXPECT_EQ(buffer.data, nullptr);
        return std::nullopt;
    }
    return std::string(reinterpret_cast<const char*>(buffer.data.get()),
                       static_cast<size_t>(buffer.lengthBytes));
}

std::vector<std::string> namesOf(const PackArchive& archive) {
    std::vector<std::string> names;
    for (int32_t i = 0; i < archive.directory.count(); ++i) {
        names.push_back(utf8Of(archive.directory.pairs[i].key));
    }
    return names;
}

void putLe32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

std::vector<uint8_t> zlibStream(const std::string& text) {
    uLongf length = compressBound(static_cast<uLong>(text.size()));
    std::vector<uint8_t> stream(length);
    compress2(stream.data(), &length, reinterpret_cast<const Bytef*>(text.data()),
              static_cast<uLong>(text.size()), 9);
    stream.resize(length);
    return stream;
}

TEST_F(ArchiveTest, ReadsAnArchiveWrittenByteByByteAsThePackerWritesIt) {
    const std::string content = "Every picture, font and sound comes from here.";
    std::vector<uint8_t> entryStream = zlibStream(content);
    const std::string directoryText = "notes.txt 32 " + std::to_string(entryStream.size()) + " " +
                                      std::to_string(content.size()) + "\n";
    std::vector<uint8_t> directoryStream = zlibStream(directoryText);

    // Header, the entry at 32, then the directory; each stream's first two bytes masked with
    // 0x6C2E, low byte first, and the header fields with their own masks.
    std::vector<uint8_t> file(32, 0);
    for (std::vector<uint8_t>* stream : {&entryStream, &directoryStream}) {
        (*stream)[0] ^= 0x2E;
        (*stream)[1] ^= 0x6C;
        file.insert(file.end(), stream->begin(), stream->end());
    }
    const uint32_t directoryOffset = 32 + static_cast<uint32_t>(entryStream.size());
    putLe32(file, 20, directoryOffset ^ 0x2C6D5A93u);
    putLe32(file, 24, static_cast<uint32_t>(directoryStream.size()) ^ 0x53B7C6E9u);
    putLe32(file, 28, static_cast<uint32_t>(directoryText.size()) ^ 0x1F4E7D2Au);
    writeFileBytes(path, file);

    PackArchive archive;
    ASSERT_TRUE(archive.open(path.c_str()));
    EXPECT_EQ(load(archive, "notes.txt"), content);
    EXPECT_EQ(archive.directoryEntry.offset, static_cast<int32_t>(directoryOffset));

    store(content);
    finish(directoryText);
    EXPECT_EQ(std::vector<uint8_t>(writer.bytes.begin() + 20, writer.bytes.end()),
              std::vector<uint8_t>(file.begin() + 20, file.end()))
        << "the packer writes the same format";
}

TEST_F(ArchiveTest, DirectoryTextsParseAsTheirLinesSay) {
    const StoredBlob one = store("first entry");
    const StoredBlob two = store("second entry");
    const std::string f1 = fields(one), f2 = fields(two);
    using Expected = std::vector<std::pair<std::string, std::optional<std::string>>>;
    const Expected both{{"one", "first entry"}, {"two", "second entry"}};
    struct Case {
        const char* what;
        std::string text;
        Expected entries;
    };
    const Case cases[] = {
        {"lines ending in line feeds", "one " + f1 + "\ntwo " + f2 + "\n", both},
        {"lines ending in CR LF", "one " + f1 + "\r\ntwo " + f2 + "\r\n", both},
        {"last line without a line feed", "one " + f1 + "\ntwo " + f2, both},
        {"tabs and extra blanks", "  one\t" + f1 + " \ntwo  " + f2 + "\t\n", both},
        {"empty text", "", {}},
        {"a lone line feed", "\n", {}},
        {"a lone CR LF", "\r\n", {}},
        {"two characters", "ab", {}},
        {"three characters are an entry without numbers", "abc", {{"abc", std::nullopt}}},
        {"names differing in case are different entries",
         "one " + f1 + "\nONE " + f2 + "\n",
         {{"one", "first entry"}, {"ONE", "second entry"}}},
        {"a repeated name keeps its first place and takes the later numbers",
         "one " + f1 + "\ntwo " + f2 + "\none " + f2 + "\n",
         {{"one", "second entry"}, {"two", "second entry"}}},
        {"the text ends at a zero byte",
         "one " + f1 + "\n" + std::string(1, '\0') + "two " + f2,
         {{"one", "first entry"}}},
    };
    for (const Case& c : cases) {
        ArchiveWriter caseWriter = writer;
        ASSERT_TRUE(caseWriter.finish(c.text));
        writeFileBytes(path, caseWriter.bytes);

        PackArchive archive;
        ASSERT_TRUE(archive.open(path.c_str())) << c.what;
        std::vector<std::string> expectedNames;
        for (const auto& [name, content] : c.entries) {
            expectedNames.push_back(name);
            EXPECT_EQ(load(archive, name.c_str()), content) << c.what << ": " << name;
        }
        EXPECT_EQ(namesOf(archive), expectedNames) << c.what;
    }
}

TEST_F(ArchiveTest, ALineWithMissingNumbersKeepsThemZeroAndTheNextLineWhole) {
    const StoredBlob next = store("second entry");
    finish("short 32\n02_next " + fields(next) + "\n");
    PackArchive archive;
    ASSERT_TRUE(archive.open(path.c_str()));
    const PackEntry& entry = archive.entry("short");
    EXPECT_EQ(entry.offset, 32);
    EXPECT_EQ(entry.compressedSize, 0);
    EXPECT_EQ(entry.uncompressedSize, 0);
    EXPECT_EQ(load(archive, "short"), std::nullopt);
    EXPECT_EQ(load(archive, "02_next"), "second entry");
}

TEST_F(ArchiveTest, AskingForAnAbsentEntryAppendsAnEmptyOne) {
    finish("one " + fields(store("first entry")) + "\n");
    PackArchive archive;
    ASSERT_TRUE(archive.open(path.c_str()));
    EXPECT_FALSE(archive.contains("missing.png"));
    PackEntry& added = archive.entry("missing.png");
    EXPECT_EQ(added.name.length, 0);
    EXPECT_EQ(added.uncompressedSize, 0);
    EXPECT_TRUE(archive.contains("missing.png"));
    EXPECT_EQ(&archive.entry("missing.png"), &added) << "appended once";
    EXPECT_EQ(namesOf(archive), (std::vector<std::string>{"one", "missing.png"}));
    EXPECT_EQ(load(archive, "missing.png"), std::nullopt) << "its size 0 means absent";
}

TEST_F(ArchiveTest, OnlyReadLooksASlashUpAsABackslash) {
    finish("fonts\\c64font.fnt " + fields(store("info face=c64")) + "\n");
    PackArchive archive;
    ASSERT_TRUE(archive.open(path.c_str()));
    std::vector<uint8_t> buffer(13);
    ASSERT_TRUE(archive.read("fonts/c64font.fnt", buffer.data(), 13));
    EXPECT_EQ(buffer, bytesOf("info face=c64"));
    EXPECT_FALSE(archive.contains("fonts/c64font.fnt"));
    EXPECT_TRUE(archive.contains("fonts\\c64font.fnt"));
}

TEST_F(ArchiveTest, ASecondReadComesFromTheCacheWithoutTheFile) {
    finish("one " + fields(store("first entry")) + "\ntwo " + fields(store("second entry")) + "\n");
    PackArchive archive;
    ASSERT_TRUE(archive.open(path.c_str()));
    ASSERT_EQ(load(archive, "one"), "first entry");
    std::filesystem::rename(path, path + ".moved");

    EXPECT_EQ(load(archive, "one"), "first entry");
    EXPECT_EQ(load(archive, "two"), std::nullopt) << "an entry not read before needs the file";
    EXPECT_EQ(archive.entry("two").compressedData, nullptr) << "a failed read caches nothing";
}

TEST_F(ArchiveTest, GrowingTheDirectoryKeepsEveryCachedEntry) {
    std::string text;
    for (int i = 0; i < 10; ++i) {
        text += "entry" + std::to_string(i) + ' ' +
                fields(store("content of entry " + std::to_string(i))) + '\n';
    }
    finish(text);
    PackArchive archive;
    ASSERT_TRUE(archive.open(path.c_str()));
    for (int i = 0; i < 10; ++i) {
        ASSERT_TRUE(load(archive, ("entry" + std::to_string(i)).c_str()));
    }
    ASSERT_EQ(archive.directory.pairs.capacity, 10);
    archive.entry("eleventh");
    ASSERT_GT(archive.directory.pairs.capacity, 10);
    std::filesystem::remove(path);

    for (int i = 0; i < 10; ++i) {
        std::string name = "entry" + std::to_string(i);
        EXPECT_EQ(load(archive, name.c_str()), "content of entry " + std::to_string(i));
        const PackEntry& entry = archive.entry(name.c_str());
        EXPECT_EQ(entry.data[entry.uncompressedSize], 0) << "the copy keeps the closing zero";
    }
}

TEST_F(ArchiveTest, DeclaredSizesShorterOrLongerThanTheContent) {
    const StoredBlob blob = store("first entry");
    finish("short " + std::to_string(blob.offset) + ' ' + std::to_string(blob.compressedSize) +
           " 5\nlong " + std::to_string(blob.offset) + ' ' + std::to_string(blob.compressedSize) +
           " 50\n");
    PackArchive archive;
    ASSERT_TRUE(archive.open(path.c_str()));

    EXPECT_EQ(load(archive, "short"), "first") << "only the declared bytes";
    EXPECT_EQ(archive.entry("short").uncompressedSize, 5);

    ByteBuffer text;
    ASSERT_TRUE(loadByName(archive, "long", text, LoadAs::Text));
    EXPECT_EQ(text.lengthBytes, 11) << "the real length";
    EXPECT_STREQ(reinterpret_cast<const char*>(text.data.get()), "first entry");
    const PackEntry& entry = archive.entry("long");
    EXPECT_EQ(entry.uncompressedSize, 11);
    EXPECT_EQ(entry.data[11], 0) << "cached data ends in a zero byte";
    EXPECT_EQ(entry.stream, StreamState::Complete);
    EXPECT_EQ(archive.entry("short").stream, StreamState::Overflowing);
}

TEST_F(ArchiveTest, ABufferTooSmallIsLeftAlone) {
    finish("one " + fields(store("first entry")) + "\n");
    PackArchive archive;
    ASSERT_TRUE(archive.open(path.c_str()));
    std::vector<uint8_t> buffer(10, '#');
    EXPECT_FALSE(archive.read("one", buffer.data(), 10));
    EXPECT_EQ(buffer, std::vector<uint8_t>(10, '#'));
}

TEST_F(ArchiveTest, ClearReleasesEveryEntry) {
    finish("one " + fields(store("first entry")) + "\n");
    PackArchive archive;
    ASSERT_TRUE(archive.open(path.c_str()));
    ASSERT_TRUE(load(archive, "one"));
    archive.clear();
    EXPECT_EQ(archive.directory.count(), 0);
    EXPECT_EQ(archive.directory.pairs.capacity, 1);
    EXPECT_FALSE(archive.contains("one"));
    EXPECT_EQ(load(archive, "one"), std::nullopt);
}

TEST_F(ArchiveTest, AFileThatCannotBeOpenedKeepsTheDirectory) {
    finish("one " + fields(store("first entry")) + "\n");
    PackArchive archive;
    ASSERT_TRUE(archive.open(path.c_str()));
    for (const std::string& unopenable : {dir.file("missing.qar"), dir.path.string()}) {
        EXPECT_FALSE(archive.open(unopenable.c_str())) << unopenable;
        EXPECT_EQ(namesOf(archive), std::vector<std::string>{"one"}) << unopenable;
        EXPECT_EQ(archive.path, WString(unopenable.c_str())) << "the path is replaced";
    }
}

// A header whose fields describe no readable directory, or a file cut short, opens with an
// empty directory and never reads outside the file.
TEST_F(ArchiveTest, DamagedHeadersAndCutFilesGiveAnEmptyDirectory) {
    const std::string text = "one " + fields(store("first entry")) + "\n";
    const int32_t directoryOffset = blobsEnd();
    finish(text);
    const std::vector<uint8_t> good = writer.bytes;
    const int32_t fileBytes = static_cast<int32_t>(good.size());
    const int32_t directoryStored = fileBytes - directoryOffset;

    struct Header {
        const char* what;
        int32_t offset, compressedSize, uncompressedSize;
    };
    const Header headers[] = {
        {"negative offset", -1, directoryStored, 20},
        {"offset at the end of the file", fileBytes, directoryStored, 20},
        {"blob reaching past the end", directoryOffset + 1, directoryStored, 20},
        {"blob reaching past 2 GiB", INT32_MAX, directoryStored, 20},
        {"compressed size 0", directoryOffset, 0, 20},
        {"compressed size 1", directoryOffset, 1, 20},
        {"negative compressed size", directoryOffset, -8, 20},
        {"negative decompressed size", directoryOffset, directoryStored, -1},
        {"more than deflate can produce", directoryOffset, directoryStored,
         1032 * directoryStored + 1},
        {"beyond 256 MiB", directoryOffset, directoryStored, 256 * 1024 * 1024 + 1},
    };
    for (const Header& h : headers) {
        std::vector<uint8_t> file = good;
        putLe32(file, 20, static_cast<uint32_t>(h.offset) ^ directoryOffsetMask);
        putLe32(file, 24, static_cast<uint32_t>(h.compressedSize) ^ directoryCompressedSizeMask);
        putLe32(file, 28,
                static_cast<uint32_t>(h.uncompressedSize) ^ directoryUncompressedSizeMask);
        writeFileBytes(path, file);
        PackArchive archive;
        EXPECT_TRUE(archive.open(path.c_str())) << h.what;
        EXPECT_EQ(archive.directory.count(), 0) << h.what;
    }
    for (size_t cutBytes :
         {size_t{0}, size_t{19}, size_t{31}, size_t{32}, static_cast<size_t>(fileBytes - 1)}) {
        writeFileBytes(path, std::vector<uint8_t>(good.begin(), good.begin() + cutBytes));
        PackArchive archive;
        EXPECT_TRUE(archive.open(path.c_str())) << "cut to " << cutBytes;
        EXPECT_EQ(archive.directory.count(), 0) << "cut to " << cutBytes;
    }
}

TEST_F(ArchiveTest, ADirectoryWithABadChecksumStillGivesItsEntries) {
    finish("one " + fields(store("first entry")) + "\n");
    writer.bytes.back() ^= 0xFF; // the last byte of the directory's Adler-32
    writeFileBytes(path, writer.bytes);
    PackArchive archive;
    ASSERT_TRUE(archive.open(path.c_str()));
    EXPECT_EQ(archive.directoryEntry.stream, StreamState::Damaged);
    EXPECT_EQ(load(archive, "one"), "first entry");
}

// Directory lines whose numbers cannot describe a stored blob make that entry unreadable and
// leave the others alone.
TEST_F(ArchiveTest, EntriesWithImpossibleNumbersCannotBeRead) {
    const StoredBlob good = store("first entry");
    std::vector<uint8_t> noise(300000);
    uint32_t state = 1;
    for (uint8_t& byte : noise) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<uint8_t>(state >> 24);
    }
    const StoredBlob big = store(noise);
    const int32_t fileEnd = blobsEnd();
    auto line = [](const std::string& name, int64_t offset, int64_t stored, int64_t unpacked) {
        return name + ' ' + std::to_string(offset) + ' ' + std::to_string(stored) + ' ' +
               std::to_string(unpacked) + '\n';
    };
    struct Case {
        const char* name;
        int64_t offset, stored, unpacked;
    };
    const Case cases[] = {
        {"negativeOffset", -1, good.compressedSize, 11},
        {"offsetPastTheEnd", fileEnd + 1000000, good.compressedSize, 11},
        {"reachingPastTheEnd", good.offset, fileEnd - good.offset + 1000000, 11},
        {"reachingPast2GiB", INT32_MAX - 4, good.compressedSize, 11},
        {"storedSizeZero", good.offset, 0, 11},
        {"storedSizeOne", good.offset, 1, 11},
        {"negativeStoredSize", good.offset, -20, 11},
        {"negativeUnpackedSize", good.offset, good.compressedSize, -1},
        {"beyondDeflate", good.offset, good.compressedSize, 1032 * good.compressedSize + 1},
        {"beyond256MiB", big.offset, big.compressedSize, 256 * 1024 * 1024 + 1},
        {"beyond32Bits", 99999999999, good.compressedSize, 11},
    };
    std::string text = line("good", good.offset, good.compressedSize, good.uncompressedSize);
    for (const Case& c : cases) {
        text += line(c.name, c.offset, c.stored, c.unpacked);
    }
    finish(text);

    PackArchive archive;
    ASSERT_TRUE(archive.open(path.c_str()));
    for (const Case& c : cases) {
        std::vector<uint8_t> buffer(64);
        EXPECT_FALSE(archive.read(c.name, buffer.data(), 64)) << c.name;
        EXPECT_EQ(load(archive, c.name), std::nullopt) << c.name;
    }
    EXPECT_EQ(load(archive, "good"), "first entry");
}

TEST_F(ArchiveTest, AStreamThatDoesNotInflateYieldsOnlyWhatWasProduced) {
    // The header's bytes are no zlib stream.
    finish("garbage 0 32 16\n");
    PackArchive archive;
    ASSERT_TRUE(archive.open(path.c_str()));
    std::vector<uint8_t> buffer(16, '#');
    EXPECT_TRUE(archive.read("garbage", buffer.data(), 16));
    const PackEntry& entry = archive.entry("garbage");
    EXPECT_EQ(entry.stream, StreamState::Damaged);
    EXPECT_EQ(entry.uncompressedSize, 0) << "nothing was produced";
    EXPECT_EQ(entry.data[entry.uncompressedSize], 0);
}

} // namespace
