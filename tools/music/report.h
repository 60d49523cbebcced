// The music report: per track its length, peak and loudness, how the loudness moves through
// the song, how the room's lamps would see it, and a spectrogram picture. The music tool's
// report command writes it for `make music-report`.
#pragma once

#include "audio.h"

#include <string>

struct TrackFigures {
    double seconds = 0;
    Loudness loudness;
    std::vector<double> windowRmsDb; // loudness of each 10 s
    double onsetsPerSecond = 0;      // attacks found in the spectrum
    double lampLitShare = 0;         // share of lamp steps (225 ms) with a level of 1/3 or more
    double lampFullShare = 0;        // share with a level of 0.75 or more
};

TrackFigures analyseTrack(const StereoAudio& audio);

// The spectrogram: time left to right (8 columns a second), frequency bottom to top on a
// logarithmic scale from 30 Hz to 16 kHz, with the loudness along the bottom (-30 to -6 dBFS)
// and a tick every ten seconds.
bool writeSpectrogram(const StereoAudio& audio, const std::string& pngPath);
