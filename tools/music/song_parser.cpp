#include "song.h"

#include <cstdlib>
#include <sstream>

namespace {

// A '#' starts a comment at the start of a line or after a space; inside a word it is a sharp.
std::string withoutComment(const std::string& line) {
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t')) {
            return line.substr(0, i);
        }
    }
    return line;
}

bool parseInteger(const std::string& text, int32_t low, int32_t high, int32_t& value) {
    char* end = nullptr;
    long number = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || number < low || number > high) {
        return false;
    }
    value = static_cast<int32_t>(number);
    return true;
}

struct Setting {
    std::string key;
    std::string value;
};

bool splitSettings(std::istringstream& words, std::vector<Setting>& settings, std::string& reason) {
    std::string word;
    while (words >> word) {
        size_t equals = word.find('=');
        if (equals == std::string::npos || equals == 0) {
            reason = "'" + word + "' is not key=value";
            return false;
        }
        settings.push_back({word.substr(0, equals), word.substr(equals + 1)});
    }
    return true;
}

bool integerSetting(const Setting& setting, int32_t low, int32_t high, int32_t& value,
                    std::string& reason) {
    if (!parseInteger(setting.value, low, high, value)) {
        reason = "'" + setting.key + "' needs a whole number " + std::to_string(low) + ".." +
                 std::to_string(high);
        return false;
    }
    return true;
}

} // namespace

bool parseSong(const std::string& text, Song& song, std::string& error) {
    std::istringstream lines(text);
    std::string raw;
    int32_t lineNumber = 0;
    Section* section = nullptr;
    while (std::getline(lines, raw)) {
        ++lineNumber;
        std::string line = withoutComment(raw);
        std::istringstream words(line);
        std::string keyword;
        if (!(words >> keyword)) {
            continue;
        }
        std::string where = "line " + std::to_string(lineNumber) + ": ";
        std::string reason;
        std::vector<Setting> settings;
        if (keyword == "title") {
            std::getline(words >> std::ws, song.title);
            while (!song.title.empty() && (song.title.back() == ' ' || song.title.back() == '\r')) {
                song.title.pop_back();
            }
        } else if (keyword == "tempo") {
            std::string value;
            words >> value;
            if (!parseInteger(value, 32, 255, song.tempo)) {
                error = where + "tempo needs beats per minute 32..255";
                return false;
            }
        } else if (keyword == "kit") {
            std::string entry;
            while (words >> entry) {
                // c=instrument[:volume[:note]]
                KitEntry kit;
                kit.line = lineNumber;
                std::vector<std::string> parts;
                std::string rest = entry.size() > 2 ? entry.substr(2) : "";
                std::istringstream fields(rest);
                std::string part;
                while (std::getline(fields, part, ':')) {
                    parts.push_back(part);
                }
                bool ok = entry.size() > 2 && entry[1] == '=' && entry[0] != '.' &&
                          entry[0] != '[' && entry[0] != ']' && !parts.empty() && !parts[0].empty();
                if (ok) {
                    kit.symbol = entry[0];
                    kit.instrument = parts[0];
                }
                if (ok && parts.size() > 1) {
                    ok = parseInteger(parts[1], 0, 64, kit.volume);
                }
                if (ok && parts.size() > 2) {
                    ok = parseNoteName(parts[2], kit.note);
                }
                if (!ok || parts.size() > 3) {
                    error = where + "'" + entry + "' is not CHARACTER=instrument[:volume[:note]]";
                    return false;
                }
                song.kit.push_back(kit);
            }
        } else if (keyword == "voice" || keyword == "drums") {
            Voice voice;
            voice.drums = keyword == "drums";
            voice.line = lineNumber;
            if (!(words >> voice.name) || (!voice.drums && !(words >> voice.instrument))) {
                error = where + (voice.drums ? "expected 'drums NAME key=value ...'"
                                             : "expected 'voice NAME INSTRUMENT key=value ...'");
                return false;
            }
            if (voice.name == "chords") {
                error = where + "'chords' is not a voice name";
                return false;
            }
            bool ok = splitSettings(words, settings, reason);
            for (size_t i = 0; ok && i < settings.size(); ++i) {
                const Setting& setting = settings[i];
                if (setting.key == "volume") {
                    ok = integerSetting(setting, 0, 64, voice.volume, reason);
                } else if (setting.key == "pan") {
                    ok = integerSetting(setting, -32, 32, voice.pan, reason);
                } else if (setting.key == "velocity") {
                    ok = integerSetting(setting, 0, 64, voice.velocity, reason);
                } else if (setting.key == "glide") {
                    ok = integerSetting(setting, 1, 255, voice.glide, reason);
                } else if (setting.key == "delay") {
                    ok = integerSetting(setting, 0, 64, voice.echoDelaySteps, reason);
                } else if (setting.key == "swap") {
                    // swap=FROM:TO,FROM:TO
                    std::istringstream pairs(setting.value);
                    std::string pair;
                    while (ok && std::getline(pairs, pair, ',')) {
                        size_t colon = pair.find(':');
                        ok = colon != std::string::npos && colon > 0 && colon + 1 < pair.size();
                        if (ok) {
                            voice.swaps.push_back({pair.substr(0, colon), pair.substr(colon + 1)});
                        }
                    }
                    if (!ok) {
                        reason = "swap needs FROM:TO pairs of instruments";
                    }
                } else if (setting.key == "echo") {
                    voice.echoOf = setting.value;
                } else if (setting.key == "root") {
                    ok = parseNoteName(setting.value, voice.rootNote);
                    if (!ok) {
                        reason = "'" + setting.value + "' is not a note like c3 or f#2";
                    }
                } else {
                    ok = false;
                    reason = "unknown key '" + setting.key + "'";
                }
            }
            if (!ok) {
                error = where + reason;
                return false;
            }
            if (!voice.echoOf.empty() && voice.echoDelaySteps < 0) {
                error = where + "an echo needs delay=STEPS";
                return false;
            }
            song.voices.push_back(voice);
        } else if (keyword == "section") {
            Section next;
            next.line = lineNumber;
            if (!(words >> next.name)) {
                error = where + "expected 'section NAME bars=N ...'";
                return false;
            }
            std::string from;
            bool ok = splitSettings(words, settings, reason);
            for (size_t i = 0; ok && i < settings.size(); ++i) {
                const Setting& setting = settings[i];
                if (setting.key == "bars") {
                    ok = integerSetting(setting, 1, 64, next.bars, reason);
                } else if (setting.key == "tempo") {
                    ok = integerSetting(setting, 32, 255, next.tempo, reason);
                } else if (setting.key == "transpose") {
                    ok = integerSetting(setting, -24, 24, next.transpose, reason);
                } else if (setting.key == "from") {
                    from = setting.value;
                } else {
                    ok = false;
                    reason = "unknown key '" + setting.key + "'";
                }
            }
            if (!ok) {
                error = where + reason;
                return false;
            }
            for (const Section& other : song.sections) {
                if (other.name == next.name) {
                    error = where + "section '" + next.name + "' is defined twice";
                    return false;
                }
            }
            if (!from.empty()) {
                // A variation: the other section's lines, its length unless given, and its
                // tempo and transposition unless given; lines written here replace whole voices.
                const Section* base = nullptr;
                for (const Section& other : song.sections) {
                    if (other.name == from) {
                        base = &other;
                    }
                }
                if (base == nullptr) {
                    error = where + "from=" + from + ": no such section above";
                    return false;
                }
                next.lines = base->lines;
                for (SectionLine& copied : next.lines) {
                    if (copied.voice[0] != '~') {
                        copied.voice = "~" + copied.voice; // marks inherited lines
                    }
                }
                next.bars = next.bars == 0 ? base->bars : next.bars;
                bool tempoGiven = false, transposeGiven = false;
                for (const Setting& setting : settings) {
                    tempoGiven = tempoGiven || setting.key == "tempo";
                    transposeGiven = transposeGiven || setting.key == "transpose";
                }
                next.tempo = tempoGiven ? next.tempo : base->tempo;
                next.transpose = transposeGiven ? next.transpose : base->transpose;
            }
            if (next.bars == 0) {
                error = where + "a section needs bars=N";
                return false;
            }
            song.sections.push_back(next);
            section = &song.sections.back();
        } else if (keyword == "play") {
            std::string name;
            while (words >> name) {
                int32_t times = 1;
                size_t star = name.find('*');
                if (star != std::string::npos) {
                    if (!parseInteger(name.substr(star + 1), 1, 64, times)) {
                        error = where + "'" + name + "' is not SECTION*TIMES";
                        return false;
                    }
                    name = name.substr(0, star);
                }
                for (int32_t i = 0; i < times; ++i) {
                    song.arrangement.push_back(name);
                }
            }
            section = nullptr;
        } else if (keyword == "loop") {
            words >> song.loopTo;
            section = nullptr;
        } else if (section != nullptr) {
            // A section line: its voice's inherited line, if any, gives way to the new one.
            std::string rest;
            std::getline(words, rest);
            std::vector<SectionLine>& sectionLines = section->lines;
            for (size_t i = 0; i < sectionLines.size();) {
                if (sectionLines[i].voice == "~" + keyword) {
                    sectionLines.erase(sectionLines.begin() + static_cast<std::ptrdiff_t>(i));
                } else {
                    ++i;
                }
            }
            sectionLines.push_back({keyword, rest, lineNumber});
        } else {
            error = where + "'" + keyword +
                    "' is not a keyword (title, tempo, kit, voice, drums, "
                    "section, play, loop)";
            return false;
        }
    }
    for (Section& each : song.sections) {
        for (SectionLine& sectionLine : each.lines) {
            if (!sectionLine.voice.empty() && sectionLine.voice[0] == '~') {
                sectionLine.voice.erase(0, 1);
            }
        }
    }
    if (song.arrangement.empty()) {
        error = "the song has no 'play' line";
        return false;
    }
    return true;
}
