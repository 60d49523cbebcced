#include "song.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <sstream>

namespace {

struct Chord {
    int32_t root = 0;               // pitch class 0 = C
    std::vector<int32_t> intervals; // semitones above the root, 0 first
};

// The chord qualities and their intervals above the root.
const std::pair<const char*, std::vector<int32_t>> kQualities[] = {
    {"", {0, 4, 7}},       {"m", {0, 3, 7}},         {"5", {0, 7}},           {"7", {0, 4, 7, 10}},
    {"m7", {0, 3, 7, 10}}, {"maj7", {0, 4, 7, 11}},  {"sus2", {0, 2, 7}},     {"sus4", {0, 5, 7}},
    {"dim", {0, 3, 6}},    {"aug", {0, 4, 8}},       {"add9", {0, 4, 7, 14}}, {"6", {0, 4, 7, 9}},
    {"m6", {0, 3, 7, 9}},  {"madd9", {0, 3, 7, 14}},
};

int32_t pitchClass(char letter) {
    static const int32_t kClasses[] = {9, 11, 0, 2, 4, 5, 7}; // a b c d e f g
    return kClasses[std::tolower(static_cast<unsigned char>(letter)) - 'a'];
}

bool isNoteLetter(char c) {
    char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower >= 'a' && lower <= 'g';
}

bool parseChord(const std::string& text, Chord& chord) {
    if (text.empty() || !std::isupper(static_cast<unsigned char>(text[0])) ||
        !isNoteLetter(text[0])) {
        return false;
    }
    size_t at = 1;
    chord.root = pitchClass(text[0]);
    if (at < text.size() && (text[at] == '#' || text[at] == 'b')) {
        chord.root += text[at] == '#' ? 1 : -1;
        ++at;
    }
    chord.root = (chord.root + 12) % 12;
    for (const auto& [name, intervals] : kQualities) {
        if (text.substr(at) == name) {
            chord.intervals = intervals;
            return true;
        }
    }
    return false;
}

bool has(const Chord& chord, int32_t interval) {
    return std::find(chord.intervals.begin(), chord.intervals.end(), interval) !=
           chord.intervals.end();
}

// Semitones above the root for a degree of the chord: 3 and 5 are the chord's own third and
// fifth (a suspended chord's second or fourth stands for its third), 7 its seventh (the
// minor seventh when the chord has none and is minor, else the major seventh).
int32_t degreeInterval(const Chord& chord, int32_t degree) {
    switch (degree) {
    case 1:
        return 0;
    case 2:
        return 2;
    case 3:
        return has(chord, 3) ? 3 : has(chord, 4) ? 4 : has(chord, 2) ? 2 : has(chord, 5) ? 5 : 7;
    case 4:
        return 5;
    case 5:
        return has(chord, 6) ? 6 : has(chord, 8) ? 8 : 7;
    case 6:
        return 9;
    case 7:
        return has(chord, 11) ? 11 : (has(chord, 10) || has(chord, 3)) ? 10 : 11;
    case 8:
        return 12;
    case 9:
        return 14;
    default:
        return 12 + degreeInterval(chord, degree - 7);
    }
}

// The grid the song is laid out on: one cell per channel and step.
struct Timeline {
    int32_t steps = 0;
    std::vector<std::vector<ItCell>> channels; // [channel][step]
};

struct Context {
    const Song& song;
    const InstrumentSet& instruments;
    std::map<std::string, uint8_t> instrumentIndex; // 1-based
    std::vector<std::string> used;                  // in the order the song first names them
    std::string error;
};

bool fail(Context& context, int32_t line, const std::string& reason) {
    context.error = "line " + std::to_string(line) + ": " + reason;
    return false;
}

// The module's number for an instrument, which becomes part of the module on first use.
bool useInstrument(Context& context, const std::string& name, int32_t line, uint8_t& index) {
    if (context.instruments.count(name) == 0) {
        return fail(context, line, "no instrument '" + name + "'");
    }
    if (context.instrumentIndex.count(name) == 0) {
        context.used.push_back(name);
        context.instrumentIndex[name] = static_cast<uint8_t>(context.used.size());
    }
    index = context.instrumentIndex[name];
    return true;
}

bool parseLength(const std::string& text, int32_t& length) {
    char* end = nullptr;
    long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < 1 || value > 64 * kStepsPerBar) {
        return false;
    }
    length = static_cast<int32_t>(value);
    return true;
}

// Expands "[ ... ]*N" groups, nested or not.
bool expandRepeats(const std::vector<std::string>& tokens, size_t& at, bool inGroup,
                   std::vector<std::string>& out, std::string& reason) {
    while (at < tokens.size()) {
        const std::string& token = tokens[at++];
        if (token == "[") {
            std::vector<std::string> group;
            if (!expandRepeats(tokens, at, true, group, reason)) {
                return false;
            }
            const std::string& close = tokens[at - 1];
            int32_t times = 0;
            if (close.rfind("]*", 0) != 0 || !parseLength(close.substr(2), times)) {
                reason = "'" + close + "' needs a count, like ]*4";
                return false;
            }
            for (int32_t i = 0; i < times; ++i) {
                out.insert(out.end(), group.begin(), group.end());
            }
        } else if (token[0] == ']') {
            if (!inGroup) {
                reason = "'" + token + "' closes no group";
                return false;
            }
            return true;
        } else {
            out.push_back(token);
        }
    }
    if (inGroup) {
        reason = "a '[' group is not closed with ]*N";
        return false;
    }
    return true;
}

bool tokensOf(const std::string& text, std::vector<std::string>& tokens, std::string& reason) {
    std::istringstream words(text);
    std::vector<std::string> raw;
    std::string word;
    while (words >> word) {
        raw.push_back(word);
    }
    size_t at = 0;
    return expandRepeats(raw, at, false, tokens, reason);
}

// One thing that happens on a channel, at a step relative to the line's start.
struct Event {
    int32_t step = 0;
    int32_t length = 1;
    ItCell cell;
    bool effectEveryRow = false; // the effect lasts for the whole note (arpeggio, glide)
};

// The chords of a section, one per step; empty when the section has none.
bool sectionChords(Context& context, const Section& section, std::vector<Chord>& chords) {
    const int32_t steps = section.bars * kStepsPerBar;
    std::vector<Chord> pattern;
    for (const SectionLine& line : section.lines) {
        if (line.voice != "chords") {
            continue;
        }
        std::string text = line.text;
        std::replace(text.begin(), text.end(), '|', '\n');
        std::istringstream bars(text);
        std::string bar;
        while (std::getline(bars, bar)) {
            std::istringstream words(bar);
            std::vector<Chord> inBar;
            std::string word;
            while (words >> word) {
                Chord chord;
                if (!parseChord(word, chord)) {
                    return fail(context, line.line,
                                "'" + word + "' is not a chord like Am, F#, Bb7");
                }
                chord.root = (chord.root + section.transpose % 12 + 12) % 12;
                inBar.push_back(chord);
            }
            if (inBar.empty()) {
                continue;
            }
            if (kStepsPerBar % static_cast<int32_t>(inBar.size()) != 0) {
                return fail(context, line.line, "a bar holds 1, 2, 4, 8 or 16 chords");
            }
            for (const Chord& chord : inBar) {
                pattern.insert(pattern.end(), kStepsPerBar / inBar.size(), chord);
            }
        }
    }
    chords.clear();
    for (int32_t step = 0; !pattern.empty() && step < steps; ++step) {
        chords.push_back(pattern[static_cast<size_t>(step) % pattern.size()]);
    }
    return true;
}

// A melodic line: notes, chord tones, rests, ties, velocity changes and bar lines.
bool melodicEvents(Context& context, const Voice& voice, const Section& section,
                   const SectionLine& line, const std::vector<Chord>& chords,
                   std::vector<Event>& events, int32_t& lengthSteps) {
    std::vector<std::string> tokens;
    std::string reason;
    if (!tokensOf(line.text, tokens, reason)) {
        return fail(context, line.line, reason);
    }
    int32_t position = 0;
    int32_t length = 4;
    int32_t velocity = voice.velocity;
    uint8_t instrument = context.instrumentIndex.at(voice.instrument);
    for (const std::string& token : tokens) {
        std::string bad = "'" + token + "' in " + voice.name + ": ";
        if (token == "|") {
            if (position % kStepsPerBar != 0) {
                return fail(context, line.line,
                            voice.name + ": a bar line after " +
                                std::to_string(position % kStepsPerBar) + " steps of bar " +
                                std::to_string(position / kStepsPerBar + 1));
            }
            continue;
        }
        if (token[0] == '=') {
            if (!useInstrument(context, token.substr(1), line.line, instrument)) {
                return false;
            }
            continue;
        }
        if (token[0] == 'v' && token.size() > 1 &&
            std::isdigit(static_cast<unsigned char>(token[1]))) {
            if (!parseLength(token.substr(1), velocity) || velocity > 64) {
                return fail(context, line.line, bad + "velocity is v0..v64");
            }
            continue;
        }
        // The word, then ':length', then accents.
        std::string word = token;
        int32_t accent = 0;
        while (!word.empty() && (word.back() == '!' || word.back() == '?')) {
            accent += word.back() == '!' ? 1 : -1;
            word.pop_back();
        }
        size_t colon = word.find(':');
        if (colon != std::string::npos) {
            if (!parseLength(word.substr(colon + 1), length)) {
                return fail(context, line.line, bad + "a length is :1 to :1024 sixteenths");
            }
            word = word.substr(0, colon);
        }
        bool glide = !word.empty() && word[0] == '>';
        if (glide) {
            word.erase(0, 1);
        }
        Event event;
        event.step = position;
        event.length = length;
        if (word == "_") {
            if (events.empty()) {
                return fail(context, line.line, bad + "a tie needs a note before it");
            }
            events.back().length += length;
            position += length;
            continue;
        }
        if (word == "r") {
            event.cell.note = ItCell::kNoteOff;
            events.push_back(event);
            position += length;
            continue;
        }
        int32_t note = 0;
        if (word.size() > 1 && word[0] == '@') {
            if (position >= static_cast<int32_t>(chords.size())) {
                return fail(context, line.line, bad + "a chord tone needs a chords line");
            }
            const Chord& chord = chords[static_cast<size_t>(position)];
            int32_t root = voice.rootNote + ((chord.root - voice.rootNote) % 12 + 12) % 12;
            if (word == "@arp") {
                int32_t third = std::min(degreeInterval(chord, 3), 15);
                int32_t fifth = std::min(degreeInterval(chord, 5), 15);
                if (!has(chord, 3) && !has(chord, 4)) {
                    third = fifth;
                    fifth = 12;
                }
                note = root;
                event.cell.effect = kEffectArpeggio;
                event.cell.effectParam = static_cast<uint8_t>(third << 4 | fifth);
                event.effectEveryRow = true;
            } else {
                size_t end = 1;
                while (end < word.size() && std::isdigit(static_cast<unsigned char>(word[end]))) {
                    ++end;
                }
                int32_t degree = std::atoi(word.substr(1, end - 1).c_str());
                if (end == 1 || degree < 1 || degree > 14) {
                    return fail(context, line.line, bad + "a chord tone is @1 to @14 or @arp");
                }
                note = root + degreeInterval(chord, degree);
                for (; end < word.size(); ++end) {
                    if (word[end] == '\'') {
                        note += 12;
                    } else if (word[end] == ',') {
                        note -= 12;
                    } else {
                        return fail(context, line.line,
                                    bad + "after a chord tone only ' and , move octaves");
                    }
                }
            }
        } else if (parseNoteName(word, note)) {
            note += section.transpose;
        } else {
            return fail(context, line.line,
                        bad +
                            "not a note (c4, f#3, bb2), chord tone (@1, @5'), rest (r) or tie (_)");
        }
        if (note < 0 || note > 119) {
            return fail(context, line.line, bad + "the note is outside the playable range");
        }
        event.cell.note = static_cast<int16_t>(note);
        event.cell.instrument = instrument;
        int32_t played = velocity + 12 * accent;
        if (accent < 0) {
            played = velocity * 6 / 10;
        }
        event.cell.volume = static_cast<int16_t>(std::clamp(played, 0, 64));
        if (glide) {
            if (voice.glide == 0) {
                return fail(context, line.line, bad + "a glide needs glide=SPEED on the voice");
            }
            event.cell.effect = kEffectPortamento;
            event.cell.effectParam = static_cast<uint8_t>(voice.glide);
            event.effectEveryRow = true;
        }
        events.push_back(event);
        position += length;
    }
    lengthSteps = position;
    return true;
}

// A drum line: one kit character per step; '.' rests; spaces and bar lines only help reading.
bool drumEvents(Context& context, const Voice& voice, const SectionLine& line,
                std::vector<Event>& events, int32_t& lengthSteps) {
    std::vector<std::string> tokens;
    std::string reason;
    if (!tokensOf(line.text, tokens, reason)) {
        return fail(context, line.line, reason);
    }
    int32_t position = 0;
    for (const std::string& token : tokens) {
        for (char symbol : token) {
            if (symbol == '|') {
                continue;
            }
            if (symbol != '.') {
                const KitEntry* entry = nullptr;
                for (const KitEntry& candidate : context.song.kit) {
                    if (candidate.symbol == symbol) {
                        entry = &candidate;
                    }
                }
                if (entry == nullptr) {
                    return fail(context, line.line,
                                voice.name + ": '" + std::string(1, symbol) +
                                    "' is not in the kit");
                }
                Event event;
                event.step = position;
                event.cell.note = static_cast<int16_t>(entry->note);
                event.cell.instrument = context.instrumentIndex.at(entry->instrument);
                event.cell.volume = static_cast<int16_t>(entry->volume);
                events.push_back(event);
            }
            ++position;
        }
    }
    lengthSteps = position;
    return true;
}

// Lays a line's events into the channel from `start`, repeating the line until the section
// is full; what passes the section's end is cut.
void layEvents(const std::vector<Event>& events, int32_t lengthSteps, int32_t start,
               int32_t sectionSteps, std::vector<ItCell>& channel) {
    for (int32_t copy = 0; copy < sectionSteps; copy += lengthSteps) {
        for (const Event& event : events) {
            int32_t step = copy + event.step;
            if (step >= sectionSteps) {
                break;
            }
            channel[static_cast<size_t>(start + step)] = event.cell;
            if (!event.effectEveryRow) {
                continue;
            }
            for (int32_t row = 1; row < event.length && step + row < sectionSteps; ++row) {
                ItCell& held = channel[static_cast<size_t>(start + step + row)];
                held.effect = event.cell.effect;
                held.effectParam = event.cell.effectParam;
            }
        }
    }
}

const Section* findSection(const Song& song, const std::string& name) {
    for (const Section& section : song.sections) {
        if (section.name == name) {
            return &section;
        }
    }
    return nullptr;
}

const Voice* findVoice(const Song& song, const std::string& name) {
    for (const Voice& voice : song.voices) {
        if (voice.name == name) {
            return &voice;
        }
    }
    return nullptr;
}

bool sameCells(const ItCell& a, const ItCell& b) {
    return a.note == b.note && a.instrument == b.instrument && a.volume == b.volume &&
           a.effect == b.effect && a.effectParam == b.effectParam;
}

bool samePattern(const ItPattern& a, const ItPattern& b) {
    if (a.rows != b.rows) {
        return false;
    }
    for (int32_t row = 0; row < a.rows; ++row) {
        for (size_t channel = 0; channel < a.cells[row].size(); ++channel) {
            if (!sameCells(a.cells[row][channel], b.cells[row][channel])) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

bool parseNoteName(const std::string& text, int32_t& midiNote) {
    if (text.size() < 2 || !isNoteLetter(text[0])) {
        return false;
    }
    int32_t note = pitchClass(text[0]);
    size_t at = 1;
    if (text[at] == '#' || (text[at] == 'b' && at + 1 < text.size())) {
        note += text[at] == '#' ? 1 : -1;
        ++at;
    }
    if (at + 1 != text.size() || !std::isdigit(static_cast<unsigned char>(text[at]))) {
        return false;
    }
    midiNote = note + 12 * (text[at] - '0' + 1);
    return true;
}

namespace {

// Every voice's instrument and every kit instrument become part of the module; echoes must
// repeat a melodic voice.
bool checkVoices(Context& context) {
    const Song& song = context.song;
    uint8_t index = 0;
    for (const Voice& voice : song.voices) {
        if (!voice.drums && !useInstrument(context, voice.instrument, voice.line, index)) {
            return false;
        }
        if (!voice.echoOf.empty()) {
            const Voice* source = findVoice(song, voice.echoOf);
            if (source == nullptr || !source->echoOf.empty() || source->drums) {
                return fail(context, voice.line,
                            voice.name + " echoes '" + voice.echoOf +
                                "', which is no melodic voice");
            }
        }
    }
    for (const KitEntry& entry : song.kit) {
        if (!useInstrument(context, entry.instrument, entry.line, index)) {
            return false;
        }
    }
    return true;
}

// One voice's part of a section: its lines one after the other.
bool voicePart(Context& context, const Voice& voice, const Section& section,
               const std::vector<Chord>& chords, std::vector<Event>& events, int32_t& lengthSteps) {
    for (const SectionLine& line : section.lines) {
        if (line.voice != voice.name) {
            continue;
        }
        if (!voice.echoOf.empty()) {
            return fail(context, line.line, voice.name + " is an echo and plays no lines");
        }
        std::vector<Event> more;
        int32_t moreSteps = 0;
        bool ok = voice.drums
                      ? drumEvents(context, voice, line, more, moreSteps)
                      : melodicEvents(context, voice, section, line, chords, more, moreSteps);
        if (!ok) {
            return false;
        }
        for (Event& event : more) {
            event.step += lengthSteps;
            events.push_back(event);
        }
        lengthSteps += moreSteps;
    }
    return true;
}

// Every played section's lines onto the grid, and its tempo onto the control channel.
bool laySections(Context& context, const std::vector<const Section*>& played, int32_t control,
                 Timeline& timeline) {
    const Song& song = context.song;
    int32_t start = 0;
    for (const Section* section : played) {
        const int32_t sectionSteps = section->bars * kStepsPerBar;
        for (const SectionLine& line : section->lines) {
            if (line.voice != "chords" && findVoice(song, line.voice) == nullptr) {
                return fail(context, line.line, "no voice '" + line.voice + "'");
            }
        }
        std::vector<Chord> chords;
        if (!sectionChords(context, *section, chords)) {
            return false;
        }
        if (section->tempo != 0) {
            ItCell& cell =
                timeline.channels[static_cast<size_t>(control)][static_cast<size_t>(start)];
            cell.effect = kEffectTempo;
            cell.effectParam = static_cast<uint8_t>(section->tempo);
        }
        for (size_t v = 0; v < song.voices.size(); ++v) {
            std::vector<Event> events;
            int32_t lengthSteps = 0;
            if (!voicePart(context, song.voices[v], *section, chords, events, lengthSteps)) {
                return false;
            }
            if (events.empty() && lengthSteps == 0) {
                continue; // the voice is silent here
            }
            if (lengthSteps == 0 || lengthSteps > sectionSteps) {
                context.error = "section " + section->name + ": " + song.voices[v].name + " is " +
                                std::to_string(lengthSteps) + " steps long, the section " +
                                std::to_string(sectionSteps);
                return false;
            }
            layEvents(events, lengthSteps, start, sectionSteps, timeline.channels[v]);
        }
        start += sectionSteps;
    }
    return true;
}

// Echo voices repeat their source later (or double it at once): the source's own instrument
// becomes the echo's, others stay unless the echo swaps them.
bool layEchoes(Context& context, Timeline& timeline) {
    const Song& song = context.song;
    for (size_t v = 0; v < song.voices.size(); ++v) {
        const Voice& voice = song.voices[v];
        if (voice.echoOf.empty()) {
            continue;
        }
        const Voice* sourceVoice = findVoice(song, voice.echoOf);
        size_t source = static_cast<size_t>(sourceVoice - song.voices.data());
        std::map<uint8_t, uint8_t> instrumentFor = {
            {context.instrumentIndex.at(sourceVoice->instrument),
             context.instrumentIndex.at(voice.instrument)}};
        for (const auto& [from, to] : voice.swaps) {
            uint8_t fromIndex = 0, toIndex = 0;
            if (!useInstrument(context, from, voice.line, fromIndex) ||
                !useInstrument(context, to, voice.line, toIndex)) {
                return false;
            }
            instrumentFor[fromIndex] = toIndex;
        }
        for (int32_t step = 0; step + voice.echoDelaySteps < timeline.steps; ++step) {
            ItCell cell = timeline.channels[source][static_cast<size_t>(step)];
            auto swap = instrumentFor.find(cell.instrument);
            if (swap != instrumentFor.end()) {
                cell.instrument = swap->second;
            }
            timeline.channels[v][static_cast<size_t>(step + voice.echoDelaySteps)] = cell;
        }
    }
    return true;
}

// The patterns and the order list: each section cut into pieces of at most 64 rows, equal
// pieces shared. A song that loops jumps from its last row to its loop section's first piece.
bool cutPatterns(Context& context, const std::vector<const Section*>& played, int32_t control,
                 Timeline& timeline, ItModule& module) {
    const Song& song = context.song;
    std::vector<std::pair<int32_t, int32_t>> pieces; // first step, rows
    int32_t loopOrder = -1;
    int32_t start = 0;
    for (const Section* section : played) {
        const int32_t sectionSteps = section->bars * kStepsPerBar;
        if (section->name == song.loopTo && loopOrder < 0) {
            loopOrder = static_cast<int32_t>(pieces.size());
        }
        for (int32_t offset = 0; offset < sectionSteps; offset += 64) {
            pieces.push_back({start + offset, std::min(64, sectionSteps - offset)});
        }
        start += sectionSteps;
    }
    if (pieces.size() > 255) {
        context.error = "the song is longer than 255 patterns";
        return false;
    }
    if (loopOrder >= 0) {
        ItCell& last =
            timeline
                .channels[static_cast<size_t>(control)][static_cast<size_t>(timeline.steps - 1)];
        last.effect = kEffectJump;
        last.effectParam = static_cast<uint8_t>(loopOrder);
    }
    for (auto [pieceStart, rows] : pieces) {
        ItPattern pattern;
        pattern.rows = rows;
        for (int32_t row = 0; row < rows; ++row) {
            std::vector<ItCell> cells;
            for (const std::vector<ItCell>& channel : timeline.channels) {
                cells.push_back(channel[static_cast<size_t>(pieceStart + row)]);
            }
            pattern.cells.push_back(cells);
        }
        size_t shared = 0;
        while (shared < module.patterns.size() && !samePattern(module.patterns[shared], pattern)) {
            ++shared;
        }
        if (shared == module.patterns.size()) {
            module.patterns.push_back(pattern);
        }
        module.orders.push_back(static_cast<uint8_t>(shared));
    }
    if (module.patterns.size() > 200) {
        context.error = "the song needs more than 200 different patterns";
        return false;
    }
    return true;
}

// The instruments' samples, synthesized for the song's tick length, in the order of first use.
bool addInstruments(Context& context, ItModule& module) {
    const double tickMs = 2500.0 / context.song.tempo;
    for (const std::string& name : context.used) {
        SynthesizedInstrument made = synthesizeInstrument(context.instruments.at(name), tickMs);
        if (module.samples.size() + made.samples.size() > 99) {
            context.error = "the song's instruments need more than 99 samples";
            return false;
        }
        uint8_t first = static_cast<uint8_t>(module.samples.size());
        for (uint8_t& sample : made.instrument.sampleForNote) {
            sample = sample == 0 ? 0 : static_cast<uint8_t>(sample + first);
        }
        module.instruments.push_back(made.instrument);
        for (ItSample& sample : made.samples) {
            module.samples.push_back(std::move(sample));
        }
    }
    return true;
}

} // namespace

bool compileSong(const Song& song, const InstrumentSet& instruments, ItModule& module,
                 std::string& error) {
    Context context{song, instruments, {}, {}, {}};
    if (!checkVoices(context)) {
        error = context.error;
        return false;
    }
    Timeline timeline;
    std::vector<const Section*> played;
    for (const std::string& name : song.arrangement) {
        const Section* section = findSection(song, name);
        if (section == nullptr) {
            error = "play: no section '" + name + "'";
            return false;
        }
        played.push_back(section);
        timeline.steps += section->bars * kStepsPerBar;
    }
    if (!song.loopTo.empty() && std::find(song.arrangement.begin(), song.arrangement.end(),
                                          song.loopTo) == song.arrangement.end()) {
        error = "loop: '" + song.loopTo + "' is not played";
        return false;
    }

    // A last channel carries tempo changes and the jump back, when the song has either.
    bool needsControl = !song.loopTo.empty();
    for (const Section* section : played) {
        needsControl = needsControl || section->tempo != 0;
    }
    const int32_t channels = static_cast<int32_t>(song.voices.size()) + (needsControl ? 1 : 0);
    const int32_t control = channels - 1;
    timeline.channels.assign(static_cast<size_t>(channels),
                             std::vector<ItCell>(static_cast<size_t>(timeline.steps)));

    module = ItModule();
    module.name = song.title.substr(0, 25);
    module.channels = channels;
    module.initialSpeed = 6; // six ticks a row: a row is a sixteenth at `tempo` beats a minute
    module.initialTempo = static_cast<uint8_t>(song.tempo);
    for (const Voice& voice : song.voices) {
        module.channelPan.push_back(static_cast<uint8_t>(32 + voice.pan));
        module.channelVolume.push_back(static_cast<uint8_t>(voice.volume));
    }
    if (!laySections(context, played, control, timeline) || !layEchoes(context, timeline) ||
        !cutPatterns(context, played, control, timeline, module) ||
        !addInstruments(context, module)) {
        error = context.error;
        return false;
    }
    return true;
}
