#include "dsp.h"

#include <cmath>
#include <utility>

void fft(std::vector<std::complex<double>>& values, bool inverse) {
    size_t n = values.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) {
            j ^= bit;
        }
        j ^= bit;
        if (i < j) {
            std::swap(values[i], values[j]);
        }
    }
    for (size_t length = 2; length <= n; length <<= 1) {
        double angle = 2 * kPi / static_cast<double>(length) * (inverse ? 1 : -1);
        std::complex<double> step(std::cos(angle), std::sin(angle));
        for (size_t start = 0; start < n; start += length) {
            std::complex<double> w(1, 0);
            for (size_t k = 0; k < length / 2; ++k) {
                std::complex<double> even = values[start + k];
                std::complex<double> odd = values[start + k + length / 2] * w;
                values[start + k] = even + odd;
                values[start + k + length / 2] = even - odd;
                w *= step;
            }
        }
    }
    if (inverse) {
        for (std::complex<double>& value : values) {
            value /= static_cast<double>(n);
        }
    }
}

namespace {

Biquad normalised(double b0, double b1, double b2, double a0, double a1, double a2) {
    Biquad filter;
    filter.b0 = b0 / a0;
    filter.b1 = b1 / a0;
    filter.b2 = b2 / a0;
    filter.a1 = a1 / a0;
    filter.a2 = a2 / a0;
    return filter;
}

} // namespace

Biquad Biquad::lowPass(double cutoffHz, double q) {
    double w = 2 * kPi * cutoffHz / kSampleRateHz;
    double alpha = std::sin(w) / (2 * q);
    double c = std::cos(w);
    return normalised((1 - c) / 2, 1 - c, (1 - c) / 2, 1 + alpha, -2 * c, 1 - alpha);
}

Biquad Biquad::highPass(double cutoffHz, double q) {
    double w = 2 * kPi * cutoffHz / kSampleRateHz;
    double alpha = std::sin(w) / (2 * q);
    double c = std::cos(w);
    return normalised((1 + c) / 2, -(1 + c), (1 + c) / 2, 1 + alpha, -2 * c, 1 - alpha);
}

Biquad Biquad::bandPass(double centreHz, double q) {
    double w = 2 * kPi * centreHz / kSampleRateHz;
    double alpha = std::sin(w) / (2 * q);
    double c = std::cos(w);
    return normalised(alpha, 0, -alpha, 1 + alpha, -2 * c, 1 - alpha);
}

double noteHz(double midiNote) {
    return 440.0 * std::pow(2.0, (midiNote - 69.0) / 12.0);
}

double dbToGain(double db) {
    return std::pow(10.0, db / 20.0);
}

double gainToDb(double gain) {
    return gain > 1e-10 ? 20.0 * std::log10(gain) : -200.0;
}
