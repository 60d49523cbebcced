#include "audio.h"
#include "dsp.h"
#include "song.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>

namespace {

const char* kInstruments = "instrument sq tone shape=pulse duty=0.5 sustain=1\n"
                           "instrument tri tone shape=triangle\n"
                           "instrument lead tone shape=saw detune=8 drive=4 cutoff=5000\n"
                           "instrument kick kick\n"
                           "instrument hat hat length=40\n";

bool compile(const std::string& text, ItModule& module, std::string& error) {
    InstrumentSet instruments;
    Song song;
    if (!parseInstruments(kInstruments, instruments, error)) {
        return false;
    }
    return parseSong(text, song, error) && compileSong(song, instruments, module, error);
}

// The cell of a channel at a step of the song, across its patterns in play order.
ItCell cellAt(const ItModule& module, int32_t channel, int32_t step) {
    for (uint8_t order : module.orders) {
        const ItPattern& pattern = module.patterns[order];
        if (step < pattern.rows) {
            return pattern.cells[step][channel];
        }
        step -= pattern.rows;
    }
    return ItCell();
}

// The strongest frequency of the sound between two times, to the FFT's resolution.
double strongestHz(const StereoAudio& audio, double fromSeconds) {
    const size_t size = 65536;
    std::vector<std::complex<double>> values(size);
    size_t first = static_cast<size_t>(fromSeconds * 44100);
    for (size_t i = 0; i < size && first + i < audio.frames(); ++i) {
        values[i] = audio.samples[2 * (first + i)] * (0.5 - 0.5 * std::cos(2 * kPi * i / size));
    }
    fft(values, false);
    size_t best = 1;
    for (size_t k = 1; k < size / 2; ++k) {
        if (std::abs(values[k]) > std::abs(values[best])) {
            best = k;
        }
    }
    return static_cast<double>(best) * 44100 / size;
}

TEST(SongNotation, NotesSoundAtTheirPitchInEveryRange) {
    struct Case {
        const char* instrument;
        const char* note;
        double hz;
    };
    const Case cases[] = {
        {"sq", "a2", 110},   {"sq", "a4", 440},     {"tri", "e6", 1318.5},
        {"lead", "a3", 220}, {"lead", "d5", 587.3},
    };
    for (const Case& c : cases) {
        std::string text = std::string("tempo 120\nvoice v ") + c.instrument +
                           "\nsection s bars=2\n v " + c.note + ":32\nplay s\n";
        ItModule module;
        std::string error;
        ASSERT_TRUE(compile(text, module, error)) << error;
        std::vector<uint8_t> file;
        StereoAudio audio;
        ASSERT_TRUE(writeItModule(module, file, error)) << error;
        ASSERT_TRUE(renderModule(file, 0, audio, error)) << error;
        EXPECT_NEAR(strongestHz(audio, 0.5), c.hz, c.hz * 0.01) << c.instrument << " " << c.note;
    }
}

TEST(SongNotation, LinesBecomeTheCellsTheyDescribe) {
    const char* text = "tempo 140\n"
                       "kit k=kick:60 h=hat:30\n"
                       "voice m sq root=c3 glide=30\n"
                       "voice e tri echo=m delay=2\n"
                       "drums d\n"
                       "section s bars=2\n"
                       "  chords Am | C G\n"
                       "  m  c4:2 d#4 _:4 r:8 | @arp:4 @3 @5' >@1,:4\n"
                       "  d  [ k.h. ]*2 kkhh\n"
                       "play s\n";
    ItModule module;
    std::string error;
    ASSERT_TRUE(compile(text, module, error)) << error;
    ASSERT_EQ(module.channels, 3); // three voices; no tempo change or loop needs a fourth
    struct Expected {
        int32_t channel, step;
        int16_t note;
        uint8_t effect, effectParam;
    };
    const Expected cells[] = {
        {0, 0, 60, 0, 0}, // c4
        {0, 2, 63, 0, 0}, // d#4, tied for four more steps
        {0, 4, ItCell::kNoNote, 0, 0},
        {0, 8, ItCell::kNoteOff, 0, 0},                  // the rest
        {0, 16, 48, kEffectArpeggio, 0x47},              // C major from c3
        {0, 19, ItCell::kNoNote, kEffectArpeggio, 0x47}, // held for the note's four steps
        {0, 20, 52, 0, 0},                               // the third of C
        {0, 24, 55 + 7 + 12, 0, 0},                      // G's fifth an octave up (root g3)
        {0, 28, 55 - 12, kEffectPortamento, 30},         // a glide to G's root an octave down
        {0, 31, ItCell::kNoNote, kEffectPortamento, 30},
        {1, 2, 60, 0, 0}, // the echo, two steps later
        {1, 10, ItCell::kNoteOff, 0, 0},
        {2, 0, 60, 0, 0}, // kick
        {2, 4, 60, 0, 0}, // the group again
        {2, 9, 60, 0, 0}, // the line repeats to fill two bars
        {2, 12, 60, 0, 0},
        {2, 1, ItCell::kNoNote, 0, 0},
    };
    for (const Expected& cell : cells) {
        ItCell got = cellAt(module, cell.channel, cell.step);
        EXPECT_EQ(got.note, cell.note) << "channel " << cell.channel << " step " << cell.step;
        EXPECT_EQ(got.effect, cell.effect) << "channel " << cell.channel << " step " << cell.step;
        EXPECT_EQ(got.effectParam, cell.effectParam)
            << "channel " << cell.channel << " step " << cell.step;
    }
    // The kit plays its own instruments at their own volumes.
    EXPECT_EQ(cellAt(module, 2, 0).volume, 60);
    EXPECT_EQ(cellAt(module, 2, 2).volume, 30);
    EXPECT_NE(cellAt(module, 2, 0).instrument, cellAt(module, 2, 2).instrument);
}

TEST(SongNotation, VariationsRepeatsAndLoopsShapeTheOrderList) {
    const char* text = "tempo 120\n"
                       "voice m sq\n"
                       "section a bars=4\n  m c4:16\n"
                       "section b bars=8 from=a transpose=2\n"
                       "section c bars=4 from=a\n  m e4:16\n"
                       "play a b*2 c\n"
                       "loop b\n";
    ItModule module;
    std::string error;
    ASSERT_TRUE(compile(text, module, error)) << error;
    // a is one pattern, b two (8 bars in 64-row pieces, both equal), c one.
    ASSERT_EQ(module.orders.size(), 6u);
    EXPECT_EQ(module.patterns.size(), 3u);
    EXPECT_EQ(cellAt(module, 0, 64).note, 62);  // b: a's line, two semitones up
    EXPECT_EQ(cellAt(module, 0, 320).note, 64); // c: its own line
    const ItCell last = cellAt(module, 1, 383);
    EXPECT_EQ(last.effect, kEffectJump);
    EXPECT_EQ(last.effectParam, 1); // the first order of b
}

TEST(SongNotation, MistakesAreReportedWithTheirLine) {
    struct Case {
        const char* body; // after "tempo 120", "voice m sq", "drums d" (lines 1 to 3)
        const char* errorPart;
    };
    const Case cases[] = {
        {"section s bars=1\n m c4:6 d4:6 | e4:4\nplay s\n", "line 5: m: a bar line after 12 steps"},
        {"section s bars=1\n m h4:4\nplay s\n", "line 5: 'h4:4' in m: not a note"},
        {"section s bars=1\n m @1:16\nplay s\n",
         "line 5: '@1:16' in m: a chord tone needs a chords"},
        {"section s bars=1\n chords Xm\n m c4\nplay s\n", "line 5: 'Xm' is not a chord"},
        {"section s bars=1\n d k...\nplay s\n", "line 5: d: 'k' is not in the kit"},
        {"section s bars=1\n m c4:32\nplay s\n", "m is 32 steps long, the section 16"},
        {"section s bars=1\n q c4\nplay s\n", "line 5: no voice 'q'"},
        {"section s bars=1\n m >c4\nplay s\n", "a glide needs glide=SPEED"},
        {"section s bars=1\n m [ c4 ]\nplay s\n", "needs a count"},
        {"section s bars=1 from=t\nplay s\n", "line 4: from=t: no such section"},
        {"section s\nplay s\n", "line 4: a section needs bars=N"},
        {"section s bars=1\n m c4:16\nplay s t\n", "play: no section 't'"},
        {"section s bars=1\n m c4:16\nplay s\nloop t\n", "loop: 't' is not played"},
        {"voice z nothing\nsection s bars=1\nplay s\n", "line 4: no instrument 'nothing'"},
        {"section s bars=1\n m c4:16\n", "no 'play' line"},
    };
    for (const Case& c : cases) {
        std::string text = std::string("tempo 120\nvoice m sq\ndrums d\n") + c.body;
        ItModule module;
        std::string error;
        EXPECT_FALSE(compile(text, module, error)) << c.body;
        EXPECT_NE(error.find(c.errorPart), std::string::npos) << "got: " << error;
    }
}

TEST(Instruments, BrokenDefinitionsAreRefusedWithTheLine) {
    struct Case {
        const char* text;
        const char* errorPart;
    };
    const Case cases[] = {
        {"instrument a tone\ninstrument a tone\n", "line 2: instrument 'a' is defined twice"},
        {"instrument a flute\n", "line 1: 'flute' is not a kind"},
        {"instrument a tone shape=wobble\n", "'wobble' is not a shape"},
        {"instrument a tone duty=half\n", "'duty' needs a number"},
        {"instrument a tone volume=65\n", "'volume' needs a whole number 0..64"},
        {"instrument a tone colour=red\n", "unknown key 'colour'"},
        {"instrument a kick length=1\n", "a drum needs a length"},
        {"sample a\n", "line 1: expected 'instrument NAME KIND"},
    };
    for (const Case& c : cases) {
        InstrumentSet instruments;
        std::string error;
        EXPECT_FALSE(parseInstruments(c.text, instruments, error)) << c.text;
        EXPECT_NE(error.find(c.errorPart), std::string::npos) << "got: " << error;
    }
}

// A loud, peaky test sound: a sine with a click every half second.
StereoAudio clicks(double seconds) {
    StereoAudio audio;
    for (size_t f = 0; f < static_cast<size_t>(seconds * 44100); ++f) {
        float value = static_cast<float>(0.3 * std::sin(2 * kPi * 220 * f / 44100.0));
        if (f % 22050 < 40) {
            value = 0.99f;
        }
        audio.samples.push_back(value);
        audio.samples.push_back(-value);
    }
    return audio;
}

TEST(Mastering, ReachesTheLoudnessUnderTheCeiling) {
    StereoAudio audio = clicks(5);
    masterTrack(audio, -12.0, -2.0);
    Loudness loudness = measureLoudness(audio);
    EXPECT_NEAR(loudness.rmsDb, -12.0, 0.1);
    EXPECT_LE(loudness.peakDb, -2.0 + 1e-4);
}

TEST(Mastering, EncodingIsReproducibleAndKeepsTheLength) {
    StereoAudio audio = clicks(3);
    std::vector<uint8_t> first, second;
    std::string error;
    ASSERT_TRUE(encodeOggVorbis(audio, 0.5f, 1234, "clicks", first, error)) << error;
    ASSERT_TRUE(encodeOggVorbis(audio, 0.5f, 1234, "clicks", second, error)) << error;
    EXPECT_EQ(first, second);
    StereoAudio decoded;
    ASSERT_TRUE(decodeOggVorbis(first, decoded, error)) << error;
    EXPECT_EQ(decoded.frames(), audio.frames());
    std::vector<uint8_t> damaged(first.begin(), first.begin() + 100);
    EXPECT_FALSE(decodeOggVorbis(damaged, decoded, error));
}

} // namespace
