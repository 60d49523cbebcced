// The music tool: compiles songs into modules, renders and encodes tracks, makes the footsteps
// and writes the music report. Run by the build (tools/music/CMakeLists.txt) and by
// `make music-report`.
//
//     music module INSTRUMENTS SONG OUT.it PEAK_DB   a looping module, its peak at PEAK_DB
//     music track INSTRUMENTS SONG OUT.ogg OUT.it    a track, rendered once and encoded
//     music mix INSTRUMENTS SONG                     each voice's loudness alone, for balancing
//     music footsteps OUTDIR                         fs_v3_01_Q.wav .. fs_v3_04_Q.wav
//     music report OUTDIR TRACK.ogg ...              figures on stdout, spectrograms in OUTDIR

#include "audio.h"
#include "footsteps.h"
#include "it_module.h"
#include "report.h"
#include "song.h"
#include "text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace {

// Every track lands on this loudness, with its peaks held below the ceiling; the encoded file
// must stay at or below kTrackPeakLimitDb.
constexpr double kTrackRmsDb = -14.0;
constexpr double kTrackCeilingDb = -1.6;
constexpr double kTrackPeakLimitDb = -1.05;
constexpr float kVorbisQuality = 0.5f;

bool readBytes(const std::string& path, std::vector<uint8_t>& bytes) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return true;
}

bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

int failWith(const std::string& message) {
    std::fprintf(stderr, "music: %s\n", message.c_str());
    return 1;
}

bool compileFiles(const std::string& instrumentsPath, const std::string& songPath, ItModule& module,
                  Song& song, std::string& error) {
    std::string instrumentText, songText;
    if (!readTextFile(instrumentsPath, instrumentText, error) ||
        !readTextFile(songPath, songText, error)) {
        return false;
    }
    InstrumentSet instruments;
    if (!parseInstruments(instrumentText, instruments, error)) {
        error = instrumentsPath + ": " + error;
        return false;
    }
    if (!parseSong(songText, song, error) || !compileSong(song, instruments, module, error)) {
        error = songPath + ": " + error;
        return false;
    }
    return true;
}

// A fixed serial number per track, from its title.
int32_t serialFor(const std::string& title) {
    uint32_t hash = 2166136261u;
    for (char c : title) {
        hash = (hash ^ static_cast<uint8_t>(c)) * 16777619u;
    }
    return static_cast<int32_t>(hash & 0x7FFFFFFF);
}

int moduleCommand(const std::string& instruments, const std::string& songPath,
                  const std::string& outPath, double peakDb) {
    ItModule module;
    Song song;
    std::string error;
    if (!compileFiles(instruments, songPath, module, song, error)) {
        return failWith(error);
    }
    // The mix volume that puts one pass of the song at the wanted peak.
    std::vector<uint8_t> file;
    for (int pass = 0; pass < 3; ++pass) {
        StereoAudio audio;
        if (!writeItModule(module, file, error) || !renderModule(file, 0, audio, error)) {
            return failWith(songPath + ": " + error);
        }
        double peak = measureLoudness(audio).peakDb;
        double wanted = module.mixVolume * std::pow(10.0, (peakDb - peak) / 20);
        int32_t mix = std::clamp(static_cast<int32_t>(std::floor(wanted)), 1, 128);
        if (mix == module.mixVolume) {
            break;
        }
        module.mixVolume = static_cast<uint8_t>(mix);
    }
    if (!writeItModule(module, file, error)) {
        return failWith(songPath + ": " + error);
    }
    return writeBytes(outPath, file) ? 0 : failWith(outPath + ": cannot write");
}

int trackCommand(const std::string& instruments, const std::string& songPath,
                 const std::string& oggPath, const std::string& itPath) {
    ItModule module;
    Song song;
    std::string error;
    std::vector<uint8_t> file;
    StereoAudio rendered;
    if (!compileFiles(instruments, songPath, module, song, error)) {
        return failWith(error);
    }
    if (!writeItModule(module, file, error) || !renderModule(file, 0, rendered, error)) {
        return failWith(songPath + ": " + error);
    }
    if (!writeBytes(itPath, file)) {
        return failWith(itPath + ": cannot write");
    }
    // Encoding can lift a peak a little: lower the ceiling until the decoded file keeps it.
    double ceilingDb = kTrackCeilingDb;
    std::vector<uint8_t> ogg;
    for (int attempt = 0; attempt < 4; ++attempt) {
        StereoAudio mastered = rendered;
        masterTrack(mastered, kTrackRmsDb, ceilingDb);
        StereoAudio decoded;
        if (!encodeOggVorbis(mastered, kVorbisQuality, serialFor(song.title), song.title, ogg,
                             error) ||
            !decodeOggVorbis(ogg, decoded, error)) {
            return failWith(songPath + ": " + error);
        }
        double peakDb = measureLoudness(decoded).peakDb;
        if (peakDb <= kTrackPeakLimitDb) {
            return writeBytes(oggPath, ogg) ? 0 : failWith(oggPath + ": cannot write");
        }
        ceilingDb -= peakDb - kTrackPeakLimitDb + 0.1;
    }
    return failWith(songPath + ": the encoded track keeps peaking above -1 dBFS");
}

// Each voice played alone, against the whole song: how loud it sits in the mix.
int mixCommand(const std::string& instruments, const std::string& songPath) {
    ItModule module;
    Song song;
    std::string error;
    if (!compileFiles(instruments, songPath, module, song, error)) {
        return failWith(error);
    }
    std::vector<uint8_t> file;
    StereoAudio audio;
    if (!writeItModule(module, file, error) || !renderModule(file, 0, audio, error)) {
        return failWith(songPath + ": " + error);
    }
    Loudness whole = measureLoudness(audio);
    std::printf("%-10s %8s %8s   (dB against the whole song: RMS %.1f dBFS)\n", "voice", "RMS",
                "peak", whole.rmsDb);
    for (size_t voice = 0; voice < song.voices.size(); ++voice) {
        ItModule alone = module;
        for (size_t other = 0; other < alone.channelVolume.size(); ++other) {
            if (other != voice) {
                alone.channelVolume[other] = 0;
            }
        }
        if (!writeItModule(alone, file, error) || !renderModule(file, 0, audio, error)) {
            return failWith(songPath + ": " + error);
        }
        Loudness part = measureLoudness(audio);
        std::printf("%-10s %8.1f %8.1f\n", song.voices[voice].name.c_str(),
                    part.rmsDb - whole.rmsDb, part.peakDb - whole.rmsDb);
    }
    return 0;
}

int footstepsCommand(const std::string& outDir) {
    for (int32_t number = 1; number <= 4; ++number) {
        char name[32];
        std::snprintf(name, sizeof name, "/fs_v3_%02d_Q.wav", number);
        if (!writeBytes(outDir + name, wavFile(synthesizeFootstep(number), 44100))) {
            return failWith(outDir + name + ": cannot write");
        }
    }
    return 0;
}

int reportCommand(const std::string& outDir, int count, char** paths) {
    std::printf("%-34s %8s %9s %9s %8s %6s %6s  loudness every 10 s (dBFS)\n", "track", "length",
                "peak dB", "RMS dB", "onsets/s", "lamps", "full");
    for (int i = 0; i < count; ++i) {
        std::string path = paths[i];
        std::vector<uint8_t> bytes;
        StereoAudio audio;
        std::string error;
        if (!readBytes(path, bytes) || !decodeOggVorbis(bytes, audio, error)) {
            return failWith(path + ": cannot decode " + error);
        }
        TrackFigures figures = analyseTrack(audio);
        std::string name = path.substr(path.find_last_of('/') + 1);
        int32_t minutes = static_cast<int32_t>(figures.seconds) / 60;
        double seconds = figures.seconds - 60 * minutes;
        std::printf("%-34s %4d:%04.1f %9.2f %9.2f %8.2f %5.0f%% %5.0f%% ", name.c_str(), minutes,
                    seconds, figures.loudness.peakDb, figures.loudness.rmsDb,
                    figures.onsetsPerSecond, 100 * figures.lampLitShare,
                    100 * figures.lampFullShare);
        for (double db : figures.windowRmsDb) {
            std::printf(" %.0f", db);
        }
        std::printf("\n");
        std::string png = outDir + "/" + name.substr(0, name.rfind('.')) + ".png";
        if (!writeSpectrogram(audio, png)) {
            return 1;
        }
    }
    std::printf("lamps: share of the room's 225 ms lamp steps whose 20 ms peak reaches 1/3 of full "
                "scale; full: reaches 0.75 (-2.5 dBFS)\nspectrograms in %s\n",
                outDir.c_str());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::string command = argc > 1 ? argv[1] : "";
    if (command == "module" && argc == 6) {
        return moduleCommand(argv[2], argv[3], argv[4], std::atof(argv[5]));
    }
    if (command == "track" && argc == 6) {
        return trackCommand(argv[2], argv[3], argv[4], argv[5]);
    }
    if (command == "mix" && argc == 4) {
        return mixCommand(argv[2], argv[3]);
    }
    if (command == "footsteps" && argc == 3) {
        return footstepsCommand(argv[2]);
    }
    if (command == "report" && argc >= 4) {
        return reportCommand(argv[2], argc - 3, argv + 3);
    }
    std::fprintf(stderr, "usage: music module INSTRUMENTS SONG OUT.it PEAK_DB\n"
                         "       music track INSTRUMENTS SONG OUT.ogg OUT.it\n"
                         "       music mix INSTRUMENTS SONG\n"
                         "       music footsteps OUTDIR\n"
                         "       music report OUTDIR TRACK.ogg ...\n");
    return 2;
}
