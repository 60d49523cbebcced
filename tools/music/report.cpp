#include "report.h"

#include "canvas.h"
#include "dsp.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace {

constexpr size_t kFftFrames = 2048;

// Magnitudes of the first half of the spectrum of a Hann-windowed mono slice.
std::vector<double> spectrumAt(const StereoAudio& audio, size_t firstFrame, size_t size) {
    std::vector<std::complex<double>> values(size);
    for (size_t i = 0; i < size; ++i) {
        size_t f = firstFrame + i;
        double mono =
            f < audio.frames() ? 0.5 * (audio.samples[2 * f] + audio.samples[2 * f + 1]) : 0.0;
        double window = 0.5 - 0.5 * std::cos(2 * kPi * static_cast<double>(i) / size);
        values[i] = mono * window;
    }
    fft(values, false);
    std::vector<double> magnitudes(size / 2);
    for (size_t k = 0; k < size / 2; ++k) {
        magnitudes[k] = std::abs(values[k]) / (static_cast<double>(size) / 4);
    }
    return magnitudes;
}

uint32_t heat(double level) {
    // black, deep blue, magenta, orange, yellow, white
    static const double kStops[][3] = {{0, 0, 0},      {20, 10, 90},   {150, 20, 140},
                                       {240, 110, 30}, {250, 220, 60}, {255, 255, 255}};
    level = std::clamp(level, 0.0, 1.0) * 5;
    int32_t index = std::min(4, static_cast<int32_t>(level));
    double t = level - index;
    uint32_t rgb = 0;
    for (int32_t c = 0; c < 3; ++c) {
        double value = kStops[index][c] + t * (kStops[index + 1][c] - kStops[index][c]);
        rgb = rgb << 8 | static_cast<uint32_t>(value);
    }
    return 0xFF000000u | rgb;
}

} // namespace

TrackFigures analyseTrack(const StereoAudio& audio) {
    TrackFigures figures;
    figures.seconds = audio.seconds();
    figures.loudness = measureLoudness(audio);
    const size_t window = 441000;
    for (size_t first = 0; first < audio.frames(); first += window) {
        figures.windowRmsDb.push_back(measureLoudness(audio, first, window).rmsDb);
    }

    // The lamps: every 225 ms the program reads the peak of the last 20 ms.
    size_t steps = 0, lit = 0, full = 0;
    for (size_t end = 9922; end <= audio.frames(); end += 9922) {
        double peak = 0;
        for (size_t f = end - 882; f < end; ++f) {
            peak = std::max({peak, std::abs(static_cast<double>(audio.samples[2 * f])),
                             std::abs(static_cast<double>(audio.samples[2 * f + 1]))});
        }
        ++steps;
        lit += peak >= 1.0 / 3 ? 1 : 0;
        full += peak >= 0.75 ? 1 : 0;
    }
    figures.lampLitShare = steps ? static_cast<double>(lit) / steps : 0;
    figures.lampFullShare = steps ? static_cast<double>(full) / steps : 0;

    // Onsets: peaks of the positive spectral change above its running median.
    const size_t hop = 512;
    std::vector<double> flux;
    std::vector<double> previous;
    for (size_t first = 0; first + 1024 <= audio.frames(); first += hop) {
        std::vector<double> magnitudes = spectrumAt(audio, first, 1024);
        double sum = 0;
        for (size_t k = 0; k < magnitudes.size() && !previous.empty(); ++k) {
            sum += std::max(0.0, std::log1p(100 * magnitudes[k]) - std::log1p(100 * previous[k]));
        }
        flux.push_back(sum);
        previous = std::move(magnitudes);
    }
    size_t onsets = 0;
    for (size_t i = 1; i + 1 < flux.size(); ++i) {
        size_t from = i >= 8 ? i - 8 : 0;
        std::vector<double> around(flux.begin() + static_cast<std::ptrdiff_t>(from),
                                   flux.begin() +
                                       static_cast<std::ptrdiff_t>(std::min(flux.size(), i + 9)));
        std::nth_element(around.begin(), around.begin() + around.size() / 2, around.end());
        double threshold = 1.5 * around[around.size() / 2] + 1.0;
        if (flux[i] > threshold && flux[i] >= flux[i - 1] && flux[i] > flux[i + 1]) {
            ++onsets;
        }
    }
    figures.onsetsPerSecond = figures.seconds > 0 ? onsets / figures.seconds : 0;
    return figures;
}

bool writeSpectrogram(const StereoAudio& audio, const std::string& pngPath) {
    const int32_t columns = std::max<int32_t>(1, static_cast<int32_t>(audio.seconds() * 8));
    const int32_t rows = 240;
    const int32_t strip = 48;
    Canvas picture(columns, rows + strip, 0xFF000000u);
    const double lowHz = 30, highHz = 16000;
    for (int32_t column = 0; column < columns; ++column) {
        size_t first = static_cast<size_t>(column) * 44100 / 8;
        std::vector<double> magnitudes = spectrumAt(audio, first, kFftFrames);
        for (int32_t row = 0; row < rows; ++row) {
            double hz =
                lowHz * std::pow(highHz / lowHz, (rows - 1 - row) / static_cast<double>(rows - 1));
            size_t bin =
                std::min(magnitudes.size() - 1, static_cast<size_t>(hz * kFftFrames / 44100 + 0.5));
            double db = gainToDb(magnitudes[bin]);
            picture.set(column, row, heat((db + 85) / 70));
        }
        double rms = measureLoudness(audio, first, 44100 / 8).rmsDb;
        int32_t height = std::clamp(static_cast<int32_t>((rms + 30) / 24 * strip), 0, strip);
        picture.fillRect(column, rows + strip - height, 1, height, 0xFF40C060u);
        if (column % 80 == 0) { // a tick every ten seconds
            picture.fillRect(column, rows, 1, 6, 0xFFFFFFFFu);
        }
    }
    return writePng(pngPath, picture);
}
