#include "core/startup.h"

#include "archive_writer.h"
#include "support/fake_platform.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

TEST(StartUp, ANormalRunEndsWithStatusOneAfterEscape) {
    FakePlatform platform;
    platform.dialogMode = {1024, 768};
    platform.dialogFullscreen = true;
    platform.messages.push_back({MessageType::KeyDown, keyEscape});
    auto program = std::make_unique<Program>();
    EXPECT_EQ(runProgram(*program, platform.calls()), 1);
    EXPECT_EQ(platform.createdDisplays, 1);
    EXPECT_EQ(platform.destroyedDisplays, 1);
    EXPECT_EQ(program->input.width, 1024);
    EXPECT_TRUE(program->input.fullscreen) << "the dialog's choice reaches the display";
    EXPECT_EQ(program->geometry.frameScale, 3);
    EXPECT_EQ(program->windowBuffer, nullptr) << "released at shutdown";
    EXPECT_EQ(program->interfaceArchive.path, WString("interface.qar"));
    EXPECT_EQ(program->interfaceArchive.directory.pairs.capacity, 1) << "cleared at shutdown";
}

TEST(StartUp, FailedStartsEndWithStatusZero) {
    struct Case {
        const char* what;
        SetupResult dialogResult;
        DisplayMode mode;
        bool displayFails;
        int createdDisplays;
    };
    const Case cases[] = {
        {"dialog cancelled", SetupResult::Cancel, {640, 400}, false, 0},
        {"no display for the dialog", SetupResult::NoDisplay, {640, 400}, false, 0},
        {"mode too narrow", SetupResult::Run, {319, 200}, false, 0},
        {"mode too low", SetupResult::Run, {320, 199}, false, 0},
        {"display cannot be created", SetupResult::Run, {640, 400}, true, 1},
    };
    for (const Case& c : cases) {
        FakePlatform platform;
        platform.dialogResult = c.dialogResult;
        platform.dialogMode = c.mode;
        platform.displayFails = c.displayFails;
        auto program = std::make_unique<Program>();
        EXPECT_EQ(runProgram(*program, platform.calls()), 0) << c.what;
        EXPECT_EQ(platform.createdDisplays, c.createdDisplays) << c.what;
        EXPECT_EQ(platform.presentedFrames, 0) << c.what;
    }
}

TEST(StartUp, WithoutTheInterfaceArchiveNoDisplayOpens) {
    TempDir empty;
    CurrentDirectory inEmpty(empty.path);
    FakePlatform platform;
    platform.messages.push_back({MessageType::KeyDown, keyEscape});
    auto program = std::make_unique<Program>();
    testing::internal::CaptureStderr();
    EXPECT_EQ(runProgram(*program, platform.calls()), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "interface.qar: cannot open\n");
    EXPECT_EQ(platform.createdDisplays, 0);
}

// An interface archive in `directory` holding the named entries of the built one.
void packPartOfTheInterfaceArchive(const TempDir& directory, std::vector<const char*> names) {
    PackArchive built;
    ASSERT_TRUE(built.open("interface.qar"));
    ArchiveWriter writer;
    std::string directoryText;
    for (const char* name : names) {
        ByteBuffer bytes;
        ASSERT_TRUE(loadByName(built, name, bytes)) << name;
        StoredBlob blob;
        ASSERT_TRUE(writer.addBlob(bytes.data.get(), static_cast<size_t>(bytes.lengthBytes), blob));
        directoryText += directoryLine(name, blob);
    }
    ASSERT_TRUE(writer.finish(directoryText));
    writeFileBytes(directory.file("interface.qar"), writer.bytes);
}

TEST(StartUp, AFontThatCannotLoadEndsTheStartBeforeTheDisplay) {
    struct Case {
        std::vector<const char*> entries;
        const char* message;
    };
    const Case cases[] = {
        {{"c64font.fnt", "c64font_0.png", "silkywonderland_0.png", "sfintermosaic.fnt",
          "sfintermosaic_0.png"},
         "silkywonderland.fnt: cannot load\n"},
        {{"c64font.fnt", "silkywonderland.fnt", "silkywonderland_0.png"},
         "c64font.fnt: cannot load\n"},
        {{"c64font.fnt", "c64font_0.png", "silkywonderland.fnt", "silkywonderland_0.png",
          "sfintermosaic.fnt"},
         "sfintermosaic.fnt: cannot load\n"},
    };
    for (const Case& c : cases) {
        TempDir directory;
        packPartOfTheInterfaceArchive(directory, c.entries);
        CurrentDirectory inside(directory.path);
        FakePlatform platform;
        auto program = std::make_unique<Program>();
        testing::internal::CaptureStderr();
        EXPECT_EQ(runProgram(*program, platform.calls()), 0);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.message);
        EXPECT_EQ(platform.createdDisplays, 0);
    }
}

TEST(StartUp, TheThreeFontsComeFromTheArchive) {
    FakePlatform platform;
    platform.messages.push_back({MessageType::Close});
    auto program = std::make_unique<Program>();
    ASSERT_EQ(runProgram(*program, platform.calls()), 1);
    for (const BitmapFont* font : {&program->c64Font, &program->silkyFont, &program->mosaicFont}) {
        EXPECT_GT(font->atlas.width, 0);
        EXPECT_GT(font->glyphs['A'].xadvance, 0);
        EXPECT_EQ(font->fixedAdvance, -1);
    }
    EXPECT_EQ(program->c64Font.glyphs['a'].height, 8) << "the boot screen's line spacing";
}

TEST(StartUp, TheSmallestFrameSizedDisplayRuns) {
    FakePlatform platform;
    platform.dialogMode = {320, 200};
    platform.messages.push_back({MessageType::Close});
    auto program = std::make_unique<Program>();
    EXPECT_EQ(runProgram(*program, platform.calls()), 1);
    EXPECT_EQ(platform.presentedFrames, 1);
}

} // namespace
