#pragma once

namespace ov {

// One band of the parametric equaliser: a peaking filter whose bandwidth is
// given in semitones, as the courseware's settings are.
struct BandSetting {
    float centreHz = 1000.0f;
    float bandwidthSemitones = 3.0f;
    float gainDb = 0.0f;
};

struct BiquadCoefficients {
    float b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    bool passThrough = true;
};

BiquadCoefficients PeakingCoefficients(const BandSetting& band, float sampleRate);

// Filter state for interleaved stereo; no allocation, safe on the device thread.
class StereoBiquad {
public:
    void SetCoefficients(const BiquadCoefficients& c) { c_ = c; }
    void Process(float* frames, long count);

private:
    BiquadCoefficients c_;
    float z1_[2] = {0, 0};
    float z2_[2] = {0, 0};
};

}  // namespace ov
