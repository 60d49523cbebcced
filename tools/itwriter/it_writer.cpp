#include "it_module.h"

#include "byte_writer.h"

namespace {

// The sizes of the parts of an .it file, as Impulse Tracker 2.14 lays them out.
constexpr size_t kHeaderBytes = 0xC0;
constexpr size_t kEnvelopeBytes = 6 + 25 * 3 + 1;
constexpr size_t kInstrumentEnvelopesOffset = 0x130;
constexpr size_t kInstrumentBytes = 554; // 550 used, padded as Impulse Tracker writes them
constexpr size_t kSampleHeaderBytes = 0x50;
constexpr size_t kPatternHeaderBytes = 8;
static_assert(0x40 + 64 + 64 == kHeaderBytes, "channel pan and volume end the header");
static_assert(kInstrumentEnvelopesOffset + 3 * kEnvelopeBytes + 4 == kInstrumentBytes);
static_assert(0x4C + 4 == kSampleHeaderBytes, "the vibrato bytes end the sample header");

constexpr uint16_t kTrackerVersion = 0x0214;
constexpr int kMaxNameLength = 25;

bool fail(std::string& error, const std::string& reason) {
    error = reason;
    return false;
}

bool checkModule(const ItModule& module, std::string& error) {
    if (module.name.size() > kMaxNameLength) {
        return fail(error, "module name longer than 25 characters");
    }
    if (module.channels < 1 || module.channels > 64) {
        return fail(error, "channel count outside 1..64");
    }
    if (module.initialTempo < 32 || module.globalVolume > 128 || module.mixVolume > 128) {
        return fail(error, "tempo below 32 or volume above 128");
    }
    if (module.orders.empty() || module.orders.size() > 255) {
        return fail(error, "order list empty or longer than 255");
    }
    if (module.patterns.size() > 200 || module.samples.size() > 99 ||
        module.instruments.size() > 99) {
        return fail(error, "more than 200 patterns, 99 samples or 99 instruments");
    }
    for (uint8_t order : module.orders) {
        if (order >= module.patterns.size()) {
            return fail(error,
                        "order names pattern " + std::to_string(order) + " that is not there");
        }
    }
    for (size_t p = 0; p < module.patterns.size(); ++p) {
        const ItPattern& pattern = module.patterns[p];
        std::string where = "pattern " + std::to_string(p) + ": ";
        if (pattern.rows < 1 || pattern.rows > 200 ||
            pattern.cells.size() != static_cast<size_t>(pattern.rows)) {
            return fail(error, where + "rows outside 1..200 or not as many as declared");
        }
        for (const std::vector<ItCell>& row : pattern.cells) {
            if (row.size() != static_cast<size_t>(module.channels)) {
                return fail(error, where + "a row without one cell per channel");
            }
            for (const ItCell& cell : row) {
                bool noteOk = cell.note == ItCell::kNoNote ||
                              (cell.note >= 0 && cell.note <= 119) ||
                              cell.note == ItCell::kNoteCut || cell.note == ItCell::kNoteOff;
                bool volumeOk = cell.volume == ItCell::kNoVolume ||
                                (cell.volume >= 0 && cell.volume <= 64) ||
                                (cell.volume >= 128 && cell.volume <= 192);
                size_t playable =
                    module.instruments.empty() ? module.samples.size() : module.instruments.size();
                if (!noteOk || !volumeOk || cell.instrument > playable || cell.effect > 26) {
                    return fail(error, where + "a cell with a note, instrument, volume or "
                                               "effect out of range");
                }
            }
        }
    }
    for (const ItSample& sample : module.samples) {
        if (sample.name.size() > kMaxNameLength || sample.defaultVolume > 64 ||
            sample.globalVolume > 64 || sample.vibratoSpeed > 64 || sample.vibratoDepth > 64 ||
            sample.vibratoSweep > 64) {
            return fail(error, "sample '" + sample.name + "': name or volumes out of range");
        }
        bool loopOk =
            sample.loopStart < 0 || (sample.loopStart < sample.loopEnd &&
                                     static_cast<size_t>(sample.loopEnd) <= sample.pcm.size());
        if (!loopOk || sample.c5SpeedHz <= 0 || sample.c5SpeedHz > 9999999) {
            return fail(error, "sample '" + sample.name + "': loop or c5 speed out of range");
        }
    }
    for (const ItInstrument& instrument : module.instruments) {
        std::string where = "instrument '" + instrument.name + "': ";
        if (instrument.name.size() > kMaxNameLength || instrument.globalVolume > 128 ||
            instrument.newNoteAction > 3 || instrument.fadeOut > 1024) {
            return fail(error, where + "name, volume, note action or fade out of range");
        }
        for (uint8_t sample : instrument.sampleForNote) {
            if (sample > module.samples.size()) {
                return fail(error, where + "plays a sample that is not there");
            }
        }
        const std::vector<ItEnvelopeNode>& nodes = instrument.volumeEnvelope;
        if (!nodes.empty()) {
            if (nodes.size() < 2 || nodes.size() > 25 || nodes.front().tick != 0) {
                return fail(error, where + "envelope needs 2..25 nodes starting at tick 0");
            }
            for (size_t i = 0; i < nodes.size(); ++i) {
                bool rising = i == 0 || nodes[i].tick > nodes[i - 1].tick;
                if (!rising || nodes[i].tick > 9999 || nodes[i].value < 0 || nodes[i].value > 64) {
                    return fail(error, where + "envelope ticks must rise, values 0..64");
                }
            }
        }
        if (instrument.sustainNode >= static_cast<int32_t>(nodes.size())) {
            return fail(error, where + "sustain node is not in the envelope");
        }
    }
    return true;
}

void writeHeader(const ItModule& module, ByteWriter& out) {
    out.text("IMPM", 4);
    out.text(module.name, 26);
    out.u8(4);                                                // row highlight: a beat of four rows
    out.u8(16);                                               // and a bar of sixteen
    out.u16(static_cast<uint32_t>(module.orders.size() + 1)); // with the end-of-song marker
    out.u16(static_cast<uint32_t>(module.instruments.size()));
    out.u16(static_cast<uint32_t>(module.samples.size()));
    out.u16(static_cast<uint32_t>(module.patterns.size()));
    out.u16(kTrackerVersion);
    out.u16(kTrackerVersion);
    uint32_t flags = 0x01 | 0x08; // stereo, linear slides
    if (!module.instruments.empty()) {
        flags |= 0x04;
    }
    out.u16(flags);
    out.u16(0); // no song message
    out.u8(module.globalVolume);
    out.u8(module.mixVolume);
    out.u8(module.initialSpeed);
    out.u8(module.initialTempo);
    out.u8(128); // full stereo separation
    out.u8(0);   // pitch wheel depth
    out.u16(0);  // message length
    out.u32(0);  // message offset
    out.u32(0);  // reserved
    for (int32_t channel = 0; channel < 64; ++channel) {
        if (channel >= module.channels) {
            out.u8(32 + 128); // disabled
        } else if (static_cast<size_t>(channel) < module.channelPan.size()) {
            out.u8(module.channelPan[channel] > 64 ? 64 : module.channelPan[channel]);
        } else {
            out.u8(32);
        }
    }
    for (int32_t channel = 0; channel < 64; ++channel) {
        bool given =
            channel < module.channels && static_cast<size_t>(channel) < module.channelVolume.size();
        out.u8(given ? (module.channelVolume[channel] > 64 ? 64 : module.channelVolume[channel])
                     : 64);
    }
}

void writeEnvelope(const ItInstrument& instrument, ByteWriter& out) {
    size_t start = out.size();
    const std::vector<ItEnvelopeNode>& nodes = instrument.volumeEnvelope;
    uint32_t flags = nodes.empty() ? 0 : 0x01;
    if (!nodes.empty() && instrument.sustainNode >= 0) {
        flags |= 0x04;
    }
    out.u8(flags);
    out.u8(static_cast<uint32_t>(nodes.size()));
    out.u8(0); // loop start
    out.u8(0); // loop end
    uint32_t sustain =
        instrument.sustainNode >= 0 ? static_cast<uint32_t>(instrument.sustainNode) : 0;
    out.u8(sustain);
    out.u8(sustain);
    for (const ItEnvelopeNode& node : nodes) {
        out.u8(static_cast<uint32_t>(node.value));
        out.u16(static_cast<uint32_t>(node.tick));
    }
    out.zeros(start + kEnvelopeBytes - out.size());
}

void writeInstrument(const ItInstrument& instrument, ByteWriter& out) {
    size_t start = out.size();
    out.text("IMPI", 4);
    out.zeros(12); // DOS file name
    out.u8(0);
    out.u8(instrument.newNoteAction);
    out.u8(0); // no duplicate check
    out.u8(0);
    out.u16(instrument.fadeOut);
    out.u8(0);  // no pitch-pan separation
    out.u8(60); // pitch-pan centre C-5
    out.u8(instrument.globalVolume);
    out.u8(32 + 128); // no default pan: the channel's pan holds
    out.u8(0);        // no random volume
    out.u8(0);        // no random pan
    out.u16(kTrackerVersion);
    out.u8(1); // samples used (informative)
    out.u8(0);
    out.text(instrument.name, 26);
    out.zeros(6); // no filter, no MIDI
    for (int32_t note = 0; note < 120; ++note) {
        out.u8(static_cast<uint32_t>(note));
        out.u8(instrument.sampleForNote[note]);
    }
    writeEnvelope(instrument, out);
    out.zeros(2 * kEnvelopeBytes); // panning and pitch envelopes, off
    out.zeros(start + kInstrumentBytes - out.size());
}

// The sample's header; its data offset is patched in once the data is placed.
void writeSampleHeader(const ItSample& sample, ByteWriter& out) {
    out.text("IMPS", 4);
    out.zeros(12);
    out.u8(0);
    out.u8(sample.globalVolume);
    uint32_t flags = 0x01 | 0x02; // has data, 16-bit mono
    if (sample.loopStart >= 0) {
        flags |= 0x10;
    }
    out.u8(flags);
    out.u8(sample.defaultVolume);
    out.text(sample.name, 26);
    out.u8(0x01); // signed samples
    out.u8(32);   // default pan 32, not used
    out.u32(static_cast<uint32_t>(sample.pcm.size()));
    out.u32(sample.loopStart >= 0 ? static_cast<uint32_t>(sample.loopStart) : 0);
    out.u32(sample.loopStart >= 0 ? static_cast<uint32_t>(sample.loopEnd) : 0);
    out.u32(static_cast<uint32_t>(sample.c5SpeedHz));
    out.u32(0); // no sustain loop
    out.u32(0);
    out.u32(0); // data offset, patched later
    out.u8(sample.vibratoSpeed);
    out.u8(sample.vibratoDepth);
    out.u8(sample.vibratoSweep);
    out.u8(0); // sine vibrato
}

// One pattern in IT's packed form: per row, each channel that has something gives its number,
// a mask of what follows (left out when it repeats the channel's last mask) and the values
// that differ from the channel's last ones.
bool writePattern(const ItPattern& pattern, int32_t channels, ByteWriter& out) {
    struct Last {
        int32_t mask = -1;
        int16_t note = ItCell::kNoNote;
        int32_t instrument = -1;
        int16_t volume = ItCell::kNoVolume;
        int32_t effect = -1;
        int32_t effectParam = -1;
    };
    std::vector<Last> last(static_cast<size_t>(channels));
    ByteWriter packed;
    for (const std::vector<ItCell>& row : pattern.cells) {
        for (int32_t channel = 0; channel < channels; ++channel) {
            const ItCell& cell = row[static_cast<size_t>(channel)];
            if (cell.empty()) {
                continue;
            }
            Last& previous = last[static_cast<size_t>(channel)];
            uint32_t mask = 0;
            if (cell.note != ItCell::kNoNote) {
                mask |= cell.note == previous.note ? 0x10 : 0x01;
            }
            if (cell.instrument != 0) {
                mask |= cell.instrument == previous.instrument ? 0x20 : 0x02;
            }
            if (cell.volume != ItCell::kNoVolume) {
                mask |= cell.volume == previous.volume ? 0x40 : 0x04;
            }
            if (cell.effect != 0) {
                bool same =
                    cell.effect == previous.effect && cell.effectParam == previous.effectParam;
                mask |= same ? 0x80 : 0x08;
            }
            if (static_cast<int32_t>(mask) == previous.mask) {
                packed.u8(static_cast<uint32_t>(channel + 1));
            } else {
                packed.u8(static_cast<uint32_t>(channel + 1) | 0x80);
                packed.u8(mask);
                previous.mask = static_cast<int32_t>(mask);
            }
            if (mask & 0x01) {
                packed.u8(static_cast<uint32_t>(cell.note));
                previous.note = cell.note;
            }
            if (mask & 0x02) {
                packed.u8(cell.instrument);
                previous.instrument = cell.instrument;
            }
            if (mask & 0x04) {
                packed.u8(static_cast<uint32_t>(cell.volume));
                previous.volume = cell.volume;
            }
            if (mask & 0x08) {
                packed.u8(cell.effect);
                packed.u8(cell.effectParam);
                previous.effect = cell.effect;
                previous.effectParam = cell.effectParam;
            }
        }
        packed.u8(0);
    }
    if (packed.size() + kPatternHeaderBytes > 0xFFFF) {
        return false;
    }
    out.u16(static_cast<uint32_t>(packed.size()));
    out.u16(static_cast<uint32_t>(pattern.rows));
    out.u32(0);
    out.bytes.insert(out.bytes.end(), packed.bytes.begin(), packed.bytes.end());
    return true;
}

} // namespace

bool writeItModule(const ItModule& module, std::vector<uint8_t>& file, std::string& error) {
    if (!checkModule(module, error)) {
        return false;
    }
    ByteWriter out;
    writeHeader(module, out);
    for (uint8_t order : module.orders) {
        out.u8(order);
    }
    out.u8(255); // end of song

    // The offset tables, filled in as each part is placed.
    size_t instrumentTable = out.size();
    out.zeros(4 * module.instruments.size());
    size_t sampleTable = out.size();
    out.zeros(4 * module.samples.size());
    size_t patternTable = out.size();
    out.zeros(4 * module.patterns.size());

    for (size_t i = 0; i < module.instruments.size(); ++i) {
        out.patchU32(instrumentTable + 4 * i, static_cast<uint32_t>(out.size()));
        writeInstrument(module.instruments[i], out);
    }
    std::vector<size_t> sampleHeaders;
    for (size_t i = 0; i < module.samples.size(); ++i) {
        sampleHeaders.push_back(out.size());
        out.patchU32(sampleTable + 4 * i, static_cast<uint32_t>(out.size()));
        writeSampleHeader(module.samples[i], out);
    }
    for (size_t i = 0; i < module.patterns.size(); ++i) {
        out.patchU32(patternTable + 4 * i, static_cast<uint32_t>(out.size()));
        if (!writePattern(module.patterns[i], module.channels, out)) {
            return fail(error, "pattern " + std::to_string(i) + " packs to more than 64 KiB");
        }
    }
    for (size_t i = 0; i < module.samples.size(); ++i) {
        out.patchU32(sampleHeaders[i] + 0x48, static_cast<uint32_t>(out.size()));
        for (int16_t value : module.samples[i].pcm) {
            out.u16(static_cast<uint16_t>(value));
        }
    }
    file = std::move(out.bytes);
    return true;
}
