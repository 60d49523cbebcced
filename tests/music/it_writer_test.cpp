#include "it_module.h"
#include "loaded_module.h"

#include <gtest/gtest.h>
#include <libopenmpt/libopenmpt.h>

#include <cmath>

namespace {

// A small module: three channels, two patterns played A B A, one looped sine instrument with
// an envelope, and cells using notes, note off, volumes and effects.
ItModule smallModule() {
    ItModule module;
    module.name = "writer test";
    module.channels = 3;
    module.initialSpeed = 6;
    module.initialTempo = 150;
    module.channelPan = {0, 64, 32};
    ItSample sine;
    sine.name = "sine";
    for (int32_t i = 0; i < 100; ++i) {
        sine.pcm.push_back(static_cast<int16_t>(20000 * std::sin(2 * 3.14159265 * i / 100)));
    }
    sine.c5SpeedHz = static_cast<int32_t>(100 * 261.6256);
    sine.loopStart = 0;
    sine.loopEnd = 100;
    module.samples.push_back(sine);
    ItInstrument instrument;
    instrument.name = "sine";
    for (uint8_t& sample : instrument.sampleForNote) {
        sample = 1;
    }
    instrument.volumeEnvelope = {{0, 64}, {10, 32}, {20, 0}};
    instrument.sustainNode = 1;
    module.instruments.push_back(instrument);
    for (int32_t p = 0; p < 2; ++p) {
        ItPattern pattern;
        pattern.rows = 32;
        pattern.cells.assign(32, std::vector<ItCell>(3));
        for (int32_t row = 0; row < 32; row += 4) {
            ItCell& cell = pattern.cells[row][p];
            cell.note = static_cast<int16_t>(60 + row / 4);
            cell.instrument = 1;
            cell.volume = 48; // the same value each time: packed as "last volume"
        }
        pattern.cells[2][2].note = ItCell::kNoteOff;
        pattern.cells[5][2].effect = kEffectArpeggio;
        pattern.cells[5][2].effectParam = 0x47;
        module.patterns.push_back(pattern);
    }
    module.orders = {0, 1, 0};
    return module;
}

TEST(ItWriter, LibopenmptReadsBackWhatWasWritten) {
    ItModule module = smallModule();
    std::vector<uint8_t> file;
    std::string error;
    ASSERT_TRUE(writeItModule(module, file, error)) << error;
    LoadedModule loaded = loadModule(file);
    ASSERT_NE(loaded, nullptr);
    openmpt_module* m = loaded.get();
    EXPECT_EQ(openmpt_module_get_num_channels(m), 3);
    EXPECT_EQ(openmpt_module_get_num_orders(m), 3);
    EXPECT_EQ(openmpt_module_get_num_patterns(m), 2);
    EXPECT_EQ(openmpt_module_get_num_instruments(m), 1);
    EXPECT_EQ(openmpt_module_get_num_samples(m), 1);
    const char* sampleName = openmpt_module_get_sample_name(m, 0);
    EXPECT_STREQ(sampleName, "sine");
    openmpt_free_string(sampleName);
    // 96 rows of 6 ticks at tempo 150 (2.5 / 150 s a tick).
    EXPECT_NEAR(openmpt_module_get_duration_seconds(m), 96 * 6 * 2.5 / 150, 0.01);

    struct Expected {
        int32_t pattern, row, channel, command, value;
    };
    const Expected cells[] = {
        {0, 0, 0, OPENMPT_MODULE_COMMAND_NOTE, 61}, // libopenmpt counts notes from 1
        {0, 4, 0, OPENMPT_MODULE_COMMAND_NOTE, 62},
        {0, 28, 0, OPENMPT_MODULE_COMMAND_NOTE, 68},
        {0, 28, 0, OPENMPT_MODULE_COMMAND_INSTRUMENT, 1},
        {0, 28, 0, OPENMPT_MODULE_COMMAND_VOLUME, 48},
        {1, 8, 1, OPENMPT_MODULE_COMMAND_NOTE, 63},
        {1, 8, 0, OPENMPT_MODULE_COMMAND_NOTE, 0},
        {0, 2, 2, OPENMPT_MODULE_COMMAND_NOTE, 255}, // note off
        {1, 5, 2, OPENMPT_MODULE_COMMAND_PARAMETER, 0x47},
    };
    for (const Expected& cell : cells) {
        EXPECT_EQ(openmpt_module_get_pattern_row_channel_command(m, cell.pattern, cell.row,
                                                                 cell.channel, cell.command),
                  cell.value)
            << "pattern " << cell.pattern << " row " << cell.row << " channel " << cell.channel;
    }
}

TEST(ItWriter, TheModulePlaysItsNotes) {
    ItModule module = smallModule();
    std::vector<uint8_t> file;
    std::string error;
    ASSERT_TRUE(writeItModule(module, file, error)) << error;
    LoadedModule loaded = loadModule(file);
    ASSERT_NE(loaded, nullptr);
    std::vector<float> left(4410), right(4410);
    ASSERT_EQ(
        openmpt_module_read_float_stereo(loaded.get(), 44100, 4410, left.data(), right.data()),
        4410u);
    double energyLeft = 0, energyRight = 0;
    for (size_t i = 0; i < left.size(); ++i) {
        energyLeft += left[i] * left[i];
        energyRight += right[i] * right[i];
    }
    // Channel 0, panned hard left, plays the first pattern.
    EXPECT_GT(energyLeft, 1.0);
    EXPECT_LT(energyRight, energyLeft / 100);
}

TEST(ItWriter, ModulesBreakingTheFormatsLimitsAreRefused) {
    struct Case {
        const char* what;
        void (*breakIt)(ItModule&);
    };
    const Case cases[] = {
        {"no orders", [](ItModule& m) { m.orders.clear(); }},
        {"an order past the patterns", [](ItModule& m) { m.orders.push_back(2); }},
        {"65 channels", [](ItModule& m) { m.channels = 65; }},
        {"a row of the wrong width", [](ItModule& m) { m.patterns[0].cells[3].pop_back(); }},
        {"201 rows",
         [](ItModule& m) {
             m.patterns[0].rows = 201;
             m.patterns[0].cells.resize(201, std::vector<ItCell>(3));
         }},
        {"note 120", [](ItModule& m) { m.patterns[0].cells[0][0].note = 120; }},
        {"instrument 2 of 1", [](ItModule& m) { m.patterns[0].cells[0][0].instrument = 2; }},
        {"volume 65", [](ItModule& m) { m.patterns[0].cells[0][0].volume = 65; }},
        {"a loop past the sample's end", [](ItModule& m) { m.samples[0].loopEnd = 101; }},
        {"an envelope that goes back in time",
         [](ItModule& m) { m.instruments[0].volumeEnvelope[2].tick = 5; }},
        {"a sustain node past the envelope", [](ItModule& m) { m.instruments[0].sustainNode = 3; }},
        {"a 26-character name", [](ItModule& m) { m.name = std::string(26, 'x'); }},
    };
    for (const Case& c : cases) {
        ItModule module = smallModule();
        c.breakIt(module);
        std::vector<uint8_t> file;
        std::string error;
        EXPECT_FALSE(writeItModule(module, file, error)) << c.what;
        EXPECT_FALSE(error.empty()) << c.what;
    }
}

} // namespace
