// An Impulse Tracker module as plain data, and the writer that turns it into the bytes of an
// .it file (IMPM header, order list, instruments, samples, packed patterns). The music tools
// build modules with it; libopenmpt and other IT players load what it writes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One pattern cell of one channel. Notes use IT's numbering: 0 = C-0 ... 119 = B-9, where
// note 60 (C-5) plays a sample at its c5SpeedHz.
struct ItCell {
    static constexpr int16_t kNoNote = -1;
    static constexpr int16_t kNoteCut = 254;
    static constexpr int16_t kNoteOff = 255;
    static constexpr int16_t kNoVolume = -1;

    int16_t note = kNoNote;     // 0..119, kNoteOff, kNoteCut or kNoNote
    uint8_t instrument = 0;     // 1..99, 0 = none
    int16_t volume = kNoVolume; // volume column: 0..64 volume, 128..192 panning, or kNoVolume
    uint8_t effect = 0;         // 0 = none, 1 = A (set speed), 2 = B, ... 26 = Z
    uint8_t effectParam = 0;

    bool empty() const {
        return note == kNoNote && instrument == 0 && volume == kNoVolume && effect == 0;
    }
};

// The effect letters as IT numbers them, for the effects the music tools use.
enum ItEffect : uint8_t {
    kEffectSpeed = 1,          // Axx: ticks per row
    kEffectJump = 2,           // Bxx: continue at order xx
    kEffectVolumeSlide = 4,    // Dxy
    kEffectPortamento = 7,     // Gxx: slide to the note
    kEffectVibrato = 8,        // Hxy
    kEffectArpeggio = 10,      // Jxy: note, +x, +y semitones, one per tick
    kEffectChannelVolume = 13, // Mxx: 0..64
    kEffectSpecial = 19,       // Sxy: SCx note cut after x ticks, SDx note delay of x ticks
    kEffectTempo = 20,         // Txx: tempo, 32..255
};

struct ItPattern {
    int32_t rows = 64;                      // 1..200
    std::vector<std::vector<ItCell>> cells; // [row][channel], channel count of the module
};

struct ItSample {
    std::string name;           // up to 25 characters
    std::vector<int16_t> pcm;   // mono 16-bit samples
    int32_t c5SpeedHz = 44100;  // playback rate of note C-5
    int32_t loopStart = -1;     // first looped sample, -1 = no loop
    int32_t loopEnd = 0;        // sample after the loop's last
    uint8_t defaultVolume = 64; // 0..64
    uint8_t globalVolume = 64;  // 0..64
    uint8_t vibratoSpeed = 0;   // auto-vibrato, 0..64
    uint8_t vibratoDepth = 0;   // 0..64
    uint8_t vibratoSweep = 0;   // 0..64: how fast the vibrato fades in
};

struct ItEnvelopeNode {
    int32_t tick = 0;   // 0..9999, rising
    int32_t value = 64; // 0..64 for volume
};

struct ItInstrument {
    std::string name; // up to 25 characters
    // The sample (1-based) each note plays; 0 = none. Notes keep their own pitch.
    uint8_t sampleForNote[120] = {};
    uint8_t newNoteAction = 0;  // 0 cut, 1 continue, 2 note off, 3 note fade
    uint16_t fadeOut = 0;       // 0..1024 per tick, after note off once the envelope ends
    uint8_t globalVolume = 128; // 0..128
    std::vector<ItEnvelopeNode> volumeEnvelope; // empty = no envelope, else 2..25 nodes
    int32_t sustainNode = -1;                   // node held until note off, -1 = none
};

struct ItModule {
    std::string name;                   // up to 25 characters
    int32_t channels = 1;               // 1..64
    uint8_t initialSpeed = 6;           // ticks per row
    uint8_t initialTempo = 125;         // 32..255
    uint8_t globalVolume = 128;         // 0..128
    uint8_t mixVolume = 48;             // 0..128
    std::vector<uint8_t> channelPan;    // per channel 0..64, 32 = centre; missing = centre
    std::vector<uint8_t> channelVolume; // per channel 0..64; missing = 64
    std::vector<uint8_t> orders;        // pattern numbers in play order
    std::vector<ItPattern> patterns;
    std::vector<ItInstrument> instruments; // empty = sample mode
    std::vector<ItSample> samples;
};

// The .it file of the module. False, with the reason in `error`, when the module breaks one of
// the format's limits (names, counts, rows, values out of range).
bool writeItModule(const ItModule& module, std::vector<uint8_t>& file, std::string& error);
