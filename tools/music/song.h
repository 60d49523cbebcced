// A song as written in the song notation (assets/music/*.song), and its compilation into an
// Impulse Tracker module. The notation is described in assets/music/README.md; this is the
// model the parser fills and the compiler reads. Build-time tools only.
#pragma once

#include "instruments.h"
#include "it_module.h"

#include <string>
#include <vector>

constexpr int32_t kStepsPerBar = 16; // one row per sixteenth note, four rows per beat

// A line of a section, kept as text until the compiler knows the section's chords.
struct SectionLine {
    std::string voice; // a voice's name, or "chords"
    std::string text;
    int32_t line = 0;
};

struct Section {
    std::string name;
    int32_t bars = 0;
    int32_t tempo = 0;     // beats per minute from this section on, 0 = unchanged
    int32_t transpose = 0; // semitones added to every note and chord
    std::vector<SectionLine> lines;
    int32_t line = 0;
};

struct Voice {
    std::string name;
    std::string instrument; // empty for drum voices, which play the kit
    bool drums = false;
    int32_t volume = 64;   // channel volume 0..64
    int32_t pan = 0;       // -32 (left) .. 32 (right)
    int32_t velocity = 52; // note volume 0..64 before accents
    int32_t rootNote = 48; // lowest root of chord-relative notes, MIDI numbering
    int32_t glide = 0;     // portamento speed of '>' notes, 1..255
    std::string echoOf;    // the voice this one repeats, delayed (0 steps: doubles it)
    int32_t echoDelaySteps = -1;
    // For an echo: the instruments of the source it plays on others, beyond its own one
    // (which stands for the source's own), e.g. a doubled guitar's darker twin.
    std::vector<std::pair<std::string, std::string>> swaps;
    int32_t line = 0;
};

// What one character of a drum line plays.
struct KitEntry {
    char symbol = '.';
    std::string instrument;
    int32_t volume = 52;
    int32_t note = 60;
    int32_t line = 0;
};

struct Song {
    std::string title;
    int32_t tempo = 120; // beats per minute
    std::vector<Voice> voices;
    std::vector<KitEntry> kit;
    std::vector<Section> sections;
    std::vector<std::string> arrangement; // section names in play order
    std::string loopTo;                   // section the song jumps back to at its end, or empty
};

// A note name with its octave, c4 being middle C: "c4", "f#2", "bb3" (MIDI numbering).
bool parseNoteName(const std::string& text, int32_t& midiNote);

// Parses the song's text; the error names the line.
bool parseSong(const std::string& text, Song& song, std::string& error);

// Compiles the song with its instruments into a module. The module ends after its last
// section, or jumps back to `loopTo` when the song has one.
bool compileSong(const Song& song, const InstrumentSet& instruments, ItModule& module,
                 std::string& error);
