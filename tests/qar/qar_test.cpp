#include "qar.h"

#include "archive_writer.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct QarRun {
    int status;
    std::string out;
    std::string err;
};

QarRun qar(const std::vector<std::string>& arguments) {
    std::vector<const char*> argv{"qar"};
    for (const std::string& argument : arguments) {
        argv.push_back(argument.c_str());
    }
    std::ostringstream out, err;
    int status = runQar(static_cast<int>(argv.size()), argv.data(), out, err);
    return {status, out.str(), err.str()};
}

size_t lineCount(const std::string& text) {
    return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

class QarTest : public testing::Test {
  protected:
    TempDir dir;
    std::string archive = dir.file("test.qar");

    std::string file(const std::string& name, const std::vector<uint8_t>& bytes) {
        fs::create_directories(fs::path(dir.file(name)).parent_path());
        writeFileBytes(dir.file(name), bytes);
        return dir.file(name);
    }
    std::string file(const std::string& name, const std::string& text) {
        return file(name, std::vector<uint8_t>(text.begin(), text.end()));
    }
};

TEST_F(QarTest, PackListExtractGivesBackTheSameFiles) {
    std::vector<uint8_t> noise(200000);
    uint32_t state = 7;
    for (uint8_t& byte : noise) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<uint8_t>(state >> 24);
    }
    const std::vector<std::string> files = {
        file("in/noise.bin", noise),
        file("in/zeros.bin", std::vector<uint8_t>(4 << 20, 0)),
        file("in/empty.txt", ""),
        file("in/gr\xC3\xBC\xC3\x9F"
             "e.txt",
             "h\xC3\xA4llo\r\n"),
    };
    ASSERT_EQ(qar({"pack", archive, files[0], files[1], files[2], files[3]}).status, 0);

    QarRun listed = qar({"list", archive});
    ASSERT_EQ(listed.status, 0) << listed.err;
    std::istringstream lines(listed.out);
    for (const std::string& original : files) {
        std::string name;
        int64_t offset = 0, storedBytes = 0, unpackedBytes = 0;
        lines >> name >> offset >> storedBytes >> unpackedBytes;
        EXPECT_EQ(name, fs::path(original).filename().string());
        EXPECT_GE(offset, 32);
        EXPECT_GT(storedBytes, 0);
        EXPECT_EQ(unpackedBytes, static_cast<int64_t>(readFileBytes(original).size())) << name;
    }
    EXPECT_EQ(lineCount(listed.out), files.size());

    QarRun extracted = qar({"extract", archive, "-C", dir.file("out")});
    ASSERT_EQ(extracted.status, 0) << extracted.err;
    for (const std::string& original : files) {
        std::string copy = dir.file("out/" + fs::path(original).filename().string());
        EXPECT_EQ(readFileBytes(copy), readFileBytes(original)) << copy;
    }
    EXPECT_EQ(qar({"verify", archive}).status, 0);

    // The same files give the same archive, byte for byte.
    ASSERT_EQ(qar({"pack", dir.file("again.qar"), files[0], files[1], files[2], files[3]}).status,
              0);
    EXPECT_EQ(readFileBytes(dir.file("again.qar")), readFileBytes(archive));
}

TEST_F(QarTest, NameEqualsPathChoosesTheEntryName) {
    const std::string song = file("my song.ogg", "OggS...");
    ASSERT_EQ(qar({"pack", archive, "01_Laser_Orchard.ogg=" + song}).status, 0);
    ASSERT_EQ(qar({"extract", archive, "01_Laser_Orchard.ogg", "-C", dir.file("out")}).status, 0);
    EXPECT_EQ(readFileBytes(dir.file("out/01_Laser_Orchard.ogg")), readFileBytes(song));
}

TEST_F(QarTest, PackRefusesNamesTheDirectoryCannotHold) {
    const std::string content = file("content.txt", "text");
    file("a=b.txt", "a file whose name has an equals sign");
    struct Case {
        std::vector<std::string> files;
        const char* message;
    };
    const Case cases[] = {
        {{"with blank.txt=" + content}, "has a blank"},
        {{"tab\there=" + content}, "has a blank"},
        {{std::string(264, 'n') + "=" + content}, "longer than 263 bytes"},
        {{"=" + content}, "is empty"},
        {{"fonts/c64font.fnt=" + content}, "not a bare file name"},
        {{"fonts\\c64font.fnt=" + content}, "not a bare file name"},
        {{content, "content.txt=" + content}, "given twice"},
        {{dir.file("missing.txt")}, "missing.txt: cannot read"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments{"pack", archive};
        arguments.insert(arguments.end(), c.files.begin(), c.files.end());
        QarRun run = qar(arguments);
        EXPECT_EQ(run.status, 1) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(lineCount(run.err), 1u) << run.err;
        EXPECT_FALSE(fs::exists(archive)) << c.message;
    }
    // The longest name fits; a path that names a file is a path, equals sign and all.
    const std::string longest(263, 'n');
    EXPECT_EQ(qar({"pack", archive, longest + "=" + content, dir.file("a=b.txt")}).status, 0);
    const std::string listed = qar({"list", archive}).out;
    EXPECT_EQ(listed.rfind(longest + " 32 ", 0), 0u) << listed;
    EXPECT_NE(listed.find("\na=b.txt "), std::string::npos) << listed;
}

TEST_F(QarTest, CommandLinesThatMakeNoSenseAreUsageErrors) {
    const std::vector<std::vector<std::string>> lines = {
        {},
        {"pack"},
        {"shrink", archive},
        {"list", archive, "extra"},
        {"verify", archive, "extra"},
        {"extract", archive, "-C"},
    };
    for (const std::vector<std::string>& line : lines) {
        QarRun run = qar(line);
        EXPECT_EQ(run.status, 2) << testing::PrintToString(line);
        EXPECT_NE(run.err.find("usage: qar"), std::string::npos);
    }
    QarRun help = qar({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("qar extract ARCHIVE [NAME...] [-C DIR]"), std::string::npos);
}

TEST_F(QarTest, ArchivesThatCannotBeOpenedAreFailures) {
    file("short.qar", "QAR");
    file("text.qar", std::string(100, 'x'));
    for (const char* name : {"missing.qar", "short.qar", "text.qar"}) {
        for (const char* command : {"list", "verify", "extract"}) {
            QarRun run = qar({command, dir.file(name)});
            EXPECT_EQ(run.status, 1) << command << ' ' << name;
            EXPECT_EQ(run.err.rfind(dir.file(name) + ": ", 0), 0u) << run.err;
            EXPECT_EQ(lineCount(run.err), 1u) << run.err;
        }
    }
}

// An archive with one good entry and one entry for each way an entry can be bad.
class DamagedArchiveTest : public QarTest {
  protected:
    void SetUp() override {
        const std::string content = "the content of an entry";
        ArchiveWriter writer;
        StoredBlob blob, broken;
        ASSERT_TRUE(
            writer.addBlob(reinterpret_cast<const uint8_t*>(content.data()), content.size(), blob));
        ASSERT_TRUE(writer.addBlob(reinterpret_cast<const uint8_t*>(content.data()), content.size(),
                                   broken));
        writer.bytes[broken.offset + broken.compressedSize - 1] ^= 0xFF; // its Adler-32
        auto with = [](const StoredBlob& from, int32_t offset, int32_t unpacked) {
            return StoredBlob{offset, from.compressedSize, unpacked};
        };
        ASSERT_TRUE(
            writer.finish(directoryLine("good.txt", blob) +
                          directoryLine("longer.txt", with(blob, blob.offset, 10)) +
                          directoryLine("shorter.txt", with(blob, blob.offset, 100)) +
                          directoryLine("checksum.txt", broken) +
                          directoryLine("outside.txt", with(blob, 1 << 30, blob.uncompressedSize)) +
                          directoryLine("..", blob) + "sub\\dir.txt " +
                          std::to_string(blob.offset) + ' ' + std::to_string(blob.compressedSize) +
                          ' ' + std::to_string(blob.uncompressedSize) + '\n'));
        writeFileBytes(archive, writer.bytes);
    }
};

TEST_F(DamagedArchiveTest, VerifyReportsEachBadEntry) {
    QarRun run = qar({"verify", archive});
    EXPECT_EQ(run.status, 1);
    for (const char* line : {": longer.txt: holds more than its declared 10 bytes\n",
                             ": shorter.txt: holds 23 bytes, not the declared 100\n",
                             ": checksum.txt: is damaged", ": outside.txt: cannot be read"}) {
        EXPECT_NE(run.err.find(archive + line), std::string::npos) << line << " in " << run.err;
    }
    EXPECT_EQ(lineCount(run.err), 4u) << run.err;
}

TEST_F(DamagedArchiveTest, ExtractWritesOnlyIntactEntriesWithPlainNames) {
    const std::string out = dir.file("deep/out");
    QarRun run = qar({"extract", archive, "-C", out});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(lineCount(run.err), 6u) << run.err;
    std::vector<std::string> written;
    for (const auto& item : fs::recursive_directory_iterator(dir.file("deep"))) {
        written.push_back(fs::relative(item.path(), dir.file("deep")).string());
    }
    EXPECT_EQ(written, (std::vector<std::string>{"out", "out/good.txt"}));
    EXPECT_EQ(qar({"extract", archive, "absent.txt", "-C", out}).status, 1);
}

} // namespace
