// The audio library on the offline mixer with sound files made in the test, and once on SDL's
// dummy output device.
#include "audio/audio_library.h"
#include "support/sound_files.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

constexpr int32_t rateHz = audio::outputRateHz;

int32_t framesOf(double seconds) {
    return static_cast<int32_t>(std::lround(seconds * rateHz));
}

std::vector<int16_t> render(int32_t frames) {
    std::vector<int16_t> out(2 * static_cast<size_t>(frames));
    EXPECT_TRUE(audio::renderOffline(out.data(), frames));
    return out;
}

// Renders one frame at a time until the channel stops; returns the frames it played, or -1
// when it still played after limitFrames. `out` receives the output.
int32_t playToEnd(uint32_t channel, int32_t limitFrames, std::vector<int16_t>* out = nullptr) {
    for (int32_t frames = 0; frames < limitFrames; ++frames) {
        if (audio::channelIsActive(channel) == audio::channelStopped) {
            return frames;
        }
        std::vector<int16_t> frame = render(1);
        if (out != nullptr) {
            out->insert(out->end(), frame.begin(), frame.end());
        }
    }
    return -1;
}

// Sign changes of the left side, counting only swings beyond +-1000.
int32_t zeroCrossings(const std::vector<int16_t>& stereo, size_t fromFrame, size_t toFrame) {
    int32_t crossings = 0;
    int sign = 0;
    for (size_t i = fromFrame; i < toFrame && 2 * i < stereo.size(); ++i) {
        int16_t value = stereo[2 * i];
        int now = value > 1000 ? 1 : value < -1000 ? -1 : sign;
        crossings += sign != 0 && now != sign;
        sign = now;
    }
    return crossings;
}

int32_t peakOf(const std::vector<int16_t>& stereo, size_t fromFrame, size_t toFrame) {
    int32_t peak = 0;
    for (size_t i = 2 * fromFrame; i < 2 * toFrame && i < stereo.size(); ++i) {
        peak = std::max(peak, std::abs(int32_t{stereo[i]}));
    }
    return peak;
}

struct Calls {
    int count = 0;
    uint32_t channel = 0;
};

void countCall(uint32_t, uint32_t channel, void* user) {
    Calls& calls = *static_cast<Calls*>(user);
    ++calls.count;
    calls.channel = channel;
}

// A 16-bit mono WAV at the output rate whose frame i holds the value i - 16000.
Bytes rampWav(int32_t frames) {
    std::vector<int16_t> samples(static_cast<size_t>(frames));
    for (int32_t i = 0; i < frames; ++i) {
        samples[static_cast<size_t>(i)] = static_cast<int16_t>(i - 16000);
    }
    return makeWav16(samples, 1, rateHz);
}

int16_t rampValue(int64_t frame) {
    return static_cast<int16_t>(frame - 16000);
}

struct OfflineAudio : testing::Test {
    void SetUp() override { ASSERT_TRUE(audio::initOffline(rateHz)); }
    void TearDown() override { audio::free(); }
};

struct StreamCase {
    const char* name;
    bool ogg;
    WavFormat format;
    int32_t channels;
    int32_t rateHz;
};

TEST_F(OfflineAudio, StreamsOfEveryFormatPlayTheirLengthAtTheirPitchOnceAndNotifyTheEnd) {
    const StreamCase cases[] = {
        {"WAV 16-bit stereo 44100 Hz", false, WavFormat::s16, 2, 44100},
        {"WAV 8-bit mono 22050 Hz", false, WavFormat::u8, 1, 22050},
        {"WAV float stereo 48000 Hz", false, WavFormat::f32, 2, 48000},
        {"WAV 16-bit 6 channels 8000 Hz", false, WavFormat::s16, 6, 8000},
        {"Ogg stereo 44100 Hz", true, WavFormat::s16, 2, 44100},
        {"Ogg mono 32000 Hz", true, WavFormat::s16, 1, 32000},
    };
    constexpr double seconds = 0.25;
    for (const StreamCase& c : cases) {
        SCOPED_TRACE(c.name);
        const int32_t sourceFrames = static_cast<int32_t>(seconds * c.rateHz);
        std::vector<float> samples = sineWave(sourceFrames, c.channels, c.rateHz, 441, 0.5f);
        Bytes file = c.ogg ? makeOgg(samples, c.channels, c.rateHz)
                           : makeWav(samples, c.channels, c.rateHz, c.format);
        uint32_t stream = audio::streamCreateFile(file.data(), file.size());
        ASSERT_NE(stream, 0u);

        const int64_t lengthBytes = int64_t{sourceFrames} * c.channels * 2;
        EXPECT_EQ(audio::channelGetLength(stream), lengthBytes);
        EXPECT_NEAR(audio::channelBytesToSeconds(stream, lengthBytes), seconds, 1e-4);
        EXPECT_EQ(audio::channelIsActive(stream), audio::channelStopped);

        Calls ends;
        ASSERT_NE(audio::channelSetSync(stream, audio::SyncType::end, countCall, &ends), 0u);
        ASSERT_TRUE(audio::channelPlay(stream, false));
        std::vector<int16_t> out;
        int32_t played = playToEnd(stream, framesOf(1.0), &out);
        EXPECT_NEAR(played, framesOf(seconds), 2);
        EXPECT_NEAR(zeroCrossings(out, 0, out.size() / 2), 2 * 441 * seconds, 4);
        EXPECT_NEAR(peakOf(out, 0, out.size() / 2), 16384, 800);
        EXPECT_EQ(audio::channelGetPosition(stream), lengthBytes);

        EXPECT_EQ(ends.count, 0) << "delivered only by deliverNotifications";
        audio::deliverNotifications();
        EXPECT_EQ(ends.count, 1);
        EXPECT_EQ(ends.channel, stream);

        // A channel that ended starts again from its beginning; the sync was one-time.
        ASSERT_TRUE(audio::channelPlay(stream, false));
        EXPECT_EQ(audio::channelGetPosition(stream), 0);
        EXPECT_NEAR(playToEnd(stream, framesOf(1.0)), framesOf(seconds), 2);
        audio::deliverNotifications();
        EXPECT_EQ(ends.count, 1);
        EXPECT_TRUE(audio::streamFree(stream));
    }
}

TEST_F(OfflineAudio, PositionsSetPlayStopAndRestartCountInTheChannelsOwnBytes) {
    Bytes file = rampWav(32000);
    uint32_t stream = audio::streamCreateFile(file.data(), file.size());
    ASSERT_NE(stream, 0u);

    // The next sound comes from the position set.
    ASSERT_TRUE(audio::channelSetPosition(stream, 10000 * 2));
    ASSERT_TRUE(audio::channelPlay(stream, false));
    EXPECT_EQ(render(100)[0], rampValue(10000));
    EXPECT_EQ(audio::channelGetPosition(stream), 10100 * 2);

    // Stopped, it stays there; played without restart, it goes on from there.
    ASSERT_TRUE(audio::channelStop(stream));
    EXPECT_EQ(audio::channelIsActive(stream), audio::channelStopped);
    EXPECT_EQ(render(100)[0], 0);
    EXPECT_EQ(audio::channelGetPosition(stream), 10100 * 2);
    ASSERT_TRUE(audio::channelPlay(stream, false));
    EXPECT_EQ(render(1)[0], rampValue(10100));

    // Restart starts from the beginning.
    ASSERT_TRUE(audio::channelPlay(stream, true));
    EXPECT_EQ(audio::channelGetPosition(stream), 0);
    EXPECT_EQ(render(1)[0], rampValue(0));

    EXPECT_FALSE(audio::channelSetPosition(stream, 32001 * 2)) << "beyond the end";
    EXPECT_EQ(audio::channelSecondsToBytes(stream, 0.5), 22050 * 2);
    EXPECT_DOUBLE_EQ(audio::channelBytesToSeconds(stream, 44100 * 2), 1.0);
    EXPECT_EQ(audio::channelSecondsToBytes(stream, -1.0), -1);
    EXPECT_EQ(audio::channelSecondsToBytes(stream, std::nan("")), -1);
}

TEST_F(OfflineAudio, PauseHoldsEveryChannelWhereItIsAndStopEndsThem) {
    Bytes file = rampWav(32000);
    uint32_t stream = audio::streamCreateFile(file.data(), file.size());
    ASSERT_TRUE(audio::channelPlay(stream, false));
    render(4410);

    ASSERT_TRUE(audio::pause());
    EXPECT_EQ(audio::channelIsActive(stream), audio::channelPaused);
    EXPECT_EQ(audio::channelGetLevel(stream), 0u);
    std::vector<int16_t> paused = render(framesOf(0.5));
    EXPECT_EQ(peakOf(paused, 0, paused.size() / 2), 0);
    EXPECT_EQ(audio::channelGetPosition(stream), 4410 * 2);

    ASSERT_TRUE(audio::start());
    EXPECT_EQ(audio::channelIsActive(stream), audio::channelPlaying);
    EXPECT_EQ(render(1)[0], rampValue(4410));

    ASSERT_TRUE(audio::stop());
    EXPECT_EQ(audio::channelIsActive(stream), audio::channelStopped);
    ASSERT_TRUE(audio::start());
    EXPECT_EQ(audio::channelIsActive(stream), audio::channelStopped);
}

struct LevelCase {
    const char* name;
    int16_t left[2]; // the two halves of each 100-frame period
    int16_t right[2];
    uint32_t expectedLeft;
    uint32_t expectedRight;
};

TEST_F(OfflineAudio, LevelIsThePeakOfTheLast20MsLeftInTheLowBits) {
    const LevelCase cases[] = {
        {"full-scale square wave", {32767, -32768}, {32767, -32768}, 32768, 32768},
        {"silence", {0, 0}, {0, 0}, 0, 0},
        {"loud left, half right", {32767, -32767}, {16384, -16384}, 32767, 16384},
    };
    for (const LevelCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<int16_t> samples;
        for (int32_t i = 0; i < 44100; ++i) {
            samples.push_back(c.left[i % 100 / 50]);
            samples.push_back(c.right[i % 100 / 50]);
        }
        Bytes file = makeWav16(samples, 2, rateHz);
        uint32_t stream = audio::streamCreateFile(file.data(), file.size());
        ASSERT_TRUE(audio::channelPlay(stream, false));
        render(framesOf(0.05));
        uint32_t level = audio::channelGetLevel(stream);
        EXPECT_EQ(level & 0xFFFF, c.expectedLeft);
        EXPECT_EQ(level >> 16, c.expectedRight);
        audio::channelStop(stream);
        EXPECT_EQ(audio::channelGetLevel(stream), 0u) << "a stopped channel";
        audio::streamFree(stream);
    }

    // 50 ms of full scale, then silence: 30 ms into the silence the level has dropped to 0.
    std::vector<float> burst = sineWave(framesOf(0.05), 1, rateHz, 441, 1.0f);
    burst.resize(static_cast<size_t>(framesOf(0.2)), 0.0f);
    Bytes file = makeWav(burst, 1, rateHz, WavFormat::s16);
    uint32_t stream = audio::streamCreateFile(file.data(), file.size());
    ASSERT_TRUE(audio::channelPlay(stream, false));
    render(framesOf(0.05));
    EXPECT_GT(audio::channelGetLevel(stream) & 0xFFFF, 30000u);
    render(framesOf(0.03));
    EXPECT_EQ(audio::channelGetLevel(stream), 0u);
}

TEST_F(OfflineAudio, ModuleRepeatsForeverOnlyWhenAskedAndIsNoStream) {
    Bytes module = makeItModule();
    EXPECT_EQ(audio::streamCreateFile(module.data(), module.size()), 0u);

    for (bool repeat : {true, false}) {
        SCOPED_TRACE(repeat ? "repeating" : "once");
        uint32_t music =
            audio::musicLoad(module.data(), module.size(), repeat ? audio::musicLoop : 0, rateHz);
        ASSERT_NE(music, 0u);
        EXPECT_NEAR(audio::channelBytesToSeconds(music, audio::channelGetLength(music)),
                    itModulePassSeconds, 0.001);
        Calls ends;
        audio::channelSetSync(music, audio::SyncType::end, countCall, &ends);
        ASSERT_TRUE(audio::channelPlay(music, false));

        const int32_t pass = framesOf(itModulePassSeconds);
        std::vector<int16_t> out = render(3 * pass);
        audio::deliverNotifications();
        const int passesHeard = repeat ? 3 : 1;
        for (int i = 0; i < passesHeard; ++i) {
            SCOPED_TRACE(i);
            size_t start = static_cast<size_t>(i * pass);
            EXPECT_GT(peakOf(out, start + pass / 16, start + pass * 7 / 16), 2000) << "tone";
            EXPECT_LT(peakOf(out, start + pass * 9 / 16, start + pass * 15 / 16), 50) << "cut";
        }
        if (repeat) {
            EXPECT_EQ(audio::channelIsActive(music), audio::channelPlaying);
            EXPECT_EQ(ends.count, 0);
        } else {
            EXPECT_EQ(peakOf(out, static_cast<size_t>(pass) + 10, out.size() / 2), 0);
            EXPECT_EQ(audio::channelIsActive(music), audio::channelStopped);
            EXPECT_EQ(ends.count, 1);
        }
        EXPECT_FALSE(audio::streamFree(music)) << "a module is no stream";
        EXPECT_TRUE(audio::musicFree(music));
    }
}

TEST_F(OfflineAudio, DataThatIsNeitherStreamNorModuleIsRefused) {
    Bytes noise = noiseBytes(4000);
    Bytes wav = makeWav(sineWave(1000, 1, rateHz, 441, 0.5f), 1, rateHz, WavFormat::s16);
    Bytes noChannels = wav;
    noChannels[22] = 0;
    Bytes noRate = wav;
    std::fill_n(noRate.begin() + 24, 4, 0);
    Bytes oggHeaderOnly(makeOgg(sineWave(1000, 1, rateHz, 441, 0.5f), 1, rateHz));
    oggHeaderOnly.resize(60);
    Bytes text{'h', 'e', 'l', 'l', 'o'};
    Bytes oggMagic{'O', 'g', 'g', 'S'};
    Bytes riffMagic{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};

    const std::pair<const char*, const Bytes*> cases[] = {
        {"noise", &noise},
        {"WAV of 0 channels", &noChannels},
        {"WAV at 0 Hz", &noRate},
        {"Ogg cut in its first page", &oggHeaderOnly},
        {"text", &text},
        {"Ogg magic alone", &oggMagic},
        {"RIFF magic alone", &riffMagic},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        EXPECT_EQ(audio::streamCreateFile(bytes->data(), bytes->size()), 0u);
        EXPECT_EQ(audio::musicLoad(bytes->data(), bytes->size(), audio::musicLoop, rateHz), 0u);
    }
    EXPECT_EQ(audio::streamCreateFile(nullptr, 0), 0u);
    EXPECT_EQ(audio::musicLoad(nullptr, 0, 0, rateHz), 0u);
}

TEST_F(OfflineAudio, DamagedStreamsLoadOrFailButAlwaysEnd) {
    const int32_t frames = framesOf(1.0);
    std::vector<float> tone = sineWave(frames, 2, rateHz, 441, 0.5f);
    Bytes ogg = makeOgg(tone, 2, rateHz);
    Bytes wav = makeWav(tone, 2, rateHz, WavFormat::s16);

    std::vector<std::pair<std::string, Bytes>> cases;
    for (int percent : {20, 50, 90}) {
        Bytes cut(ogg.begin(), ogg.begin() + static_cast<ptrdiff_t>(ogg.size() * percent / 100));
        cases.emplace_back("Ogg cut at " + std::to_string(percent) + "%", cut);
    }
    Bytes scrambled = ogg;
    for (size_t i = scrambled.size() / 4; i < scrambled.size(); i += 97) {
        scrambled[i] ^= 0x5A;
    }
    cases.emplace_back("Ogg with scrambled bytes", scrambled);
    Bytes wavCut(wav.begin(), wav.begin() + static_cast<ptrdiff_t>(wav.size() / 2 + 1));
    cases.emplace_back("WAV cut inside a frame", wavCut);

    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        uint32_t stream = audio::streamCreateFile(bytes.data(), bytes.size());
        if (stream == 0) {
            continue;
        }
        ASSERT_TRUE(audio::channelPlay(stream, false));
        EXPECT_GE(playToEnd(stream, frames + framesOf(0.5)), 0) << "plays on past its length";
        int64_t half = audio::channelGetLength(stream) / 4 * 2;
        if (audio::channelSetPosition(stream, static_cast<uint64_t>(half))) {
            audio::channelPlay(stream, false);
            EXPECT_GE(playToEnd(stream, frames), 0);
        }
        audio::streamFree(stream);
    }
}

// A claim of nearly 4 GiB: what the file holds is read, and no more is asked of the allocator.
TEST_F(OfflineAudio, WavClaimingMoreDataThanItHoldsPlaysWhatIsThere) {
    const int32_t frames = 2000;
    Bytes wav =
        makeWav(sineWave(frames, 1, rateHz, 441, 0.5f), 1, rateHz, WavFormat::s16, 0xFFFFFFF0);
    uint32_t stream = audio::streamCreateFile(wav.data(), wav.size());
    ASSERT_NE(stream, 0u);
    EXPECT_EQ(audio::channelGetLength(stream), frames * 2);
    ASSERT_TRUE(audio::channelPlay(stream, false));
    EXPECT_EQ(playToEnd(stream, framesOf(1.0)), frames);
}

TEST_F(OfflineAudio, FrequencySlideToZeroSlowsLikeATapeAndNotifiesItsEnd) {
    const int32_t frames = framesOf(5.0);
    Bytes wav = makeWav(sineWave(frames, 2, rateHz, 441, 0.5f), 2, rateHz, WavFormat::s16);
    uint32_t stream = audio::streamCreateFile(wav.data(), wav.size());
    Calls slideEnds;
    ASSERT_NE(audio::channelSetSync(stream, audio::SyncType::slideEnd, countCall, &slideEnds), 0u);
    ASSERT_TRUE(audio::channelPlay(stream, false));
    ASSERT_TRUE(
        audio::channelSlideAttribute(stream, audio::ChannelAttribute::frequency, 0.0f, 2000));

    std::vector<int16_t> slide = render(framesOf(1.95));
    audio::deliverNotifications();
    EXPECT_EQ(slideEnds.count, 0);
    render(framesOf(0.05));
    audio::deliverNotifications();
    EXPECT_EQ(slideEnds.count, 1);

    // Falling linearly to 0 over 2 s, the tape moves on by 1 s of its sound.
    EXPECT_NEAR(audio::channelGetPosition(stream), framesOf(1.0) * 4, 300 * 4);
    int32_t early = zeroCrossings(slide, 0, framesOf(0.4));
    int32_t late = zeroCrossings(slide, framesOf(1.2), framesOf(1.6));
    EXPECT_NEAR(early, 2 * 441 * 0.4 * 0.9, 20) << "pitch over the first 0.4 s";
    EXPECT_NEAR(late, 2 * 441 * 0.4 * 0.3, 20) << "pitch over 1.2 to 1.6 s";
    std::vector<int16_t> after = render(framesOf(0.1));
    EXPECT_EQ(peakOf(after, 0, after.size() / 2), 0) << "a stopped tape is silent";
    EXPECT_EQ(audio::channelIsActive(stream), audio::channelPlaying);

    // A slide keeps time with the output while its channel is stopped.
    audio::channelStop(stream);
    audio::channelSetSync(stream, audio::SyncType::slideEnd, countCall, &slideEnds);
    audio::channelSlideAttribute(stream, audio::ChannelAttribute::frequency, 44100.0f, 500);
    render(framesOf(0.51));
    audio::deliverNotifications();
    EXPECT_EQ(slideEnds.count, 2);

    EXPECT_FALSE(
        audio::channelSlideAttribute(stream, audio::ChannelAttribute::frequency, -1.0f, 10));
}

TEST_F(OfflineAudio, StoppingAChannelCancelsItsEndNotification) {
    Bytes wav = makeWav(sineWave(framesOf(0.1), 1, rateHz, 441, 0.5f), 1, rateHz, WavFormat::s16);
    uint32_t stream = audio::streamCreateFile(wav.data(), wav.size());
    Calls ends;

    // Registered, then stopped before the end.
    audio::channelSetSync(stream, audio::SyncType::end, countCall, &ends);
    audio::channelPlay(stream, false);
    render(framesOf(0.05));
    audio::channelStop(stream);
    audio::channelPlay(stream, false);
    playToEnd(stream, framesOf(1.0));
    audio::deliverNotifications();
    EXPECT_EQ(ends.count, 0);

    // Found, then stopped before its delivery.
    audio::channelSetSync(stream, audio::SyncType::end, countCall, &ends);
    audio::channelPlay(stream, false);
    playToEnd(stream, framesOf(1.0));
    audio::channelStop(stream);
    audio::deliverNotifications();
    EXPECT_EQ(ends.count, 0);
}

TEST_F(OfflineAudio, FreeingAChannelAmongOthersLeavesTheOthersPlaying) {
    Bytes wavs[3];
    uint32_t streams[3];
    Calls ends[3];
    for (int i = 0; i < 3; ++i) {
        wavs[i] = makeWav(sineWave(framesOf(0.1 * (i + 1)), 1, rateHz, 441, 0.2f), 1, rateHz,
                          WavFormat::s16);
        streams[i] = audio::streamCreateFile(wavs[i].data(), wavs[i].size());
        audio::channelSetSync(streams[i], audio::SyncType::end, countCall, &ends[i]);
        audio::channelPlay(streams[i], false);
    }
    render(framesOf(0.15));
    // The first has ended and its notification waits; freeing the middle one drops its own.
    EXPECT_TRUE(audio::streamFree(streams[1]));
    render(framesOf(0.2));
    audio::deliverNotifications();
    EXPECT_EQ(ends[0].count, 1);
    EXPECT_EQ(ends[1].count, 0);
    EXPECT_EQ(ends[2].count, 1);
    EXPECT_EQ(ends[2].channel, streams[2]);
}

TEST_F(OfflineAudio, CallsOnHandleZeroOrAFreedHandleFailHarmlessly) {
    Bytes wav = makeWav(sineWave(1000, 1, rateHz, 441, 0.5f), 1, rateHz, WavFormat::s16);
    uint32_t freed = audio::streamCreateFile(wav.data(), wav.size());
    ASSERT_TRUE(audio::streamFree(freed));
    Calls calls;
    for (uint32_t handle : {0u, freed}) {
        SCOPED_TRACE(handle);
        EXPECT_FALSE(audio::channelPlay(handle, false));
        EXPECT_FALSE(audio::channelStop(handle));
        EXPECT_EQ(audio::channelIsActive(handle), audio::channelStopped);
        EXPECT_FALSE(audio::channelSetPosition(handle, 0));
        EXPECT_EQ(audio::channelGetPosition(handle), -1);
        EXPECT_EQ(audio::channelGetLength(handle), -1);
        EXPECT_EQ(audio::channelBytesToSeconds(handle, 100), -1.0);
        EXPECT_EQ(audio::channelSecondsToBytes(handle, 1.0), -1);
        EXPECT_EQ(audio::channelSetSync(handle, audio::SyncType::end, countCall, &calls), 0u);
        EXPECT_FALSE(
            audio::channelSlideAttribute(handle, audio::ChannelAttribute::frequency, 0, 10));
        EXPECT_EQ(audio::channelGetLevel(handle), 0u);
        EXPECT_FALSE(audio::streamFree(handle));
        EXPECT_FALSE(audio::musicFree(handle));
    }
}

TEST(AudioLibrary, WithoutInitNothingLoadsAndEveryCallIsHarmless) {
    Bytes wav = makeWav(sineWave(1000, 1, rateHz, 441, 0.5f), 1, rateHz, WavFormat::s16);
    EXPECT_EQ(audio::streamCreateFile(wav.data(), wav.size()), 0u);
    EXPECT_FALSE(audio::start());
    EXPECT_FALSE(audio::pause());
    EXPECT_FALSE(audio::stop());
    EXPECT_FALSE(audio::free());
    EXPECT_FALSE(audio::renderOffline(nullptr, 0));
    audio::deliverNotifications();
}

// Mixing on one thread while the main thread drives the channels, as the device does.
TEST_F(OfflineAudio, CallsFromTheMainThreadWhileAnotherThreadMixes) {
    Bytes wav = rampWav(32000);
    uint32_t stream = audio::streamCreateFile(wav.data(), wav.size());
    Calls ends;
    std::atomic<bool> done{false};
    std::thread mixer([&done] {
        std::vector<int16_t> out(2 * 256);
        while (!done) {
            audio::renderOffline(out.data(), 256);
        }
    });
    // Five times: from near its end, the stream plays to its end and the end is delivered.
    int registered = 0;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (int i = 0; ends.count < 5 && std::chrono::steady_clock::now() < deadline; ++i) {
        if (registered == ends.count) {
            audio::channelSetSync(stream, audio::SyncType::end, countCall, &ends);
            audio::channelSetPosition(stream, 31000 * 2);
            audio::channelPlay(stream, false);
            ++registered;
        }
        audio::channelGetLevel(stream);
        audio::channelGetPosition(stream);
        audio::channelIsActive(stream);
        if (i % 100 == 0) {
            audio::pause();
            audio::start();
        }
        audio::deliverNotifications();
    }
    done = true;
    mixer.join();
    EXPECT_EQ(ends.count, 5);
}

// The real output path on SDL's dummy driver, which consumes sound in real time; and a driver
// that does not exist, which is what a machine without a sound card looks like.
TEST(AudioDevice, DummyDeviceDeliversTheEndOfAClipAndAMissingDeviceLeavesAllSilent) {
    SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(audio::init(rateHz));
    EXPECT_FALSE(audio::init(rateHz)) << "already initialised";
    EXPECT_FALSE(audio::renderOffline(nullptr, 0)) << "the device mixes";
    Bytes wav = makeWav(sineWave(framesOf(0.05), 2, rateHz, 441, 0.5f), 2, rateHz, WavFormat::s16);
    uint32_t stream = audio::streamCreateFile(wav.data(), wav.size());
    ASSERT_NE(stream, 0u);
    Calls ends;
    audio::channelSetSync(stream, audio::SyncType::end, countCall, &ends);
    ASSERT_TRUE(audio::channelPlay(stream, false));
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (ends.count == 0 && std::chrono::steady_clock::now() < deadline) {
        audio::channelGetLevel(stream);
        audio::deliverNotifications();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_EQ(ends.count, 1);
    EXPECT_EQ(audio::channelIsActive(stream), audio::channelStopped);
    EXPECT_TRUE(audio::pause());
    EXPECT_TRUE(audio::start());
    EXPECT_TRUE(audio::stop());
    EXPECT_TRUE(audio::free());

    SDL_setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    EXPECT_FALSE(audio::init(rateHz));
    EXPECT_EQ(audio::streamCreateFile(wav.data(), wav.size()), 0u);
    EXPECT_FALSE(audio::free());
}

} // namespace
