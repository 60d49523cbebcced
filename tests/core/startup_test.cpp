#include "core/startup.h"

#include "support/fake_platform.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(StartUp, ANormalRunEndsWithStatusOneAfterEscape) {
    FakePlatform platform;
    platform.desktop = {1024, 768};
    platform.messages.push_back({MessageType::KeyDown, keyEscape});
    auto program = std::make_unique<Program>();
    EXPECT_EQ(runProgram(*program, platform.calls()), 1);
    EXPECT_EQ(platform.createdDisplays, 1);
    EXPECT_EQ(platform.destroyedDisplays, 1);
    EXPECT_EQ(program->input.width, 1024);
    EXPECT_EQ(program->geometry.frameScale, 3);
    EXPECT_EQ(program->windowBuffer, nullptr) << "released at shutdown";
}

TEST(StartUp, FailedStartsEndWithStatusZero) {
    struct Case {
        const char* what;
        DesktopSize desktop;
        bool displayFails;
        int createdDisplays;
    };
    const Case cases[] = {
        {"display too narrow", {319, 200}, false, 0},
        {"display too low", {320, 199}, false, 0},
        {"display cannot be created", {640, 400}, true, 1},
    };
    for (const Case& c : cases) {
        FakePlatform platform;
        platform.desktop = c.desktop;
        platform.displayFails = c.displayFails;
        auto program = std::make_unique<Program>();
        EXPECT_EQ(runProgram(*program, platform.calls()), 0) << c.what;
        EXPECT_EQ(platform.createdDisplays, c.createdDisplays) << c.what;
        EXPECT_EQ(platform.presentedFrames, 0) << c.what;
    }
}

TEST(StartUp, TheSmallestFrameSizedDisplayRuns) {
    FakePlatform platform;
    platform.desktop = {320, 200};
    platform.messages.push_back({MessageType::Close});
    auto program = std::make_unique<Program>();
    EXPECT_EQ(runProgram(*program, platform.calls()), 1);
    EXPECT_EQ(platform.presentedFrames, 1);
}

} // namespace
