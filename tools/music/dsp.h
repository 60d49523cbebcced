// The few signal-processing pieces the music tools need: a seeded noise source, an in-place
// FFT, second-order filters and decibel helpers. Build-time tools only, single-threaded.
#pragma once

#include <complex>
#include <cstdint>
#include <vector>

constexpr double kPi = 3.14159265358979323846;
constexpr int32_t kSampleRateHz = 44100;

// Noise that is the same on every build: the classic linear congruential generator.
struct Noise {
    uint32_t state = 1;

    explicit Noise(uint32_t seed) : state(seed) {}
    // A value in -1..1.
    double next() {
        state = state * 1664525u + 1013904223u;
        return static_cast<double>(state >> 8) / 8388608.0 - 1.0;
    }
};

// In-place radix-2 FFT; the size must be a power of two. `inverse` also divides by the size.
void fft(std::vector<std::complex<double>>& values, bool inverse);

// A biquad filter in direct form 1 (coefficients after Robert Bristow-Johnson's cookbook).
struct Biquad {
    double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;

    static Biquad lowPass(double cutoffHz, double q);
    static Biquad highPass(double cutoffHz, double q);
    static Biquad bandPass(double centreHz, double q);
    double process(double x) {
        double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }
};

// Frequency of a MIDI note (60 = middle C, 69 = A 440 Hz).
double noteHz(double midiNote);
double dbToGain(double db);
double gainToDb(double gain); // -200 for silence
