// The instruments of the songs: their definitions as written in assets/music/instruments.txt
// and the synthesizer that turns a definition into IT samples and an IT instrument. Used by
// the song compiler.
//
//     instrument NAME KIND key=value ...
//
// KIND is tone (a looped waveform with a volume envelope) or one of the drums kick, snare,
// hat, crash, tom (one-shot samples). The keys and their defaults are listed in
// assets/music/README.md.
#pragma once

#include "it_module.h"

#include <map>
#include <string>
#include <vector>

enum class InstrumentKind { Tone, Kick, Snare, Hat, Crash, Tom };

struct InstrumentDefinition {
    std::string name;
    InstrumentKind kind = InstrumentKind::Tone;
    int32_t line = 0; // where it was defined, for messages

    // Tone: the waveform of one cycle.
    std::string shape = "pulse";  // pulse, saw, triangle, sine
    double duty = 0.5;            // pulse width, 0..1
    std::string chord = "single"; // single, power (root, fifth, octave), octave
    double detuneCents = 0;       // > 0 adds a second, detuned oscillator
    double drive = 0;             // > 0 saturates (tanh) by this factor
    double cutoffHz = 16000;      // spectral low-pass
    double highPassHz = 0;        // spectral high-pass
    double pluckMs = 0;           // a brighter attack that settles to the cutoff over this time
    double pick = 0;              // noise of a pick at the attack, 0..1
    // Tone: the volume envelope.
    double attackMs = 2;
    double decayMs = 0;                // to the sustain level
    double sustain = 1;                // 0..1
    double releaseMs = 80;             // after note off
    std::string newNoteAction = "cut"; // cut or off (the old note releases under the new one)
    int32_t vibratoDepth = 0;          // 0..64, automatic vibrato
    int32_t vibratoSpeed = 0;          // 0..64
    int32_t vibratoSweep = 0;          // 0..64, how fast the vibrato fades in (0 = at once)
    // Drums.
    double pitchHz = 0;  // kick: end pitch; snare, tom: body pitch
    double punchHz = 0;  // kick: start pitch of the sweep
    double lengthMs = 0; // decay time
    double noise = 0;    // snare: noise against body, 0..1
    // Both.
    int32_t volume = 64; // default note volume, 0..64
};

using InstrumentSet = std::map<std::string, InstrumentDefinition>;

// Parses the definitions file; the error names the line.
bool parseInstruments(const std::string& text, InstrumentSet& instruments, std::string& error);

struct SynthesizedInstrument {
    ItInstrument instrument; // sampleForNote counts from 1 within `samples`
    std::vector<ItSample> samples;
};

// Synthesizes the instrument for a song whose ticks last tickMs (the envelope counts ticks).
SynthesizedInstrument synthesizeInstrument(const InstrumentDefinition& definition, double tickMs);
