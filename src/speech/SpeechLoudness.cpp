#include "speech/SpeechLoudness.h"

#include <algorithm>
#include <cmath>

namespace ov {
namespace {

// Below this (about -80 dB of full scale) a recording is taken as silent.
constexpr double kSilentDb = 10.0;

double Percentile(std::vector<double> values, double p) {
    const size_t k = std::min(values.size() - 1, static_cast<size_t>(p * static_cast<double>(values.size())));
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(k), values.end());
    return values[k];
}

}  // namespace

std::vector<bool> SpeechFrames(const std::vector<int16_t>& samples) {
    const size_t frames = samples.size() / kFrameSamples;
    std::vector<double> db(frames);
    for (size_t f = 0; f < frames; ++f) {
        double sum = 0;
        for (size_t i = f * kFrameSamples; i < (f + 1) * kFrameSamples; ++i)
            sum += static_cast<double>(samples[i]) * samples[i];
        db[f] = 10.0 * std::log10(sum / kFrameSamples + 1.0);
    }
    std::vector<bool> speech(frames, false);
    if (frames == 0) return speech;
    const double background = Percentile(db, 0.1);
    const double loud = Percentile(db, 0.95);
    const double threshold = std::max({background + 6.0, background + 0.35 * (loud - background), kSilentDb});
    for (size_t f = 0; f < frames; ++f) speech[f] = db[f] > threshold;
    return speech;
}

}  // namespace ov
