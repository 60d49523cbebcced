#include "instruments.h"

#include "dsp.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdlib>
#include <sstream>

namespace {

struct NumberKey {
    const char* key;
    double InstrumentDefinition::*field;
};
struct IntegerKey {
    const char* key;
    int32_t InstrumentDefinition::*field;
    int32_t low, high;
};
struct WordKey {
    const char* key;
    std::string InstrumentDefinition::*field;
    std::vector<std::string> allowed;
};

const NumberKey kNumberKeys[] = {
    {"duty", &InstrumentDefinition::duty},           {"detune", &InstrumentDefinition::detuneCents},
    {"drive", &InstrumentDefinition::drive},         {"cutoff", &InstrumentDefinition::cutoffHz},
    {"highpass", &InstrumentDefinition::highPassHz}, {"pluck", &InstrumentDefinition::pluckMs},
    {"pick", &InstrumentDefinition::pick},           {"attack", &InstrumentDefinition::attackMs},
    {"decay", &InstrumentDefinition::decayMs},       {"sustain", &InstrumentDefinition::sustain},
    {"release", &InstrumentDefinition::releaseMs},   {"pitch", &InstrumentDefinition::pitchHz},
    {"punch", &InstrumentDefinition::punchHz},       {"length", &InstrumentDefinition::lengthMs},
    {"noise", &InstrumentDefinition::noise},
};
const IntegerKey kIntegerKeys[] = {
    {"vibrato", &InstrumentDefinition::vibratoDepth, 0, 64},
    {"vibratospeed", &InstrumentDefinition::vibratoSpeed, 0, 64},
    {"vibratosweep", &InstrumentDefinition::vibratoSweep, 0, 64},
    {"volume", &InstrumentDefinition::volume, 0, 64},
};
const WordKey kWordKeys[] = {
    {"shape", &InstrumentDefinition::shape, {"pulse", "saw", "triangle", "sine"}},
    {"chord", &InstrumentDefinition::chord, {"single", "power", "octave"}},
    {"nna", &InstrumentDefinition::newNoteAction, {"cut", "off"}},
};

struct KindName {
    const char* name;
    InstrumentKind kind;
    double pitchHz, punchHz, lengthMs, noise; // the drum's defaults
};
const KindName kKinds[] = {
    {"tone", InstrumentKind::Tone, 0, 0, 0, 0},
    {"kick", InstrumentKind::Kick, 48, 170, 380, 0},
    {"snare", InstrumentKind::Snare, 185, 0, 230, 0.65},
    {"hat", InstrumentKind::Hat, 0, 0, 55, 0},
    {"crash", InstrumentKind::Crash, 0, 0, 1600, 0},
    {"tom", InstrumentKind::Tom, 110, 0, 420, 0},
};

bool setKey(InstrumentDefinition& definition, const std::string& key, const std::string& value,
            std::string& reason) {
    for (const NumberKey& entry : kNumberKeys) {
        if (key == entry.key) {
            char* end = nullptr;
            double number = std::strtod(value.c_str(), &end);
            if (value.empty() || *end != '\0' || number < 0) {
                reason = "'" + key + "' needs a number of 0 or more";
                return false;
            }
            definition.*entry.field = number;
            return true;
        }
    }
    for (const IntegerKey& entry : kIntegerKeys) {
        if (key == entry.key) {
            char* end = nullptr;
            long number = std::strtol(value.c_str(), &end, 10);
            if (value.empty() || *end != '\0' || number < entry.low || number > entry.high) {
                reason = "'" + key + "' needs a whole number " + std::to_string(entry.low) + ".." +
                         std::to_string(entry.high);
                return false;
            }
            definition.*entry.field = static_cast<int32_t>(number);
            return true;
        }
    }
    for (const WordKey& entry : kWordKeys) {
        if (key == entry.key) {
            if (std::find(entry.allowed.begin(), entry.allowed.end(), value) ==
                entry.allowed.end()) {
                reason = "'" + value + "' is not a " + key;
                return false;
            }
            definition.*entry.field = value;
            return true;
        }
    }
    reason = "unknown key '" + key + "'";
    return false;
}

// ---- tones --------------------------------------------------------------------------------

double waveAt(const std::string& shape, double duty, double phase) {
    if (shape == "saw") {
        return 1.0 - 2.0 * phase;
    }
    if (shape == "triangle") {
        return phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase;
    }
    if (shape == "sine") {
        return std::sin(2 * kPi * phase);
    }
    return phase < duty ? 1.0 : -1.0;
}

double butterworth(double ratio) {
    return 1.0 / std::sqrt(1.0 + ratio * ratio * ratio * ratio);
}

struct Partial {
    int32_t cycles; // whole cycles in the loop, so that the loop joins seamlessly
    double amplitude;
};

// The loop of a tone: `loopLength` samples holding whole cycles of every partial, saturated,
// then shaped in the frequency domain as heard at playedHz (the fundamental's pitch when
// played) and band-limited so that nothing passes 18 kHz when played at topHz.
std::vector<double> toneLoop(const InstrumentDefinition& definition,
                             const std::vector<Partial>& partials, int32_t fundamentalCycles,
                             int32_t loopLength, double playedHz, double topHz, double cutoffHz) {
    const int32_t oversampled = 4 * loopLength;
    std::vector<std::complex<double>> wave(static_cast<size_t>(oversampled));
    double peak = 0;
    for (int32_t n = 0; n < oversampled; ++n) {
        double t = static_cast<double>(n) / oversampled;
        double sum = 0;
        for (const Partial& partial : partials) {
            double phase = std::fmod(partial.cycles * t, 1.0);
            sum += partial.amplitude * waveAt(definition.shape, definition.duty, phase);
        }
        wave[static_cast<size_t>(n)] = sum;
        peak = std::max(peak, std::abs(sum));
    }
    if (definition.drive > 0 && peak > 0) {
        for (std::complex<double>& value : wave) {
            value = std::tanh(definition.drive * value.real() / peak) / std::tanh(definition.drive);
        }
    }
    fft(wave, false);

    std::vector<std::complex<double>> spectrum(static_cast<size_t>(loopLength));
    double maxHarmonic = 18000.0 / topHz;
    for (int32_t bin = 1; bin < loopLength / 2; ++bin) {
        double harmonic = static_cast<double>(bin) / fundamentalCycles;
        if (harmonic > maxHarmonic) {
            break;
        }
        double hz = harmonic * playedHz;
        double gain = butterworth(hz / cutoffHz);
        if (definition.highPassHz > 0) {
            gain *= 1.0 - butterworth(hz / definition.highPassHz);
        }
        std::complex<double> value = wave[static_cast<size_t>(bin)] * gain / 4.0;
        spectrum[static_cast<size_t>(bin)] = value;
        spectrum[static_cast<size_t>(loopLength - bin)] = std::conj(value);
    }
    fft(spectrum, true);
    std::vector<double> loop(static_cast<size_t>(loopLength));
    for (int32_t n = 0; n < loopLength; ++n) {
        loop[static_cast<size_t>(n)] = spectrum[static_cast<size_t>(n)].real();
    }
    return loop;
}

std::vector<int16_t> toPcm(const std::vector<double>& signal) {
    double peak = 0;
    for (double value : signal) {
        peak = std::max(peak, std::abs(value));
    }
    double scale = peak > 0 ? 0.95 * 32767.0 / peak : 0;
    std::vector<int16_t> pcm(signal.size());
    for (size_t i = 0; i < signal.size(); ++i) {
        pcm[i] = static_cast<int16_t>(std::lround(signal[i] * scale));
    }
    return pcm;
}

// The volume envelope: attack, an exponential-looking decay to the sustain level (held at
// the sustain node), and a release after note off.
void toneEnvelope(const InstrumentDefinition& definition, double tickMs, ItInstrument& instrument) {
    std::vector<ItEnvelopeNode>& nodes = instrument.volumeEnvelope;
    auto add = [&](double ms, double level) {
        int32_t tick = static_cast<int32_t>(std::lround(ms / tickMs));
        if (!nodes.empty()) {
            tick = std::max(tick, nodes.back().tick + 1);
        }
        nodes.push_back({std::min(tick, 9999), static_cast<int32_t>(std::lround(level * 64))});
    };
    double sustain = std::clamp(definition.sustain, 0.0, 1.0);
    double attackMs = definition.attackMs >= tickMs ? definition.attackMs : 0;
    add(0, attackMs > 0 ? 0 : 1);
    if (attackMs > 0) {
        add(attackMs, 1);
    }
    double held = attackMs;
    if (definition.decayMs > 0 && sustain < 1) {
        for (double part : {0.15, 0.4, 1.0}) {
            add(attackMs + part * definition.decayMs,
                sustain + (1 - sustain) * std::exp(-4.0 * part) * (part < 1 ? 1 : 0));
        }
        held = attackMs + definition.decayMs;
    } else if (nodes.size() == 1) {
        add(tickMs, 1);
        held = tickMs;
    }
    instrument.sustainNode = static_cast<int32_t>(nodes.size()) - 1;
    double release = std::max(definition.releaseMs, tickMs);
    add(held + 0.3 * release, nodes.back().value / 64.0 * 0.3);
    add(held + release, 0);
}

void synthesizeTone(const InstrumentDefinition& definition, double tickMs,
                    SynthesizedInstrument& out) {
    // A plain tone loops over one cycle; a detuned or chorded one over enough cycles of its
    // root that every partial fits a whole number of times.
    bool rich = definition.detuneCents > 0 || definition.chord != "single";
    const int32_t root = rich ? 192 : 1;
    std::vector<std::pair<double, double>> ratios = {{1.0, 1.0}};
    if (definition.chord == "power") {
        ratios = {{1.0, 1.0}, {1.5, 0.75}, {2.0, 0.5}};
    } else if (definition.chord == "octave") {
        ratios = {{1.0, 1.0}, {2.0, 0.6}};
    }
    std::vector<Partial> partials;
    for (auto [ratio, amplitude] : ratios) {
        int32_t cycles = static_cast<int32_t>(std::lround(root * ratio));
        partials.push_back({cycles, amplitude});
        if (definition.detuneCents > 0) {
            int32_t detuned = static_cast<int32_t>(
                std::lround(cycles * std::pow(2.0, definition.detuneCents / 1200.0)));
            partials.push_back({std::max(detuned, cycles + 1), 0.8 * amplitude});
        }
    }
    int32_t attackLength = static_cast<int32_t>(
        std::max(definition.pluckMs, definition.pick > 0 ? 40.0 : 0.0) * kSampleRateHz / 1000);

    // One sample per octave band, so that high notes never alias and low notes keep their
    // brightness.
    for (int32_t band = 0; band < 6; ++band) {
        int32_t topNote = 35 + 12 * band;
        double playedHz = noteHz(topNote - 6);
        // The loop holds every harmonic the band can let through: up to 18 kHz at its top
        // note, and to three times the cutoff at its lowest.
        double harmonics =
            std::min(18000.0 / noteHz(topNote),
                     3 * definition.cutoffHz / noteHz(band == 0 ? 24 : topNote - 11));
        int32_t loopLength = 2048;
        while (loopLength < 65536 && loopLength < 2 * root * harmonics) {
            loopLength *= 2;
        }
        double fundamentalHz = static_cast<double>(root) * kSampleRateHz / loopLength;
        int32_t c5Speed =
            static_cast<int32_t>(std::lround(kSampleRateHz * noteHz(60) / fundamentalHz));
        std::vector<double> loop = toneLoop(definition, partials, root, loopLength, playedHz,
                                            noteHz(topNote), definition.cutoffHz);
        std::vector<double> bright;
        if (definition.pluckMs > 0) {
            bright = toneLoop(definition, partials, root, loopLength, playedHz, noteHz(topNote),
                              definition.cutoffHz * 4);
        }
        std::vector<double> signal(static_cast<size_t>(attackLength + loopLength));
        Noise noise(0x5EED + static_cast<uint32_t>(band));
        Biquad pickFilter = Biquad::bandPass(3000, 0.8);
        for (size_t n = 0; n < signal.size(); ++n) {
            double value = loop[n % loop.size()];
            if (static_cast<int32_t>(n) < attackLength) {
                double t = static_cast<double>(n) / kSampleRateHz;
                if (!bright.empty()) {
                    double settled = std::min(1.0, t * 1000 / definition.pluckMs);
                    settled = settled * settled * (3 - 2 * settled);
                    value = (1 - settled) * bright[n % bright.size()] + settled * value;
                }
                value +=
                    definition.pick * 0.6 * pickFilter.process(noise.next()) * std::exp(-t / 0.008);
            }
            signal[n] = value;
        }
        ItSample sample;
        sample.name = definition.name.substr(0, 20) + " " + std::to_string(band + 1);
        sample.pcm = toPcm(signal);
        sample.c5SpeedHz = c5Speed;
        sample.loopStart = attackLength;
        sample.loopEnd = attackLength + loopLength;
        sample.defaultVolume = static_cast<uint8_t>(definition.volume);
        sample.vibratoDepth = static_cast<uint8_t>(definition.vibratoDepth);
        sample.vibratoSpeed = static_cast<uint8_t>(definition.vibratoSpeed);
        sample.vibratoSweep = static_cast<uint8_t>(definition.vibratoSweep);
        out.samples.push_back(std::move(sample));
        int32_t firstNote = band == 0 ? 0 : topNote - 11;
        int32_t lastNote = band == 5 ? 119 : topNote;
        for (int32_t note = firstNote; note <= lastNote; ++note) {
            out.instrument.sampleForNote[note] = static_cast<uint8_t>(band + 1);
        }
    }
    toneEnvelope(definition, tickMs, out.instrument);
    out.instrument.newNoteAction = definition.newNoteAction == "off" ? 2 : 0;
    out.instrument.fadeOut = 512;
}

// ---- drums --------------------------------------------------------------------------------

// Six detuned square waves: the metallic ring of cymbals and hats.
double metal(double t, double scale) {
    static const double kHz[] = {205.3, 304.4, 369.6, 522.7, 540.0, 800.0};
    double sum = 0;
    for (double hz : kHz) {
        sum += std::fmod(t * hz * scale, 1.0) < 0.5 ? 1.0 : -1.0;
    }
    return sum / 6.0;
}

std::vector<double> drumSignal(const InstrumentDefinition& definition) {
    const double lengthS = definition.lengthMs / 1000.0;
    const size_t count = static_cast<size_t>((lengthS + 0.01) * kSampleRateHz);
    std::vector<double> out(count);
    Noise noise(0xD2D2 + static_cast<uint32_t>(definition.kind));
    Biquad high1 = Biquad::highPass(definition.kind == InstrumentKind::Crash ? 4500 : 7000, 0.7);
    Biquad high2 = Biquad::highPass(definition.kind == InstrumentKind::Crash ? 4500 : 7000, 0.7);
    Biquad snareHigh = Biquad::highPass(1400, 0.7);
    Biquad snareLow = Biquad::lowPass(9000, 0.7);
    Biquad clickHigh = Biquad::highPass(1500, 0.7);
    double phase = 0;
    for (size_t n = 0; n < count; ++n) {
        double t = static_cast<double>(n) / kSampleRateHz;
        double decay = std::exp(-5.0 * t / lengthS);
        double value = 0;
        switch (definition.kind) {
        case InstrumentKind::Kick: {
            double hz = definition.pitchHz +
                        (definition.punchHz - definition.pitchHz) * std::exp(-t / 0.03);
            phase += hz / kSampleRateHz;
            double body = std::sin(2 * kPi * phase) * decay;
            double click = clickHigh.process(noise.next()) * std::exp(-t / 0.0025) * 0.5;
            value = std::tanh(1.8 * (body + click));
            break;
        }
        case InstrumentKind::Snare: {
            double body = (std::sin(2 * kPi * definition.pitchHz * t) +
                           0.5 * std::sin(2 * kPi * 1.73 * definition.pitchHz * t)) *
                          std::exp(-t / 0.045);
            double hiss = snareLow.process(snareHigh.process(noise.next())) * decay * 1.6;
            value = std::tanh(1.4 * ((1 - definition.noise) * body + definition.noise * hiss));
            break;
        }
        case InstrumentKind::Hat:
        case InstrumentKind::Crash: {
            double scale = definition.kind == InstrumentKind::Crash ? 2.3 : 1.7;
            double shimmer = 0.6 * metal(t, scale) + 0.5 * noise.next();
            double attack = std::min(1.0, t / 0.0008);
            value = high2.process(high1.process(shimmer)) * decay * attack;
            break;
        }
        case InstrumentKind::Tom: {
            double hz = definition.pitchHz * (1 + 0.5 * std::exp(-t / 0.05));
            phase += hz / kSampleRateHz;
            double click = clickHigh.process(noise.next()) * std::exp(-t / 0.004) * 0.3;
            value = std::tanh(1.5 * (std::sin(2 * kPi * phase) * decay + click));
            break;
        }
        case InstrumentKind::Tone:
            break;
        }
        // The last 10 ms fade out, so the sample ends in silence.
        double tail = (static_cast<double>(count - n)) / (0.01 * kSampleRateHz);
        out[n] = value * std::min(1.0, tail);
    }
    return out;
}

void synthesizeDrum(const InstrumentDefinition& definition, SynthesizedInstrument& out) {
    ItSample sample;
    sample.name = definition.name.substr(0, 25);
    sample.pcm = toPcm(drumSignal(definition));
    sample.c5SpeedHz = kSampleRateHz;
    sample.defaultVolume = static_cast<uint8_t>(definition.volume);
    out.samples.push_back(std::move(sample));
    std::fill(std::begin(out.instrument.sampleForNote), std::end(out.instrument.sampleForNote), 1);
    out.instrument.newNoteAction = 0;
}

} // namespace

bool parseInstruments(const std::string& text, InstrumentSet& instruments, std::string& error) {
    std::istringstream lines(text);
    std::string line;
    int32_t lineNumber = 0;
    while (std::getline(lines, line)) {
        ++lineNumber;
        line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        std::string keyword, name, kindName;
        if (!(words >> keyword)) {
            continue;
        }
        std::string where = "line " + std::to_string(lineNumber) + ": ";
        if (keyword != "instrument" || !(words >> name >> kindName)) {
            error = where + "expected 'instrument NAME KIND key=value ...'";
            return false;
        }
        if (instruments.count(name) != 0) {
            error = where + "instrument '" + name + "' is defined twice";
            return false;
        }
        InstrumentDefinition definition;
        definition.name = name;
        definition.line = lineNumber;
        const KindName* kind = nullptr;
        for (const KindName& candidate : kKinds) {
            if (kindName == candidate.name) {
                kind = &candidate;
            }
        }
        if (kind == nullptr) {
            error = where + "'" + kindName + "' is not a kind (tone, kick, snare, hat, crash, tom)";
            return false;
        }
        definition.kind = kind->kind;
        definition.pitchHz = kind->pitchHz;
        definition.punchHz = kind->punchHz;
        definition.lengthMs = kind->lengthMs;
        definition.noise = kind->noise;
        std::string setting;
        while (words >> setting) {
            size_t equals = setting.find('=');
            std::string reason;
            if (equals == std::string::npos) {
                reason = "'" + setting + "' is not key=value";
            } else if (setKey(definition, setting.substr(0, equals), setting.substr(equals + 1),
                              reason)) {
                continue;
            }
            error = where + reason;
            return false;
        }
        if (definition.kind != InstrumentKind::Tone && definition.lengthMs < 5) {
            error = where + "a drum needs a length of 5 ms or more";
            return false;
        }
        instruments[name] = definition;
    }
    return true;
}

SynthesizedInstrument synthesizeInstrument(const InstrumentDefinition& definition, double tickMs) {
    SynthesizedInstrument out;
    out.instrument.name = definition.name.substr(0, 25);
    if (definition.kind == InstrumentKind::Tone) {
        synthesizeTone(definition, tickMs, out);
    } else {
        synthesizeDrum(definition, out);
    }
    return out;
}
