#include "footsteps.h"

#include "byte_writer.h"
#include "dsp.h"

#include <algorithm>
#include <cmath>

namespace {

// What makes one step unlike the others: a heavier or lighter heel, a duller or brighter
// scuff, a quicker or slower roll onto the toe.
struct StepShape {
    double lengthMs;
    double heelHz;
    double scuffHz;
    double toeDelayMs;
    double toeLevel;
    uint32_t seed;
};

const StepShape kSteps[] = {
    {150, 95, 900, 62, 0.55, 11},
    {130, 120, 1300, 48, 0.45, 23},
    {190, 80, 700, 85, 0.65, 37},
    {165, 105, 1800, 70, 0.40, 41},
};

// RIFF header, "fmt " chunk with its 16 bytes, "data" chunk header.
constexpr size_t kWavHeaderBytes = 44;
static_assert(12 + (8 + 16) + 8 == kWavHeaderBytes);

} // namespace

std::vector<int16_t> synthesizeFootstep(int32_t number) {
    const StepShape& shape = kSteps[std::clamp(number, 1, 4) - 1];
    const size_t count = static_cast<size_t>(shape.lengthMs * kSampleRateHz / 1000);
    std::vector<double> signal(count);
    Noise noise(shape.seed);
    Biquad scuff = Biquad::bandPass(shape.scuffHz, 1.1);
    Biquad toeScuff = Biquad::bandPass(shape.scuffHz * 1.4, 1.3);
    Biquad grit = Biquad::highPass(3000, 0.7);
    double heelPhase = 0;
    double toePhase = 0;
    const double toeStart = shape.toeDelayMs / 1000;
    for (size_t n = 0; n < count; ++n) {
        double t = static_cast<double>(n) / kSampleRateHz;
        double white = noise.next();
        heelPhase += shape.heelHz * (1 + 0.8 * std::exp(-t / 0.01)) / kSampleRateHz;
        double heel = std::sin(2 * kPi * heelPhase) * std::exp(-t / 0.022) +
                      1.4 * scuff.process(white) * std::exp(-t / 0.03) +
                      0.15 * grit.process(white) * std::exp(-t / 0.006);
        double toe = 0;
        if (t >= toeStart) {
            double u = t - toeStart;
            toePhase += 1.3 * shape.heelHz / kSampleRateHz;
            toe = shape.toeLevel * (0.6 * std::sin(2 * kPi * toePhase) * std::exp(-u / 0.015) +
                                    1.2 * toeScuff.process(white) * std::exp(-u / 0.025));
        }
        double fadeIn = std::min(1.0, t / 0.0005);
        double fadeOut = std::min(1.0, static_cast<double>(count - n) / (0.008 * kSampleRateHz));
        signal[n] = (heel + toe) * fadeIn * fadeOut;
    }
    double peak = 0;
    for (double value : signal) {
        peak = std::max(peak, std::abs(value));
    }
    std::vector<int16_t> pcm(count);
    for (size_t n = 0; n < count; ++n) {
        pcm[n] = static_cast<int16_t>(std::lround(signal[n] / peak * 0.7 * 32767));
    }
    return pcm;
}

std::vector<uint8_t> wavFile(const std::vector<int16_t>& samples, int32_t sampleRateHz) {
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    ByteWriter out;
    out.text("RIFF", 4);
    out.u32(static_cast<uint32_t>(kWavHeaderBytes) - 8 + dataBytes);
    out.text("WAVE", 4);
    out.text("fmt ", 4);
    out.u32(16); // format chunk size
    out.u16(1);  // PCM
    out.u16(1);  // mono
    out.u32(static_cast<uint32_t>(sampleRateHz));
    out.u32(static_cast<uint32_t>(sampleRateHz) * 2); // bytes per second
    out.u16(2);                                       // bytes per frame
    out.u16(16);                                      // bits per sample
    out.text("data", 4);
    out.u32(dataBytes);
    for (int16_t value : samples) {
        out.u16(static_cast<uint16_t>(value));
    }
    return out.bytes;
}
