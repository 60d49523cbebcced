#include "core/main_loop.h"

#include "audio/audio_library.h"
#include "support/fake_platform.h"
#include "support/sound_files.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// A screen that writes down every call it gets, and can act on a key or a tick.
struct RecordingScreen : GUIElement {
    std::string name;
    std::vector<std::string>& journal;
    std::function<void()> onKeyAction;
    std::function<void()> onTickAction;

    RecordingScreen(std::string screenName, std::vector<std::string>& sharedJournal)
        : name(std::move(screenName)), journal(sharedJournal) {}

    bool onClick(int32_t x, int32_t y) override {
        journal.push_back(name + ".click " + std::to_string(x) + "," + std::to_string(y));
        return true;
    }
    bool onKey(uint16_t code) override {
        journal.push_back(name + ".key " + std::to_string(code));
        if (onKeyAction) {
            onKeyAction();
        }
        return true;
    }
    void render() override { journal.push_back(name + ".render"); }
    void tick() override {
        journal.push_back(name + ".tick");
        if (onTickAction) {
            onTickAction();
        }
    }
};

class MainLoop : public testing::Test {
protected:
    FakePlatform platform;
    std::unique_ptr<Program> program = std::make_unique<Program>();
    std::vector<std::string> journal;
    RecordingScreen first{"first", journal};
    RecordingScreen second{"second", journal};

    void SetUp() override {
        program->screens[0] = &first;
        program->screens[1] = &second;
        program->input.width = 640;
        program->input.height = 400;
        program->geometry = computeFrameGeometry(640, 400);
        program->windowBuffer = std::make_unique<uint32_t[]>(640 * 400);
        program->tickPeriodMs = 10;
    }

    void pass() { runLoopPass(*program, platform.calls()); }

    int ticksIn(const std::vector<std::string>& entries) const {
        int ticks = 0;
        for (const std::string& entry : entries) {
            ticks += entry.ends_with(".tick") ? 1 : 0;
        }
        return ticks;
    }
};

TEST_F(MainLoop, ElapsedEqualToThePeriodRunsNoTickOneMoreRunsOne) {
    struct Case {
        uint32_t elapsedMs;
        int ticks;
    };
    for (Case c : {Case{9, 0}, Case{10, 0}, Case{11, 1}, Case{20, 1}, Case{21, 2}}) {
        journal.clear();
        program->lastTickMs = 5000;
        platform.nowMs = 5000 + c.elapsedMs;
        pass();
        EXPECT_EQ(ticksIn(journal), c.ticks) << c.elapsedMs << " ms elapsed";
    }
}

TEST_F(MainLoop, AStallRunsEveryMissedTickBeforeTheNextFrame) {
    program->lastTickMs = 0;
    platform.nowMs = 1000;
    pass();
    EXPECT_EQ(ticksIn(journal), 99);
    EXPECT_EQ(journal.back(), "first.render");
    EXPECT_EQ(program->lastTickMs, 990u) << "the remaining 10 ms count toward the next pass";

    journal.clear();
    platform.nowMs = 1001;
    pass();
    EXPECT_EQ(ticksIn(journal), 1);
}

TEST_F(MainLoop, TicksContinueEvenlyAcrossTheClockWrap) {
    program->lastTickMs = 0xFFFFFF00u;
    std::vector<uint32_t> tickTimes;
    first.onTickAction = [&] { tickTimes.push_back(program->lastTickMs); };
    for (uint32_t ms = 0; ms <= 1000; ++ms) {
        platform.nowMs = 0xFFFFFF00u + ms;
        pass();
    }
    ASSERT_EQ(tickTimes.size(), 99u);
    for (size_t i = 1; i < tickTimes.size(); ++i) {
        EXPECT_EQ(tickTimes[i] - tickTimes[i - 1], 10u);
    }
    EXPECT_LT(tickTimes.back(), 0x1000u) << "the ticks went on past the wrap";
}

TEST_F(MainLoop, KeysClickTicksAndRenderComeInThisOrderToOneScreen) {
    platform.key(32);
    pass(); // the key message
    platform.click(100, 60);
    pass(); // the press
    journal.clear();
    program->lastTickMs = platform.nowMs;
    platform.nowMs += 11;
    program->input.keyQueue.append(89);
    pass(); // the release: the queued key, the click, a tick, the render
    EXPECT_EQ(journal, (std::vector<std::string>{"first.key 89", "first.click 50,30", "first.tick",
                                                 "first.render"}));
    EXPECT_FALSE(program->input.clickPending);
}

TEST_F(MainLoop, KeysQueuedInOnePassAllReachTheScreenActiveWhenItBegan) {
    first.onKeyAction = [&] { program->screenId = 2; };
    program->input.keyQueue.append(78);
    program->input.keyQueue.append(89);
    pass();
    EXPECT_EQ(journal, (std::vector<std::string>{"first.key 78", "first.key 89", "first.render"}));
    EXPECT_EQ(program->input.keyQueue.count, 0);

    journal.clear();
    pass();
    EXPECT_EQ(journal, (std::vector<std::string>{"second.render"}));
}

TEST_F(MainLoop, ATickThatSwitchesIsFollowedByTheRestOfThePassOnTheOldScreen) {
    first.onTickAction = [&] { program->screenId = 2; };
    program->lastTickMs = 0;
    platform.nowMs = 35;
    pass();
    EXPECT_EQ(journal, (std::vector<std::string>{"first.tick", "first.tick", "first.tick",
                                                 "first.render"}));
}

TEST_F(MainLoop, ATickThatChangesThePeriodGovernsTheNextComparison) {
    first.onTickAction = [&] { program->tickPeriodMs = 75; };
    program->lastTickMs = 0;
    platform.nowMs = 50;
    pass();
    EXPECT_EQ(ticksIn(journal), 1) << "after the first tick 40 ms remain, less than 75";
}

TEST_F(MainLoop, EscapeEndsTheRunAfterThePassIsPresented) {
    platform.messages.push_back({MessageType::KeyDown, keyEscape});
    runMainLoop(*program, platform.calls());
    EXPECT_EQ(platform.presentedFrames, 1);
    EXPECT_EQ(journal, (std::vector<std::string>{"first.render"}));
}

TEST_F(MainLoop, TheRenderedFrameIsPresentedEnlarged) {
    struct PaintingScreen : GUIElement {
        Program& program;
        explicit PaintingScreen(Program& owner) : program(owner) {}
        void render() override { program.framebuffer.at(319, 199) = 0xFF123456; }
    } painter(*program);
    program->screens[0] = &painter;
    pass();
    ASSERT_EQ(platform.lastPresented.size(), 640u * 400u);
    EXPECT_EQ(platform.lastPresented[399 * 640 + 639], 0xFF123456u);
    EXPECT_EQ(platform.lastPresented[398 * 640 + 638], 0xFF123456u);
    EXPECT_EQ(platform.lastPresented[397 * 640 + 637], 0u);
}

struct Delivery {
    const FakePlatform* platform;
    int calls = 0;
    size_t messagesWaiting = 0;
};

void recordDelivery(uint32_t, uint32_t, void* user) {
    Delivery& delivery = *static_cast<Delivery*>(user);
    ++delivery.calls;
    delivery.messagesWaiting = delivery.platform->messages.size();
}

TEST_F(MainLoop, AudioNotificationsRunAtTheStartOfAPassBeforeTheMessagePump) {
    ASSERT_TRUE(audio::initOffline(audio::outputRateHz));
    Bytes wav = makeWav16({100, 200, 300}, 1, audio::outputRateHz);
    uint32_t stream = audio::streamCreateFile(wav.data(), wav.size());
    Delivery delivery{&platform};
    audio::channelSetSync(stream, audio::SyncType::end, recordDelivery, &delivery);
    audio::channelPlay(stream, false);
    int16_t out[2 * 10];
    audio::renderOffline(out, 10);
    platform.key('A');

    pass();
    EXPECT_EQ(delivery.calls, 1);
    EXPECT_EQ(delivery.messagesWaiting, 1u);
    pass();
    EXPECT_EQ(delivery.calls, 1);
    audio::free();
}

} // namespace
