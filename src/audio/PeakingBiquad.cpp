#include "audio/PeakingBiquad.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace ov {

BiquadCoefficients PeakingCoefficients(const BandSetting& band, float sampleRate) {
    BiquadCoefficients c;
    float nyquist = sampleRate / 2;
    if (band.gainDb == 0.0f || band.centreHz <= 0.0f || band.centreHz >= nyquist) return c;
    double a = std::pow(10.0, band.gainDb / 40.0);
    double w0 = 2 * std::numbers::pi * band.centreHz / sampleRate;
    double octaves = std::clamp(band.bandwidthSemitones, 0.1f, 36.0f) / 12.0;
    double alpha = std::sin(w0) * std::sinh(std::numbers::ln2 / 2 * octaves * w0 / std::sin(w0));
    double a0 = 1 + alpha / a;
    c.b0 = static_cast<float>((1 + alpha * a) / a0);
    c.b1 = static_cast<float>(-2 * std::cos(w0) / a0);
    c.b2 = static_cast<float>((1 - alpha * a) / a0);
    c.a1 = c.b1;
    c.a2 = static_cast<float>((1 - alpha / a) / a0);
    c.passThrough = false;
    return c;
}

void StereoBiquad::Process(float* frames, long count) {
    if (c_.passThrough) return;
    // State in locals: the compiler cannot keep members in registers across
    // stores through `frames`, and this loop runs for every band of every voice.
    const BiquadCoefficients c = c_;
    float l1 = z1_[0], l2 = z2_[0], r1 = z1_[1], r2 = z2_[1];
    for (long i = 0; i < count; ++i) {
        float xl = frames[2 * i];
        float xr = frames[2 * i + 1];
        float yl = c.b0 * xl + l1;
        float yr = c.b0 * xr + r1;
        l1 = c.b1 * xl - c.a1 * yl + l2;
        r1 = c.b1 * xr - c.a1 * yr + r2;
        l2 = c.b2 * xl - c.a2 * yl;
        r2 = c.b2 * xr - c.a2 * yr;
        frames[2 * i] = yl;
        frames[2 * i + 1] = yr;
    }
    z1_[0] = l1;
    z2_[0] = l2;
    z1_[1] = r1;
    z2_[1] = r2;
}

}  // namespace ov
